// Small doubles of the process, the programs it starts, the shell's opening,
// the windows, the boxes, the clipboard and the download: each records its
// calls in the log it is given and gives scripted answers. The ones that
// touch files share the scripted file system they are given.
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
#include "platform/environment.h"
#include "platform/processes.h"
#include "platform/shell_opener.h"
#include "platform/window_services.h"
#include "tests/support/call_log.h"
#include "tests/support/fake_files.h"

namespace testing_support {

// The manager's process; its folder exists in the files once asked for.
class FakeEnvironment : public platform::Environment {
 public:
  explicit FakeEnvironment(FakeFiles& files) : files_(files) {}

  std::string exePath = "C:\\Tools\\vandrel.exe";
  std::string commandLine = "\"C:\\Tools\\vandrel.exe\"";
  std::string currentDirectory = "C:\\Work";
  std::map<std::string, std::string> environment;

  std::string ModuleFileName() override;
  std::string CommandLine() override { return commandLine; }
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string EnvironmentVariable(const std::string& name) override;

 private:
  FakeFiles& files_;
};

// Started programs: "StartProgram <file> | <parameters>", then for the
// process it gives "WaitForProcess <id> <ms>" and, when it is let go,
// "CloseProcess <id>".
class FakeProcesses : public platform::Processes {
 public:
  explicit FakeProcesses(CallLog& log) : log_(log) {}

  bool startSucceeds = true;
  std::uintptr_t startedProcess = 0x500;  // 0: the shell gives no process
  std::deque<platform::WaitResult> waitResults;  // default: the process ended
  platform::StartRequest lastStart;

  platform::StartResult Start(const platform::StartRequest& request) override;

 private:
  CallLog& log_;
};

class FakeShellOpener : public platform::ShellOpener {
 public:
  explicit FakeShellOpener(CallLog& log) : log_(log) {}

  bool ShellOpen(platform::WindowHandle owner, const std::string& operation, const std::string& target,
                 const std::string& parameters, const std::string& directory, platform::ShowCommand show) override;

 private:
  CallLog& log_;
};

class FakeWindows : public platform::WindowServices {
 public:
  explicit FakeWindows(CallLog& log) : log_(log) {}

  std::function<void()> onProcessMessages;
  std::uint32_t tick = 0;
  std::uint32_t tickStep = 1;  // added on every TickCount

  platform::WindowHandle ApplicationWindow() override { return kApplicationWindow; }
  std::unique_ptr<platform::ModalSection> BeginModal() override;  // "BeginModal", "LeaveModal", "EndModal"
  void ProcessMessages() override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;

 private:
  CallLog& log_;
};

class FakeBoxes : public platform::Boxes {
 public:
  explicit FakeBoxes(CallLog& log) : log_(log) {}

  std::deque<platform::BoxAnswer> messageBoxAnswers;  // default: No

  platform::BoxAnswer SystemMessageBox(platform::WindowHandle owner, const std::string& text,
                                       const std::string& caption, platform::BoxStyle style) override;
  platform::BoxAnswer ApplicationMessageBox(const std::string& text, const std::string& caption,
                                            platform::BoxStyle style) override;
  void ShowMessageDialog(const std::string& text, const std::string& caption) override;

 private:
  CallLog& log_;
};

class FakeClipboard : public platform::Clipboard {
 public:
  explicit FakeClipboard(CallLog& log) : log_(log) {}

  std::string clipboard;  // CF_TEXT as SetClipboardText left it
  bool clipboardResult = true;

  bool SetClipboardText(const std::string& text) override;

 private:
  CallLog& log_;
};

// A download that plays its transfer and places its file in the files.
class FakeDownloads : public platform::Downloads {
 public:
  FakeDownloads(CallLog& log, FakeFiles& files) : log_(log), files_(files) {}

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

 private:
  CallLog& log_;
  FakeFiles& files_;
};

}  // namespace testing_support
