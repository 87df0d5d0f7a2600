// Every operating-system service the manager calls, behind one interface.
// The portable core talks only to this; platform/win32 implements it with the
// real Win32 calls, and the tests script it with a double that records calls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace platform {

// The launch record handed to the shell's extended execute (SHELLEXECUTEINFOA),
// as the manager fills it; fields in the platform's order.
struct LaunchRecord {
  std::uint32_t size = 60;
  std::uint32_t mask = 0x40;  // SEE_MASK_NOCLOSEPROCESS
  WindowHandle owner;
  std::string verb;  // empty: the file's default action
  std::string file;
  std::string parameters;
  std::string directory;  // empty: the started program inherits ours
  int show = 1;           // SW_SHOWNORMAL
  std::uintptr_t instanceResult = 0;
  ProcessHandle process;  // set by the shell
};

inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitTimeout = 258;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

// Launch record masks: return the process handle; no error box of the shell's
// own (the manager words every failure itself).
inline constexpr std::uint32_t kSeeMaskNoCloseProcess = 0x40;
inline constexpr std::uint32_t kSeeMaskFlagNoUi = 0x400;
inline constexpr int kSwShowNormal = 1;

inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr unsigned kMbOk = 0;
inline constexpr unsigned kMbYesNo = 4;
inline constexpr unsigned kMbIconError = 16;
inline constexpr unsigned kMbIconQuestion = 32;
inline constexpr unsigned kMbDefButton2 = 0x100;

inline constexpr int kCsidlCommonDesktopDirectory = 25;
inline constexpr int kSwHide = 0;

// Called by the shell's folder browser on the browser's thread: the browser
// window, the notification (BFFM_*), its parameter and the record's `data`.
// It returns what the shell expects (0) and lets no exception escape.
using BrowseCallback = std::function<int(WindowHandle window, unsigned message, std::intptr_t parameter,
                                         std::intptr_t data)>;

// The folder browser's record (BROWSEINFOA), as the core fills it.
struct BrowseRecord {
  WindowHandle owner;
  ItemIdList root;          // the root; none: the whole namespace
  std::string displayName;  // set by the shell: the chosen item's display name
  std::string title;        // the text line above the tree
  std::uint32_t flags = 0;  // BIF_*
  BrowseCallback callback;  // empty: none
  std::intptr_t data = 0;   // handed to the callback
  int image = 0;            // set by the shell: the chosen item's image index
};

// Our own old-style directory dialog: a directory field, the subdirectories
// of the directory shown and the drives. It opens on `directory` (empty: the
// current directory); when the user presses OK, `confirm` decides whether the
// dialog may close with the full path the user chose; it may ask the user
// (owned by the dialog window it is given) and create the directory.
inline constexpr const char* kDirectoryDialogCaption = "Select Directory";
struct DirectoryDialogRecord {
  WindowHandle owner;
  std::string directory;         // in: where to start; out: the confirmed directory
  std::int32_t helpContext = 0;  // 0: no Help button
  std::function<bool(WindowHandle dialog, const std::string& path)> confirm;  // empty: every path is taken
};

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

  // Deletes a directory with everything in it for good, through the shell's
  // file operation (SHFileOperationA, FO_DELETE, no owner, no undo, silent,
  // no confirmation; the shell reports its own errors). 0 when the shell
  // reported success and nothing was aborted.
  virtual int ShellDeleteTree(const std::string& directory) = 0;
  // The path of a shell folder (a CSIDL value) without creating it; empty
  // when the system has none.
  virtual std::string KnownFolder(int csidl) = 0;
  // Text of the Windows code page in the console's (OEM) code page, as the
  // command interpreter reads a batch file.
  virtual std::string ToConsoleText(const std::string& text) = 0;

  // The clipboard: replaces its contents with the text (CF_TEXT); false when
  // the clipboard could not be opened or filled. A clipboard that another
  // program holds is waited for, about half a second at most.
  virtual bool SetClipboardText(const std::string& text) = 0;

  // Windows and messages.
  virtual WindowHandle ApplicationWindow() = 0;
  virtual void EnableWindow(WindowHandle window, bool enable) = 0;
  // A system message box (MessageBoxA) owned by `owner`.
  virtual int SystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
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
  // ShellExecuteA: opens a page, a directory or a file with the shell. An
  // empty operation, parameters or directory is passed as none (NULL). The
  // result is the shell's instance value (above 32 on success).
  virtual std::uintptr_t ShellOpen(WindowHandle owner, const std::string& operation, const std::string& target,
                                   const std::string& parameters, const std::string& directory, int show) = 0;
  virtual std::uint32_t WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) = 0;
  virtual void CloseHandle(ProcessHandle process) = 0;

  // URL download service and its cache.
  virtual bool DeleteUrlCacheEntry(const std::string& url) = 0;
  virtual long UrlDownloadToFile(const std::string& url, const std::string& path) = 0;

  // Shell folders: the shell allocator, item id lists and their paths.
  virtual long ShGetMalloc(AllocatorHandle& allocator) = 0;
  virtual long ShGetSpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList& itemList) = 0;
  virtual bool ShGetPathFromIdList(ItemIdList itemList, std::string& path) = 0;
  virtual void AllocatorFree(AllocatorHandle allocator, ItemIdList memory) = 0;
  virtual void AllocatorRelease(AllocatorHandle allocator) = 0;

  // The shell's folder browser (SHBrowseForFolderA): the chosen item id list,
  // or none after Cancel.
  virtual ItemIdList ShBrowseForFolder(BrowseRecord& record) = 0;
  // SendMessageA with a text as lParam (such as BFFM_SETSELECTIONA).
  virtual std::intptr_t SendTextMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                        const std::string& text) = 0;
  // The old-style directory dialog, modal; true when the user confirmed.
  virtual bool DirectoryDialog(DirectoryDialogRecord& record) = 0;
};

}  // namespace platform
