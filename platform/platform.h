// Every operating-system service the manager calls, behind one interface.
// The portable core talks only to this; platform/win32 implements it with the
// real Win32 calls, and the tests script it with a double that records calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Window, process, allocator and item-id-list handles, opaque to the core.
using Handle = std::uintptr_t;

// The launch record handed to the shell's extended execute (SHELLEXECUTEINFOA),
// as the manager fills it; fields in the platform's order.
struct LaunchRecord {
  std::uint32_t size = 60;
  std::uint32_t mask = 0x40;  // SEE_MASK_NOCLOSEPROCESS
  Handle owner = 0;
  std::string verb;  // empty: the file's default action
  std::string file;
  std::string parameters;
  std::string directory;  // empty: the started program inherits ours
  int show = 1;           // SW_SHOWNORMAL
  Handle instanceResult = 0;
  Handle process = 0;  // set by the shell
};

inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitTimeout = 258;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr unsigned kMbOk = 0;
inline constexpr unsigned kMbYesNo = 4;
inline constexpr unsigned kMbIconError = 16;
inline constexpr unsigned kMbIconQuestion = 32;
inline constexpr unsigned kMbDefButton2 = 0x100;

inline constexpr int kCsidlCommonDesktopDirectory = 25;

class Platform {
 public:
  virtual ~Platform() = default;

  // The running process.
  virtual std::string ModuleFileName() = 0;  // full path of the manager's executable
  virtual std::string CommandLine() = 0;     // as the process received it, program name first
  virtual std::string CurrentDirectory() = 0;  // empty when it cannot be read

  // Files and directories. FileExists is false for a directory.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Creates or replaces the whole file; false when it cannot be written.
  virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
  virtual bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) = 0;
  virtual bool MakeDirectory(const std::string& path) = 0;  // one level
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool WriteProfileKey(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file) = 0;

  // Windows and messages.
  virtual Handle ApplicationWindow() = 0;
  virtual void EnableWindow(Handle window, bool enable) = 0;
  // A system message box (MessageBoxA) owned by `owner`.
  virtual int SystemMessageBox(Handle owner, const std::string& text, const std::string& caption,
                         unsigned style) = 0;
  // A system message box owned by the application's window; while it is shown
  // the application's other windows are disabled, afterwards they are enabled
  // again and the window active before is activated again.
  virtual int ApplicationMessageBox(const std::string& text, const std::string& caption,
                                    unsigned style) = 0;
  // The toolkit's modal message dialog: text, caption, one OK button, no icon,
  // centred on the screen.
  virtual void ShowMessageDialog(const std::string& text, const std::string& caption) = 0;
  // Serves every message waiting in the application's queue.
  virtual void ProcessMessages() = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;

  // Programs.
  virtual bool ShellExecuteExtended(LaunchRecord& record) = 0;
  virtual std::uint32_t WaitForSingleObject(Handle object, std::uint32_t milliseconds) = 0;
  virtual void CloseHandle(Handle object) = 0;

  // URL download service and its cache.
  virtual bool DeleteUrlCacheEntry(const std::string& url) = 0;
  virtual long UrlDownloadToFile(const std::string& url, const std::string& path) = 0;

  // Shell folders: the shell allocator, item id lists and their paths.
  virtual long ShGetMalloc(Handle& allocator) = 0;
  virtual long ShGetSpecialFolderLocation(Handle owner, int csidl, Handle& itemList) = 0;
  virtual bool ShGetPathFromIdList(Handle itemList, std::string& path) = 0;
  virtual void AllocatorFree(Handle allocator, Handle memory) = 0;
  virtual void AllocatorRelease(Handle allocator) = 0;
};

}  // namespace platform
