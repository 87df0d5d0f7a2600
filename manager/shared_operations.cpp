// The operations every action of the main window shares: questions, messages,
// starting programs, waiting for files, fetching files, shell folders.
#include <exception>
#include <memory>

#include "manager/download_progress.h"
#include "manager/main_window.h"
#include "platform/path.h"
#include "platform/shell_folders.h"

namespace manager {

namespace {

constexpr std::uint32_t kWaitSliceMs = 500;  // longest wait before messages are served again
constexpr std::int32_t kDownloadFileWaitMs = 1000;

// The application's windows take no input while a started program runs; the
// process's handle is closed and the modal section ends however the wait
// ends, a handler's error raised while messages are served included.
class LaunchScope {
 public:
  explicit LaunchScope(platform::Platform& os) : os_(os), modal_(os.BeginModal()) {}
  ~LaunchScope() {
    if (process) os_.CloseHandle(process);
  }
  LaunchScope(const LaunchScope&) = delete;
  LaunchScope& operator=(const LaunchScope&) = delete;

  platform::ProcessHandle process;

 private:
  platform::Platform& os_;
  std::unique_ptr<platform::ModalSection> modal_;  // ends after the handle is closed
};

}  // namespace

namespace {

bool Ask(platform::Platform& os, bool sessionEnded, const std::string& question, platform::BoxStyle style) {
  if (sessionEnded) return false;  // nobody is there to answer
  return os.ApplicationMessageBox(question, ui::Application.Title, style) == platform::BoxAnswer::Yes;
}

}  // namespace

bool TForm1::AskYesNo(const std::string& question) {
  return Ask(os_, sessionEnded_, question, platform::kQuestionBox);
}

bool TForm1::AskYesNoDefaultNo(const std::string& question) {
  return Ask(os_, sessionEnded_, question, platform::kQuestionNoByDefault);
}

void TForm1::Inform(const std::string& message) {
  if (!sessionEnded_) os_.ShowMessageDialog(message, ui::Application.Title);
}

bool TForm1::RunProgram(const std::string& file, const std::string& arguments, platform::ShowCommand show, bool wait) {
  platform::LaunchRequest request;
  request.owner = os_.ApplicationWindow();
  request.file = file;
  request.parameters = arguments;
  request.show = show;
  request.returnProcess = true;
  request.silent = true;
  if (sessionEnded_) return false;  // the program is ending: nothing more starts

  LaunchScope scope(os_);
  const bool started = os_.ShellExecuteExtended(request);
  // The setup file was held from its download until here: it is the file that arrived.
  heldSetup_ = {};
  if (!started) return false;
  // The shell may hand the file to a process that already runs and give no
  // handle: then there is nothing to wait on.
  scope.process = request.process;
  // The wait ends with the session too: the program then ends, and the
  // started program runs on by itself.
  if (wait && scope.process) {
    platform::WaitResult result;
    do {
      result = os_.WaitForSingleObject(scope.process, kWaitSliceMs);
      os_.ProcessMessages();
    } while (result == platform::WaitResult::TimedOut && !sessionEnded_);
  }
  return true;
}

bool TForm1::WaitForFile(const std::string& path, bool exists, std::int32_t limitMilliseconds) {
  const std::uint32_t start = os_.TickCount();
  // Unsigned subtraction wraps with the counter; read signed, the elapsed time
  // stays right across a wrap.
  while (static_cast<std::int32_t>(os_.TickCount() - start) < limitMilliseconds) {
    os_.ProcessMessages();
    os_.Sleep(0);
    if (!path.empty() && os_.FileExists(path) == exists) return true;
  }
  return false;
}

platform::DownloadResult TForm1::FetchFile(const std::string& url, const std::string& target, const std::string& name) {
  using platform::DownloadResult;
  const std::string local = platform::ExtractFilePath(os_.ModuleFileName()) + platform::ExtractFileName(target);
  // A file beside the manager wins, and a failed copy does not fall back to
  // the server: the user put it there to be used.
  const bool besideManager = os_.FileExists(local);

  // The windows take no input while the file comes; the watch's window
  // shows its progress and can cancel it, and ends the section's disabling
  // before it goes. A copy is placed and held like a download.
  const auto modal = os_.BeginModal();
  // A close put off before the fetch began ends it at once.
  fetchStop_ = {};
  if (closeRequested_) fetchStop_.RequestStop();
  DownloadWatch watch(*this, name.empty() ? platform::ExtractFileName(target) : name, fetchStop_, *modal);
  platform::HeldFile held;
  const DownloadResult result =
      besideManager ? os_.Copy(local, target, watch, held) : os_.Download(url, target, watch, held);
  if (result != DownloadResult::Downloaded) return result;
  heldSetup_ = std::move(held);
  try {
    return WaitForFile(target, true, kDownloadFileWaitMs) ? DownloadResult::Downloaded : DownloadResult::Failed;
  } catch (...) {
    return DownloadResult::Failed;  // an error while the queue was served: told as a failed fetch
  }
}

std::string GetSpecialFolder(platform::Platform& os, platform::WindowHandle owner, platform::SpecialFolder folder) {
  platform::ShellAllocator allocator(os);
  if (allocator.Result() != 0) {
    os.SystemMessageBox(owner, "Couldn't get pointer to IMalloc interface.", "SHGetMalloc(pMalloc)",
                        platform::kErrorBox);
    return {};
  }
  return platform::SpecialFolderPath(os, allocator, owner, folder);
}

}  // namespace manager
