// The real platform: every service of platform/platform.h through Win32, in
// one object (its sources follow the services: win32_files.cpp,
// win32_environment.cpp, ...). Not final: a test may make one service fail.
#pragma once

#include "platform/platform.h"

namespace platform {

class Win32Platform : public Files,
                      public Environment,
                      public Processes,
                      public ShellOpener,
                      public WindowServices,
                      public Boxes,
                      public Downloads,
                      public Clipboard,
                      public ShellFolders {
 public:
  // All of them, for the windows.
  operator Platform() { return {*this, *this, *this, *this, *this, *this, *this, *this, *this}; }

  // Files (win32_files.cpp).
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  std::string LongPathName(const std::string& path) override;
  std::optional<FolderIdentity> IdentityOf(const std::string& path) override;
  std::vector<std::string> Subfolders(const std::string& path) override;
  std::vector<std::string> DriveRoots() override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, const std::string& bytes) override;
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override;
  bool MakeDirectory(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override;
  int ShellDeleteTree(const std::string& directory) override;
  std::optional<std::string> ToConsoleText(const std::string& text) override;
  std::string ShortPathName(const std::string& path) override;

  // Environment (win32_environment.cpp).
  std::string ModuleFileName() override;
  std::string CommandLine() override;
  std::string CurrentDirectory() override;
  std::string EnvironmentVariable(const std::string& name) override;

  // Processes (win32_processes.cpp) and ShellOpener (win32_shell_opener.cpp).
  StartResult Start(const StartRequest& request) override;
  bool ShellOpen(WindowHandle owner, const std::string& operation, const std::string& target,
                 const std::string& parameters, const std::string& directory, ShowCommand show) override;

  // WindowServices (win32_windows.cpp).
  WindowHandle ApplicationWindow() override;
  std::unique_ptr<ModalSection> BeginModal() override;
  void ProcessMessages() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;

  // Boxes (win32_boxes.cpp).
  BoxAnswer SystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                             BoxStyle style) override;
  BoxAnswer ApplicationMessageBox(const std::string& text, const std::string& caption, BoxStyle style) override;
  void ShowMessageDialog(const std::string& text, const std::string& caption) override;

  // Downloads (win32_downloads.cpp).
  DownloadResult Download(const std::string& url, const std::string& path, DownloadObserver& observer,
                          HeldFile& held) override;
  DownloadResult Copy(const std::string& from, const std::string& path, DownloadObserver& observer,
                      HeldFile& held) override;
  void ReleaseFile(HeldFileHandle held) noexcept override;
  void RemoveLeftPartFiles(const std::string& folder) override;

  // Clipboard (win32_clipboard.cpp).
  bool SetClipboardText(const std::string& text) override;

  // ShellFolders (win32_shell_folders.cpp).
  FolderPath SpecialFolderPath(WindowHandle owner, SpecialFolder folder) override;
  std::optional<std::string> BrowseForFolder(BrowseRequest& request) override;
  void SelectInBrowser(WindowHandle browser, const std::string& path) override;
  bool DirectoryDialog(DirectoryDialogRecord& record) override;
};

}  // namespace platform
