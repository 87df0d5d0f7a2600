// Owners of the system's resources, each released once when its owner goes
// out of scope: kernel handles (files among them), WinHTTP handles, device
// contexts, GDI objects, icons, an object selected into a device context, an
// open clipboard and a folder search (with the one loop over what it finds). A
// file that needs one includes this header rather than writing its own
// deleter.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform::win32 {

// A kernel handle: a file, thread, process or event. Both nullptr and
// INVALID_HANDLE_VALUE (what CreateFile and ReOpenFile give on failure) are
// none, so a failed open needs no check before it is owned.
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE handle) noexcept : handle_(handle) {}
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~OwnedHandle() { reset(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  HANDLE get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  // Gives the handle up without closing it.
  HANDLE release() noexcept { return std::exchange(handle_, nullptr); }
  void reset(HANDLE handle = nullptr) noexcept {
    if (*this) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// A WinHTTP handle (session, connection, request), closed through WinHTTP
// as bound on first use (http_request.cpp).
struct InternetCloser {
  void operator()(void* handle) const noexcept;
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// A window's device context (GetDC; the screen's for no window).
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context (CreateCompatibleDC).
struct MemoryDCDeleter {
  void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
using MemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDCDeleter>;

// A pen, brush, bitmap or font: GdiObject<HBRUSH> brush(CreateSolidBrush(...)).
struct GdiDeleter {
  void operator()(void* object) const noexcept { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

// An icon made for the caller (LoadImage without LR_SHARED).
struct IconDeleter {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// An object selected into a device context; the one it replaced comes back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), before_(SelectObject(dc, object)) {}
  ~Selection() {
    if (before_ != nullptr) SelectObject(dc_, before_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ before_;
};

// The clipboard, opened by the caller (OpenClipboard succeeded): closed
// with its owner.
class OpenedClipboard {
 public:
  OpenedClipboard() = default;
  ~OpenedClipboard() { CloseClipboard(); }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
};

// What a folder search found: an entry's name, and whether it is a folder.
struct FoundEntry {
  std::string name;
  bool folder = false;
};

// Every entry that `pattern` (a folder and a name with wildcards) matches,
// without "." and ".."; none when nothing matches or the search fails.
inline std::vector<FoundEntry> FindEntries(const std::string& pattern) {
  std::vector<FoundEntry> entries;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  const struct Closer {
    HANDLE search;
    ~Closer() { FindClose(search); }
  } closer{search};
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  return entries;
}

}  // namespace platform::win32
