// Closing the main window: the fetched installers go, the directory list is
// saved (unless the manager removes itself), the file named on the command
// line goes, and a self-removal leaves a batch file behind that deletes the
// manager's files once it has ended. A list or batch file that cannot be
// written keeps the window open once; after that the user may close without.
#include <stdexcept>

#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "manager/main_window.h"
#include "platform/path.h"

namespace manager {

namespace {

// A path as the command interpreter must read it in a batch file: in the
// console's code page, each "%" doubled (a single one starts a variable,
// also inside quotes).
std::string BatchPath(platform::Platform& os, const std::string& path) {
  std::string escaped;
  for (char c : os.ToConsoleText(path)) {
    escaped += c;
    if (c == '%') escaped += '%';
  }
  return "\"" + escaped + "\"";
}

constexpr const char* kCloseWithoutSaving = "The directory list cannot be saved. Close without saving it ?";
constexpr const char* kCloseWithoutRemoving = "The manager cannot remove itself. Close without removing it ?";

enum class CloseStep { done, leftOut, stay };

// A step of the close that fails for as long as its cause lasts (the manager
// in a folder the user cannot write to). Its first failure is reported like
// any error and the window stays open; from then on a failure is reported the
// same way and the user may close without the step, so that the window can
// always be closed. `askAtOnce`: ask already at the first failure.
template <class Step>
CloseStep RunCloseStep(TForm1& form, bool& failedBefore, bool askAtOnce, const char* question, Step step) {
  try {
    step();
    return CloseStep::done;
  } catch (const std::exception& error) {
    const bool first = !failedBefore && !askAtOnce;
    failedBefore = true;
    if (first) throw;  // the standard error box; the close stops
    ui::Application.HandleException(error);
    return form.AskYesNo(question) ? CloseStep::leftOut : CloseStep::stay;
  }
}

}  // namespace

void TForm1::SpeedButton6Click(ui::TObject* /*sender*/) { Close(); }

void TForm1::SpeedButton10Click(ui::TObject* /*sender*/) {
  if (!AskYesNo("Are you sure you want to remove this manager from your system ?")) return;
  FRemoveSelf = true;
  Close();
}

void TForm1::FormClose(ui::TObject* /*sender*/, ui::TCloseAction& action) {
  if (busyActions_ > 0) {
    // An action is serving the queue: it ends first, then the window closes.
    closeRequested_ = true;
    action = ui::TCloseAction::caNone;
    return;
  }
  RemoveFetchedInstallers();
  bool removalLeftOut = false;
  if (FRemoveSelf) {
    // The list stays until the batch file is written: should that fail, the
    // window stays open with everything it needs.
    if (!FDeleteOnClose.empty()) os_.RemoveFile(FDeleteOnClose);
    switch (RunCloseStep(*this, removalFailed_, false, kCloseWithoutRemoving, [this] { WriteRemovalScript(); })) {
      case CloseStep::done:
        FDirList.reset();
        return;
      case CloseStep::stay:
        action = ui::TCloseAction::caNone;
        return;
      case CloseStep::leftOut:
        // An ordinary close from here on. This close has failed once already,
        // so a list that cannot be saved now asks at once.
        FRemoveSelf = false;
        removalLeftOut = true;
        break;
    }
  }
  if (FDirList) {
    const auto save = [this] { SaveDirListForClose(); };
    if (RunCloseStep(*this, listSaveFailed_, removalLeftOut, kCloseWithoutSaving, save) == CloseStep::stay) {
      action = ui::TCloseAction::caNone;  // the list stays in memory; a later close tries again
      return;
    }
  }
  FDirList.reset();
  if (!FDeleteOnClose.empty() && !removalLeftOut) os_.RemoveFile(FDeleteOnClose);
}

void TForm1::RemoveFetchedInstallers() {
  for (const std::string& installer : FInstallers) {
    if (!installer.empty() && os_.FileExists(installer)) os_.RemoveFile(installer);
  }
}

void TForm1::SaveDirListForClose() {
  const int index = ComboBox1.ItemIndex();
  if (catalogue::IsRememberedAsSelection(index)) (*FDirList)[catalogue::kSelectedEntryLine] = std::to_string(index);
  const std::string exePath = os_.ModuleFileName();
  if (!catalogue::SaveDirList(os_, exePath, *FDirList)) {
    throw std::runtime_error("The directory list could not be saved to \"" + catalogue::DirListPath(exePath) + "\"");
  }
}

// The session ends: what a close does, at once and without a question or a
// message (nobody is there to answer, and the system ends the process once
// this returns). An action still running, a download or the wait for a
// setup program, ends at its next step.
void TForm1::FormEndSession(ui::TObject* /*sender*/) {
  closeRequested_ = true;
  ReleaseHeldSetup();
  RemoveFetchedInstallers();
  if (FDirList && !FRemoveSelf) {
    try {
      SaveDirListForClose();
    } catch (const std::exception&) {
      // The list cannot be written: there is no one left to tell.
    }
  }
  FDirList.reset();
  if (!FDeleteOnClose.empty()) os_.RemoveFile(FDeleteOnClose);
}

std::string TForm1::WriteRemovalScript() {
  const std::string batchPath = platform::ChangeFileExt(os_.ModuleFileName(), ".bat");
  const std::string script = "@echo off\r\n"
                             "timeout /T 2 /nobreak\r\n"
                             "del " + BatchPath(os_, platform::ChangeFileExt(batchPath, ".ini")) + "\r\n" +
                             "del " + BatchPath(os_, platform::ChangeFileExt(batchPath, ".exe")) + "\r\n" +
                             "del " + BatchPath(os_, batchPath) + "\r\n";
  if (!os_.WriteFile(batchPath, script)) {
    throw std::runtime_error("The removal batch file \"" + batchPath + "\" could not be written");
  }
  SpeedButton5Click(&SpeedButton10);
  // Not waited for; when it cannot start, the manager's files simply stay.
  os_.ShellOpen(os_.ApplicationWindow(), "open", batchPath, "", "", platform::ShowCommand::Hidden);
  return batchPath;
}

}  // namespace manager
