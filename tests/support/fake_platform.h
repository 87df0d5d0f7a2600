// A scripted platform for unit tests: an in-memory file system with Windows
// path rules (letter case ignored), recorded calls and scripted answers.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace testing_support {

class FakePlatform : public platform::Platform {
 public:
  // Set-up.
  std::string exePath = "C:\\Tools\\vandrel.exe";
  std::string commandLine = "\"C:\\Tools\\vandrel.exe\"";
  std::string currentDirectory = "C:\\Work";
  void AddDirectory(const std::string& path);
  void AddFile(const std::string& path, const std::string& content = "");
  std::string FileContent(const std::string& path) const;
  bool HasFile(const std::string& path) const;
  std::set<std::string> unreadable;  // files that exist but cannot be read (lower case)
  std::set<std::string> unwritable;  // files that cannot be written (lower case)

  // What happened, one line a call, in order.
  std::vector<std::string> calls;
  int CallCount(const std::string& prefix) const;

  // Scripted answers.
  std::deque<platform::BoxAnswer> messageBoxAnswers;  // default: No
  std::function<void()> onProcessMessages;
  std::uint32_t tick = 0;
  std::uint32_t tickStep = 1;  // added on every TickCount
  bool shellExecuteResult = true;
  platform::ProcessHandle shellProcess{0x500};
  std::deque<platform::WaitResult> waitResults;  // default: the process ended
  bool copyResult = true;
  platform::DownloadResult downloadResult = platform::DownloadResult::Downloaded;
  std::function<void(platform::DownloadObserver&)> whileDownloading;  // plays the transfer's progress
  static constexpr platform::HeldFile kHeldFile{0x4E1D};               // what a download holds
  bool downloadThrows = false;
  std::string downloadContent = "downloaded";
  bool downloadCreatesFile = true;
  long mallocResult = 0;
  long folderLocationResult = 0;
  bool pathFromIdListResult = true;
  std::string folderPath = "C:\\users\\Public\\Desktop";
  std::map<std::string, std::string> profile;  // "file|section|key" -> value
  std::deque<long> mallocResults;  // per ShGetMalloc call, before mallocResult
  // Paths of item id list values; the list of a special folder gives its path
  // in `knownFolders` when it is there, else folderPath.
  std::map<std::uintptr_t, std::string> itemPaths;
  std::map<platform::SpecialFolder, std::string> knownFolders;
  std::set<std::string> uncreatable;  // directories MakeDirectory fails on (lower case)
  // Short names the file system knows: a path starting with a key (lower
  // case) has it replaced by the long name in LongPathName.
  std::map<std::string, std::string> longNames;
  std::map<std::string, std::string> environment;
  // Other spellings of a folder: a path starting with a key (lower case) is
  // the folder with the value in its place (another drive letter, a junction).
  std::map<std::string, std::string> folderAliases;
  std::vector<std::string> driveRoots = {"C:\\"};

  // The folder browser: it opens as `browseWindow`, tells the callback it is
  // initialised when `browseInitializes`, runs `whileBrowsing` and returns
  // `browseResult`. An error of the callback goes to `reportedErrors`, as the
  // real platform's barrier hands it to the error box.
  platform::WindowHandle browseWindow{0xB00};
  bool browseInitializes = true;
  std::function<void(platform::BrowseRecord&)> whileBrowsing;
  platform::ItemIdList browseResult;  // the chosen item id list; none: Cancel
  platform::BrowseRecord lastBrowse;
  std::vector<std::string> reportedErrors;
  // The old-style dialog: scripted by `directoryDialog` (default: Cancel).
  std::function<bool(platform::DirectoryDialogRecord&)> directoryDialog;
  platform::DirectoryDialogRecord lastDirectoryDialog;

  std::string ModuleFileName() override;
  std::string CommandLine() override;
  std::string CurrentDirectory() override;
  std::string EnvironmentVariable(const std::string& name) override;
  std::string LongPathName(const std::string& path) override;
  std::optional<platform::FolderIdentity> IdentityOf(const std::string& path) override;
  std::vector<std::string> Subfolders(const std::string& path) override;
  std::vector<std::string> DriveRoots() override { return driveRoots; }
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, const std::string& bytes) override;
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override;
  bool MakeDirectory(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                          const std::string& file) override;
  platform::WindowHandle ApplicationWindow() override { return platform::WindowHandle{0xA00}; }
  std::unique_ptr<platform::ModalSection> BeginModal() override;  // "BeginModal", "LeaveModal", "EndModal"
  platform::BoxAnswer SystemMessageBox(platform::WindowHandle owner, const std::string& text,
                                       const std::string& caption, platform::BoxStyle style) override;
  platform::BoxAnswer ApplicationMessageBox(const std::string& text, const std::string& caption,
                                            platform::BoxStyle style) override;
  void ShowMessageDialog(const std::string& text, const std::string& caption) override;
  void ProcessMessages() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  bool ShellExecuteExtended(platform::LaunchRequest& request) override;
  platform::WaitResult WaitForSingleObject(platform::ProcessHandle process, std::uint32_t milliseconds) override;
  void CloseHandle(platform::ProcessHandle process) override;
  platform::DownloadResult Download(const std::string& url, const std::string& path,
                                    platform::DownloadObserver& observer, platform::HeldFile& held) override;
  void ReleaseFile(platform::HeldFile held) override;
  long ShGetMalloc(platform::AllocatorHandle& allocator) override;
  long ShGetSpecialFolderLocation(platform::WindowHandle owner, platform::SpecialFolder folder,
                                  platform::ItemIdList& itemList) override;
  bool ShGetPathFromIdList(platform::ItemIdList itemList, std::string& path) override;
  void AllocatorFree(platform::AllocatorHandle allocator, platform::ItemIdList memory) override;
  void AllocatorRelease(platform::AllocatorHandle allocator) override;
  platform::ItemIdList ShBrowseForFolder(platform::BrowseRecord& record) override;
  void SelectInBrowser(platform::WindowHandle browser, const std::string& path) override;
  bool DirectoryDialog(platform::DirectoryDialogRecord& record) override;

  platform::LaunchRequest lastLaunch;
  std::string clipboard;            // CF_TEXT as SetClipboardText left it
  int deleteTreeResult = 0;         // what the shell says after deleting a tree (0: success)
  // Console text: every byte of `consoleMap`'s keys becomes its value; a
  // text with a byte of `consoleLacks` has no console form.
  std::map<char, char> consoleMap;
  std::set<char> consoleLacks;
  std::map<std::string, std::string> shortNames;  // ShortPathName: path (lower case) -> short form

  int ShellDeleteTree(const std::string& directory) override;
  std::optional<std::string> ToConsoleText(const std::string& text) override;
  std::string ShortPathName(const std::string& path) override;
  bool clipboardResult = true;

  bool ShellOpen(platform::WindowHandle owner, const std::string& operation, const std::string& target,
                 const std::string& parameters, const std::string& directory, platform::ShowCommand show) override;
  bool SetClipboardText(const std::string& text) override;

 private:
  static std::string Key(const std::string& path);
  static std::string FolderKey(std::string key);
  static std::string ParentKey(const std::string& key);
  bool FolderExists(const std::string& key) const;
  bool ParentExists(const std::string& path) const;
  std::map<std::string, std::string> files_;  // key: lower-case path
  std::set<std::string> directories_;
  std::optional<platform::SpecialFolder> located_;  // the folder whose list the shell handed out last
};

}  // namespace testing_support
