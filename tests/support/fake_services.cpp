#include "tests/support/fake_services.h"

#include <stdexcept>

namespace testing_support {

namespace {

// "YesNo Question", "Ok Error", "YesNo Question SecondDefault", "Ok".
std::string Name(platform::BoxStyle style) {
  std::string name = style.buttons == platform::BoxButtons::YesNo ? "YesNo" : "Ok";
  if (style.icon == platform::BoxIcon::Error) name += " Error";
  if (style.icon == platform::BoxIcon::Question) name += " Question";
  if (style.secondButtonIsDefault) name += " SecondDefault";
  return name;
}

std::string Name(platform::ShowCommand show) { return show == platform::ShowCommand::Hidden ? "Hidden" : "Normal"; }

}  // namespace

std::string FakeEnvironment::ModuleFileName() {
  // The manager runs from its folder, which therefore exists.
  if (const std::string folder = FakeFiles::ParentKey(FakeFiles::Key(exePath)); !folder.empty()) {
    files_.AddDirectory(folder);
  }
  return exePath;
}

std::string FakeEnvironment::EnvironmentVariable(const std::string& name) {
  const auto found = environment.find(name);
  return found == environment.end() ? std::string() : found->second;
}

namespace {

class FakeProcess final : public platform::RunningProcess {
 public:
  FakeProcess(CallLog& log, std::deque<platform::WaitResult>& results, std::uintptr_t id)
      : log_(log), results_(results), id_(std::to_string(id)) {}
  ~FakeProcess() override { log_.calls.push_back("CloseProcess " + id_); }
  platform::WaitResult Wait(std::uint32_t milliseconds) override {
    log_.calls.push_back("WaitForProcess " + id_ + " " + std::to_string(milliseconds));
    if (results_.empty()) return platform::WaitResult::Ended;
    const platform::WaitResult result = results_.front();
    results_.pop_front();
    return result;
  }

 private:
  CallLog& log_;
  std::deque<platform::WaitResult>& results_;
  std::string id_;
};

}  // namespace

platform::StartResult FakeProcesses::Start(const platform::StartRequest& request) {
  log_.calls.push_back("StartProgram " + request.file + " | " + request.parameters);
  lastStart = request;
  platform::StartResult result;
  result.started = startSucceeds;
  if (startSucceeds && startedProcess != 0) {
    result.process = std::make_unique<FakeProcess>(log_, waitResults, startedProcess);
  }
  return result;
}

bool FakeShellOpener::ShellOpen(platform::WindowHandle owner, const std::string& operation, const std::string& target,
                             const std::string& parameters, const std::string& directory, platform::ShowCommand show) {
  log_.calls.push_back("ShellOpen " + std::to_string(owner.value) + " [" + operation + "] [" + target + "] [" + parameters +
                  "] [" + directory + "] " + Name(show));
  return true;
}

namespace {

class RecordedModalSection final : public platform::ModalSection {
 public:
  explicit RecordedModalSection(std::vector<std::string>& calls) : calls_(calls) { calls_.push_back("BeginModal"); }
  ~RecordedModalSection() override { calls_.push_back("EndModal"); }
  void Leave() override { calls_.push_back("LeaveModal"); }

 private:
  std::vector<std::string>& calls_;
};

}  // namespace

std::unique_ptr<platform::ModalSection> FakeWindows::BeginModal() {
  return std::make_unique<RecordedModalSection>(log_.calls);
}

void FakeWindows::ProcessMessages() {
  log_.calls.push_back("ProcessMessages");
  if (onProcessMessages) onProcessMessages();
}

std::uint32_t FakeWindows::TickCount() {
  const std::uint32_t now = tick;
  tick += tickStep;
  return now;
}

void FakeWindows::Sleep(std::uint32_t milliseconds) { log_.calls.push_back("Sleep " + std::to_string(milliseconds)); }

platform::BoxAnswer FakeBoxes::SystemMessageBox(platform::WindowHandle owner, const std::string& text,
                                                   const std::string& caption, platform::BoxStyle style) {
  log_.calls.push_back("SystemMessageBox " + std::to_string(owner.value) + " " + caption + ": " + text + " /" + Name(style));
  if (messageBoxAnswers.empty()) return platform::BoxAnswer::No;
  const platform::BoxAnswer answer = messageBoxAnswers.front();
  messageBoxAnswers.pop_front();
  return answer;
}

platform::BoxAnswer FakeBoxes::ApplicationMessageBox(const std::string& text, const std::string& caption,
                                                        platform::BoxStyle style) {
  return SystemMessageBox(kApplicationWindow, text, caption, style);
}

void FakeBoxes::ShowMessageDialog(const std::string& text, const std::string& caption) {
  log_.calls.push_back("ShowMessageDialog " + caption + ": " + text);
}

bool FakeClipboard::SetClipboardText(const std::string& text) {
  log_.calls.push_back("SetClipboardText " + text);
  if (clipboardResult) clipboard = text;
  return clipboardResult;
}

platform::DownloadResult FakeDownloads::Download(const std::string& url, const std::string& path,
                                                platform::DownloadObserver& observer, platform::HeldFile& held) {
  log_.calls.push_back("Download " + url + " -> " + path);
  if (downloadThrows) throw std::runtime_error("download failed");
  if (whileDownloading) whileDownloading(observer);
  if (observer.CancelRequested()) return platform::DownloadResult::Cancelled;
  if (downloadResult == platform::DownloadResult::Downloaded) {
    if (downloadCreatesFile) files_.PutFile(path, downloadContent);
    held = platform::HeldFile(kHeldFile, *this);
  }
  return downloadResult;
}

// A copy plays its transfer like a download and copies in the files.
platform::DownloadResult FakeDownloads::Copy(const std::string& from, const std::string& path,
                                            platform::DownloadObserver& observer, platform::HeldFile& held) {
  log_.calls.push_back("Copy " + from + " -> " + path);
  if (whileDownloading) whileDownloading(observer);
  if (observer.CancelRequested()) return platform::DownloadResult::Cancelled;
  if (!files_.copyResult || !files_.HasFile(from) || !files_.ParentExists(path)) return platform::DownloadResult::Failed;
  files_.PutFile(path, files_.FileContent(from));
  held = platform::HeldFile(kHeldFile, *this);
  return platform::DownloadResult::Downloaded;
}

void FakeDownloads::RemoveLeftPartFiles(const std::string& folder) { log_.calls.push_back("RemoveLeftPartFiles " + folder); }

void FakeDownloads::ReleaseFile(platform::HeldFileHandle held) noexcept {
  log_.calls.push_back("ReleaseFile " + std::to_string(held.value));
}

}  // namespace testing_support
