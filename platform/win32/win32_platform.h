// The real platform: every service of platform::Platform through Win32. Not
// final: a test may make one service fail.
#pragma once

#include "platform/platform.h"

namespace platform {

class Win32Platform : public Platform {
 public:
  std::string ModuleFileName() override;
  std::string CommandLine() override;
  std::string CurrentDirectory() override;
  std::string EnvironmentVariable(const std::string& name) override;
  std::string LongPathName(const std::string& path) override;
  std::optional<FolderIdentity> IdentityOf(const std::string& path) override;
  std::vector<std::string> Subfolders(const std::string& path) override;
  std::vector<std::string> DriveRoots() override;

  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, const std::string& bytes) override;
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override;
  bool MakeDirectory(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                          const std::string& file) override;

  bool SetClipboardText(const std::string& text) override;
  int ShellDeleteTree(const std::string& directory) override;
  std::optional<std::string> ToConsoleText(const std::string& text) override;
  std::string ShortPathName(const std::string& path) override;

  WindowHandle ApplicationWindow() override;
  std::unique_ptr<ModalSection> BeginModal() override;
  BoxAnswer SystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                             BoxStyle style) override;
  BoxAnswer ApplicationMessageBox(const std::string& text, const std::string& caption, BoxStyle style) override;
  void ShowMessageDialog(const std::string& text, const std::string& caption) override;
  void ProcessMessages() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;

  bool ShellExecuteExtended(LaunchRequest& request) override;
  bool ShellOpen(WindowHandle owner, const std::string& operation, const std::string& target,
                 const std::string& parameters, const std::string& directory, ShowCommand show) override;
  WaitResult WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) override;
  void CloseHandle(ProcessHandle process) override;

  DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                          HeldFile& held) override;
  DownloadResult Copy(const std::string& from, const std::string& path, DownloadObserver& observer,
                      HeldFile& held) override;
  void ReleaseFile(HeldFileHandle held) noexcept override;
  void RemoveLeftPartFiles(const std::string& folder) override;

  long ShGetMalloc(AllocatorHandle& allocator) override;
  long ShGetSpecialFolderLocation(WindowHandle owner, SpecialFolder folder, ItemIdList& itemList) override;
  bool ShGetPathFromIdList(ItemIdList itemList, std::string& path) override;
  void AllocatorFree(AllocatorHandle allocator, ItemIdList memory) override;
  void AllocatorRelease(AllocatorHandle allocator) override;

  ItemIdList ShBrowseForFolder(BrowseRecord& record) override;
  void SelectInBrowser(WindowHandle browser, const std::string& path) override;
  bool DirectoryDialog(DirectoryDialogRecord& record) override;
};

}  // namespace platform
