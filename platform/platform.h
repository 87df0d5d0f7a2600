// Every operating-system service the manager calls, behind one interface.
// The portable core talks only to this and names what it means (a folder
// kind, a box style, a browser event); platform/win32 implements it with the
// real Win32 calls and the system's numbers, and the tests script it with a
// double that records calls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/download_rules.h"
#include "platform/handles.h"

namespace platform {

// How a started program's window shows.
enum class ShowCommand : std::uint8_t { Normal, Hidden };

// A program or document for the shell to start, and what the shell gives back.
struct LaunchRequest {
  WindowHandle owner;
  std::string file;
  std::string parameters;  // empty: none
  ShowCommand show = ShowCommand::Normal;
  // The shell hands back the started process, when it starts one.
  bool returnProcess = false;
  // The shell shows no error box of its own: the caller words every failure.
  bool silent = false;
  ProcessHandle process;  // set by the shell
};

// How the wait for a process ended.
enum class WaitResult : std::uint8_t { Ended, TimedOut, Failed };

// A system message box's buttons, icon and default button, and the answer.
enum class BoxButtons : std::uint8_t { Ok, YesNo };
enum class BoxIcon : std::uint8_t { None, Error, Question };
struct BoxStyle {
  BoxButtons buttons = BoxButtons::Ok;
  BoxIcon icon = BoxIcon::None;
  bool secondButtonIsDefault = false;  // else the first
};
enum class BoxAnswer : std::uint8_t { None, Ok, Yes, No };  // None: the box could not be shown
inline constexpr BoxStyle kErrorBox{.buttons = BoxButtons::Ok, .icon = BoxIcon::Error};
inline constexpr BoxStyle kQuestionBox{.buttons = BoxButtons::YesNo, .icon = BoxIcon::Question};

// The shell's special folders that the program asks for; platform/win32
// knows the shell's number of each.
enum class SpecialFolder : std::uint8_t {
  NamespaceRoot,     // the root of the shell's namespace (its path is the desktop's)
  Drives,            // the computer with its drives; no file-system path
  UserDesktop,       // the user's desktop folder
  CommonDesktop,     // the desktop folder all users share
  Documents,
  CommonDocuments,
  Programs,          // the start menu's programs
  StartMenu,
  Startup,
  Recent,
  SendTo,
  Templates,
  Fonts,
  NetworkShortcuts,  // the network neighbourhood's file folder
  Windows,
  System,
  SystemX86,
  ProgramFiles,
  ProgramFilesX86,
  CommonFiles,
  CommonFilesX86,
  Users,             // the folder that holds the users' profiles
  Profile,           // the user's profile
  AppData,           // application data that roams with the user
  LocalAppData,
  CommonAppData,
  // More of the user's folders, and of the folders all users share.
  Music,
  Pictures,
  Videos,
  Favorites,
  Downloads,
  Links,
  SavedGames,
  Contacts,
  Searches,
  OneDrive,
  LocalLowAppData,
  Public,
  CommonMusic,
  CommonPictures,
  CommonVideos,
  CommonDownloads,
  CommonStartMenu,
  CommonPrograms,
  CommonStartup,
  CommonTemplates,
  CommonFavorites,
};

// A folder as the file system knows it, however its path is spelt (another
// drive letter, a share, a short name, a junction): its volume and its index
// there. A volume of 0 is one the system could not name (Wine gives it at
// times), and matches any.
struct FolderIdentity {
  std::uint32_t volume = 0;
  std::uint64_t index = 0;
};
inline bool SameFolder(FolderIdentity a, FolderIdentity b) {
  return a.index == b.index && (a.volume == b.volume || a.volume == 0 || b.volume == 0);
}

// What the shell's folder browser tells its caller while it is open.
enum class BrowserEvent : std::uint8_t {
  Initialized,  // the browser's window exists: a selection may be set now
  SelectionChanged,
  Other,
};

// Called by the folder browser on the browser's thread, with its window. An
// error it raises goes to the application's error box, and the browser goes on.
using BrowseCallback = std::function<void(WindowHandle browser, BrowserEvent event)>;

// The folder browser's record (BROWSEINFOA), as the core fills it.
struct BrowseRecord {
  WindowHandle owner;
  ItemIdList root;          // the root; none: the whole namespace
  std::string displayName;  // set by the shell: the chosen item's display name
  std::string title;        // the text line above the tree
  BrowseCallback callback;  // empty: none
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

// A modal section (platform/win32/modal_section.h): while it lives the
// application's other windows take no input; when it ends they take input
// again and the window that was active before is active again.
class ModalSection {
 public:
  virtual ~ModalSection() = default;  // leaves it, if that was not done yet
  // Ends it while the window that stood modal is still shown: the windows take
  // input again and the one active before takes the activation back, so the
  // modal window no longer has it when it hides.
  virtual void Leave() = 0;
};

// What a running download tells its caller and asks it, on the caller's
// thread, a few times a second while the transfer runs.
class DownloadObserver {
 public:
  // `held` bytes of the file have arrived, of `total` (0 while not known);
  // `elapsedMs` since the download began.
  virtual void Progress(std::uint64_t held, std::uint64_t total, std::uint32_t elapsedMs) = 0;
  // True ends the download as cancelled.
  virtual bool CancelRequested() = 0;

 protected:
  ~DownloadObserver() = default;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The running process.
  virtual std::string ModuleFileName() = 0;  // full path of the manager's executable
  virtual std::string CommandLine() = 0;     // as the process received it, program name first
  virtual std::string CurrentDirectory() = 0;  // empty when it cannot be read
  // A variable of the process's environment; empty when it is not set.
  virtual std::string EnvironmentVariable(const std::string& name) = 0;

  // Files and directories. FileExists is false for a directory.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // The path as the file system names it: full, with every short (8.3) part
  // in its long form; as far as it exists, the rest as given.
  virtual std::string LongPathName(const std::string& path) = 0;
  // The identity of an existing folder; nothing when it cannot be opened.
  virtual std::optional<FolderIdentity> IdentityOf(const std::string& path) = 0;
  // The folders directly inside `path`, as full paths.
  virtual std::vector<std::string> Subfolders(const std::string& path) = 0;
  // The root of every drive letter in use: "C:\", "D:\"...
  virtual std::vector<std::string> DriveRoots() = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Creates or replaces the whole file, or leaves it as it was: false when it
  // cannot be written.
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
  // Text of the Windows code page in the console's (OEM) code page, as the
  // command interpreter reads a batch file; nothing when a character has no
  // form of its own there (it would come out as another one, "?" at worst).
  virtual std::optional<std::string> ToConsoleText(const std::string& text) = 0;
  // The short (8.3) form of an existing path; empty when it has none.
  virtual std::string ShortPathName(const std::string& path) = 0;

  // The clipboard: replaces its contents with the text (CF_TEXT); false when
  // the clipboard could not be opened or filled. A clipboard that another
  // program holds is waited for, about half a second at most.
  virtual bool SetClipboardText(const std::string& text) = 0;

  // Windows and messages.
  virtual WindowHandle ApplicationWindow() = 0;
  // Begins a modal section: the application's windows that take input now
  // take none until it ends (an action that waits on another program or a
  // download).
  virtual std::unique_ptr<ModalSection> BeginModal() = 0;
  // A system message box (MessageBoxA) owned by `owner`; a box meant for the
  // application window (or for none) belongs to the active window instead.
  // Modal like the next one.
  virtual BoxAnswer SystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                     BoxStyle style) = 0;
  // A system message box owned by the application's active window; while it
  // is shown the application's other windows are disabled, afterwards they
  // are enabled again and the window active before is active again.
  virtual BoxAnswer ApplicationMessageBox(const std::string& text, const std::string& caption, BoxStyle style) = 0;
  // The toolkit's modal message dialog: text, caption, one OK button, no icon,
  // centred on the screen.
  virtual void ShowMessageDialog(const std::string& text, const std::string& caption) = 0;
  // Serves every message waiting in the application's queue.
  virtual void ProcessMessages() = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;

  // Programs.
  virtual bool ShellExecuteExtended(LaunchRequest& request) = 0;
  // ShellExecuteA: opens a page, a directory or a file with the shell. An
  // empty operation, parameters or directory is passed as none (NULL). True
  // when the shell took it.
  virtual bool ShellOpen(WindowHandle owner, const std::string& operation, const std::string& target,
                         const std::string& parameters, const std::string& directory, ShowCommand show) = 0;
  virtual WaitResult WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) = 0;
  virtual void CloseHandle(ProcessHandle process) = 0;

  // Downloads `url` (http or https) into the file `path` while serving the
  // application's message queue (platform/win32/download.h has the rules).
  // Only a file proven whole is placed at `path`; it is then held open,
  // readable but not to be changed, replaced or deleted by anyone, until
  // ReleaseFile. After a failure or a cancel `path` is as it was.
  virtual DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                                  HeldFile& held) = 0;
  virtual void ReleaseFile(HeldFile held) = 0;

  // Shell folders: the shell allocator, item id lists and their paths
  // (platform/shell_folders.h puts them together).
  virtual long ShGetMalloc(AllocatorHandle& allocator) = 0;
  virtual long ShGetSpecialFolderLocation(WindowHandle owner, SpecialFolder folder, ItemIdList& itemList) = 0;
  virtual bool ShGetPathFromIdList(ItemIdList itemList, std::string& path) = 0;
  virtual void AllocatorFree(AllocatorHandle allocator, ItemIdList memory) = 0;
  virtual void AllocatorRelease(AllocatorHandle allocator) = 0;

  // The shell's folder browser (SHBrowseForFolderA): the chosen item id list,
  // or none after Cancel.
  virtual ItemIdList ShBrowseForFolder(BrowseRecord& record) = 0;
  // Moves the open browser's selection to a path.
  virtual void SelectInBrowser(WindowHandle browser, const std::string& path) = 0;
  // The old-style directory dialog, modal; true when the user confirmed.
  virtual bool DirectoryDialog(DirectoryDialogRecord& record) = 0;
};

}  // namespace platform
