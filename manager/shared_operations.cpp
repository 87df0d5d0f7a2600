// The operations every action of the main window shares: questions, messages,
// starting programs, waiting for files, fetching files, shell folders.
#include <exception>
#include <memory>
#include <utility>

#include "manager/download_progress.h"
#include "manager/main_window.h"
#include "platform/path.h"

namespace manager {

namespace {

constexpr std::uint32_t kWaitSliceMs = 500;  // longest wait before messages are served again
constexpr std::int32_t kDownloadFileWaitMs = 1000;

bool Ask(platform::Boxes& boxes, bool sessionEnded, const std::string& question, platform::BoxStyle style) {
  if (sessionEnded) return false;  // nobody is there to answer
  return boxes.ApplicationMessageBox(question, ui::Application.Title, style) == platform::BoxAnswer::Yes;
}

}  // namespace

bool TForm1::AskYesNo(const std::string& question) {
  return Ask(os_.boxes, sessionEnded_, question, platform::kQuestionBox);
}

bool TForm1::AskYesNoDefaultNo(const std::string& question) {
  return Ask(os_.boxes, sessionEnded_, question, platform::kQuestionNoByDefault);
}

void TForm1::Inform(const std::string& message) {
  if (!sessionEnded_) os_.boxes.ShowMessageDialog(message, ui::Application.Title);
}

bool TForm1::RunProgram(const std::string& file, const std::string& arguments, platform::ShowCommand show, bool wait) {
  platform::StartRequest request;
  request.owner = os_.windows.ApplicationWindow();
  request.file = file;
  request.parameters = arguments;
  request.show = show;
  if (sessionEnded_) return false;  // the program is ending: nothing more starts

  // The application's windows take no input while a started program runs;
  // the process is let go and then the modal section ends however the wait
  // ends, a handler's error raised while messages are served included.
  const auto modal = os_.windows.BeginModal();
  const platform::StartResult started = os_.processes.Start(request);
  // The setup file was held from its download until here: it is the file that arrived.
  heldSetup_ = {};
  if (!started.started) return false;
  // The wait ends with the session too: the program then ends, and the
  // started program runs on by itself.
  if (wait && started.process) {
    platform::WaitResult result;
    do {
      result = started.process->Wait(kWaitSliceMs);
      os_.windows.ProcessMessages();
    } while (result == platform::WaitResult::TimedOut && !sessionEnded_);
  }
  return true;
}

bool TForm1::WaitForFile(const std::string& path, bool exists, std::int32_t limitMilliseconds) {
  const std::uint32_t start = os_.windows.TickCount();
  // Unsigned subtraction wraps with the counter; read signed, the elapsed time
  // stays right across a wrap.
  while (static_cast<std::int32_t>(os_.windows.TickCount() - start) < limitMilliseconds) {
    os_.windows.ProcessMessages();
    os_.windows.Sleep(0);
    if (!path.empty() && os_.files.FileExists(path) == exists) return true;
  }
  return false;
}

platform::DownloadResult TForm1::FetchFile(const std::string& url, const std::string& target, const std::string& name) {
  using platform::DownloadResult;
  const std::string local =
      platform::ExtractFilePath(os_.environment.ModuleFileName()) + platform::ExtractFileName(target);
  // A file beside the manager wins, and a failed copy does not fall back to
  // the server: the user put it there to be used.
  const bool besideManager = os_.files.FileExists(local);

  try {
    // The windows take no input while the file comes; the watch's window
    // shows its progress and can cancel it, and ends the section's disabling
    // before it goes. A copy is placed and held like a download.
    const auto modal = os_.windows.BeginModal();
    // A close put off before the fetch began ends it at once.
    fetchStop_ = {};
    if (closeRequested_) fetchStop_.RequestStop();
    DownloadWatch watch(*this, name.empty() ? platform::ExtractFileName(target) : name, fetchStop_, *modal);
    platform::HeldFile held;
    const DownloadResult result =
        besideManager ? os_.downloads.Copy(local, target, watch, held)
                      : os_.downloads.Download(url, target, watch, held);
    if (result != DownloadResult::Downloaded) return result;
    heldSetup_ = std::move(held);
    return WaitForFile(target, true, kDownloadFileWaitMs) ? DownloadResult::Downloaded : DownloadResult::Failed;
  } catch (...) {
    // The transfer's own failures come back as its result; an error on this
    // side (the watch's window, the queue served meanwhile) is told as a
    // failed fetch too.
    return DownloadResult::Failed;
  }
}

std::string GetSpecialFolder(platform::ShellFolders& shell, platform::Boxes& boxes, platform::WindowHandle owner,
                             platform::SpecialFolder folder) {
  platform::FolderPath found = shell.SpecialFolderPath(owner, folder);
  if (found.allocatorUnavailable) {
    boxes.SystemMessageBox(owner, "Couldn't get pointer to IMalloc interface.", "SHGetMalloc(pMalloc)",
                           platform::kErrorBox);
    return {};
  }
  return std::move(found.path);
}

}  // namespace manager
