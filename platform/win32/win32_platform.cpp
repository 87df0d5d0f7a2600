#include "platform/win32/win32_platform.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <urlmon.h>
#include <wininet.h>
// clang-format on

#include <memory>
#include <vector>

#include "ui/win32/form_window.h"

namespace platform {

namespace {

HWND AsWindow(Handle handle) { return reinterpret_cast<HWND>(handle); }

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// A file handle closed when it goes out of scope.
struct FileHandle {
  explicit FileHandle(HANDLE h) : handle(h) {}
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE handle;
};

}  // namespace

std::string Win32Platform::ModuleFileName() {
  std::vector<char> buffer(MAX_PATH);
  while (true) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32Platform::CommandLine() { return GetCommandLineA(); }

std::string Win32Platform::CurrentDirectory() {
  char buffer[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(buffer, length);
}

bool Win32Platform::FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Platform::DirectoryExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::string> Win32Platform::ReadFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(file.handle, chunk, sizeof chunk, &read, nullptr)) {
    if (read == 0) return content;
    content.append(chunk, read);
  }
  return std::nullopt;
}

bool Win32Platform::WriteFile(const std::string& path, const std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  if (!bytes.empty() &&
      (!::WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size())) {
    return false;
  }
  return true;
}

bool Win32Platform::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
  return ::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32Platform::MakeDirectory(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32Platform::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool Win32Platform::WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                                       const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

Handle Win32Platform::ApplicationWindow() { return reinterpret_cast<Handle>(ui::win32::ApplicationWindow()); }

void Win32Platform::EnableWindow(Handle window, bool enable) { ::EnableWindow(AsWindow(window), enable ? TRUE : FALSE); }

int Win32Platform::SystemMessageBox(Handle owner, const std::string& text, const std::string& caption, unsigned style) {
  return MessageBoxA(AsWindow(owner), text.c_str(), caption.c_str(), style);
}

int Win32Platform::ApplicationMessageBox(const std::string& text, const std::string& caption, unsigned style) {
  // The box's owner is the hidden application window, so the visible windows
  // of the application are disabled here and enabled again afterwards.
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM list) -> BOOL {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  HWND active = GetActiveWindow();
  for (HWND window : disabled) ::EnableWindow(window, FALSE);
  const int answer = MessageBoxA(ui::win32::ApplicationWindow(), text.c_str(), caption.c_str(), style);
  for (HWND window : disabled) ::EnableWindow(window, TRUE);
  if (active != nullptr && IsWindow(active)) SetActiveWindow(active);
  return answer;
}

void Win32Platform::ShowMessageDialog(const std::string& text, const std::string& caption) {
  ApplicationMessageBox(text, caption, MB_OK);
}

void Win32Platform::ProcessMessages() { ui::win32::ProcessMessages(); }

std::uint32_t Win32Platform::TickCount() { return GetTickCount(); }

void Win32Platform::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

bool Win32Platform::ShellExecuteExtended(LaunchRecord& record) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = record.mask;
  info.hwnd = AsWindow(record.owner);
  info.lpVerb = record.verb.empty() ? nullptr : record.verb.c_str();
  info.lpFile = record.file.c_str();
  info.lpParameters = record.parameters.c_str();
  info.lpDirectory = record.directory.empty() ? nullptr : record.directory.c_str();
  info.nShow = record.show;
  info.hInstApp = nullptr;
  const bool started = ShellExecuteExA(&info) != FALSE;
  record.instanceResult = reinterpret_cast<Handle>(info.hInstApp);
  record.process = reinterpret_cast<Handle>(info.hProcess);
  return started;
}

std::uint32_t Win32Platform::WaitForSingleObject(Handle object, std::uint32_t milliseconds) {
  return ::WaitForSingleObject(reinterpret_cast<HANDLE>(object), milliseconds);
}

void Win32Platform::CloseHandle(Handle object) { ::CloseHandle(reinterpret_cast<HANDLE>(object)); }

bool Win32Platform::DeleteUrlCacheEntry(const std::string& url) { return DeleteUrlCacheEntryA(url.c_str()) != FALSE; }

long Win32Platform::UrlDownloadToFile(const std::string& url, const std::string& path) {
  return URLDownloadToFileA(nullptr, url.c_str(), path.c_str(), 0, nullptr);
}

long Win32Platform::ShGetMalloc(Handle& allocator) {
  IMalloc* malloc = nullptr;
  const HRESULT result = SHGetMalloc(&malloc);
  allocator = reinterpret_cast<Handle>(malloc);
  return result;
}

long Win32Platform::ShGetSpecialFolderLocation(Handle owner, int csidl, Handle& itemList) {
  LPITEMIDLIST list = nullptr;
  const HRESULT result = SHGetSpecialFolderLocation(AsWindow(owner), csidl, &list);
  itemList = reinterpret_cast<Handle>(list);
  return result;
}

bool Win32Platform::ShGetPathFromIdList(Handle itemList, std::string& path) {
  const auto buffer = std::make_unique<char[]>(MAX_PATH);
  buffer[0] = '\0';
  const bool converted =
      SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(itemList), buffer.get()) != FALSE;
  path = buffer.get();
  return converted;
}

void Win32Platform::AllocatorFree(Handle allocator, Handle memory) {
  reinterpret_cast<IMalloc*>(allocator)->Free(reinterpret_cast<void*>(memory));
}

void Win32Platform::AllocatorRelease(Handle allocator) { reinterpret_cast<IMalloc*>(allocator)->Release(); }

}  // namespace platform
