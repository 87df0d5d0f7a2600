// Small doubles of the process, the windows, the boxes, the clipboard and
// the download: each records its calls and gives scripted answers.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/boxes.h"
#include "platform/clipboard.h"
#include "platform/downloads.h"
#include "platform/processes.h"
#include "platform/window_services.h"
#include "tests/support/fake_files.h"

namespace testing_support {

// The manager's process; its folder exists in the files once asked for.
class FakeProcesses : public virtual FakeFiles, public virtual platform::Processes {
 public:
  std::string exePath = "C:\\Tools\\vandrel.exe";
  std::string commandLine = "\"C:\\Tools\\vandrel.exe\"";
  std::string currentDirectory = "C:\\Work";
  std::map<std::string, std::string> environment;
  bool shellExecuteResult = true;
  platform::ProcessHandle shellProcess{0x500};
  std::deque<platform::WaitResult> waitResults;  // default: the process ended
  platform::LaunchRequest lastLaunch;

  std::string ModuleFileName() override;
  std::string CommandLine() override;
  std::string CurrentDirectory() override;
  std::string EnvironmentVariable(const std::string& name) override;
  bool ShellExecuteExtended(platform::LaunchRequest& request) override;
  bool ShellOpen(platform::WindowHandle owner, const std::string& operation, const std::string& target,
                 const std::string& parameters, const std::string& directory, platform::ShowCommand show) override;
  platform::WaitResult WaitForSingleObject(platform::ProcessHandle process, std::uint32_t milliseconds) override;
  void CloseHandle(platform::ProcessHandle process) override;
};

class FakeWindows : public virtual CallLog, public virtual platform::Windows {
 public:
  std::function<void()> onProcessMessages;
  std::uint32_t tick = 0;
  std::uint32_t tickStep = 1;  // added on every TickCount

  platform::WindowHandle ApplicationWindow() override { return kApplicationWindow; }
  std::unique_ptr<platform::ModalSection> BeginModal() override;  // "BeginModal", "LeaveModal", "EndModal"
  void ProcessMessages() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
};

class FakeBoxes : public virtual CallLog, public virtual platform::Boxes {
 public:
  std::deque<platform::BoxAnswer> messageBoxAnswers;  // default: No

  platform::BoxAnswer SystemMessageBox(platform::WindowHandle owner, const std::string& text,
                                       const std::string& caption, platform::BoxStyle style) override;
  platform::BoxAnswer ApplicationMessageBox(const std::string& text, const std::string& caption,
                                            platform::BoxStyle style) override;
  void ShowMessageDialog(const std::string& text, const std::string& caption) override;
};

class FakeClipboard : public virtual CallLog, public virtual platform::Clipboard {
 public:
  std::string clipboard;  // CF_TEXT as SetClipboardText left it
  bool clipboardResult = true;

  bool SetClipboardText(const std::string& text) override;
};

// A download that plays its transfer and places its file in the files.
class FakeDownloads : public virtual FakeFiles, public virtual platform::Downloads {
 public:
  platform::DownloadResult downloadResult = platform::DownloadResult::Downloaded;
  std::function<void(platform::DownloadObserver&)> whileDownloading;  // plays the transfer's progress
  static constexpr platform::HeldFileHandle kHeldFile{0x4E1D};         // what a download holds
  bool downloadThrows = false;
  std::string downloadContent = "downloaded";
  bool downloadCreatesFile = true;

  platform::DownloadResult Download(const std::string& url, const std::string& path,
                                    platform::DownloadObserver& observer, platform::HeldFile& held) override;
  platform::DownloadResult Copy(const std::string& from, const std::string& path,
                                platform::DownloadObserver& observer, platform::HeldFile& held) override;
  void ReleaseFile(platform::HeldFileHandle held) noexcept override;
  void RemoveLeftPartFiles(const std::string& folder) override;
};

}  // namespace testing_support
