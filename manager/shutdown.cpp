// Closing the main window: the fetched installers go, the directory list is
// saved (unless the manager removes itself), the file named on the command
// line goes, and a self-removal leaves a batch file behind that deletes the
// manager's files once it has ended. A list or batch file that cannot be
// written keeps the window open once; after that the user may close without.
#include <optional>
#include <stdexcept>

#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "manager/main_window.h"
#include "platform/path.h"

namespace manager {

namespace {

// The path in the console's code page, as the command interpreter reads a
// batch file; nothing when that code page cannot write it or it holds a
// wildcard: "del" would read a "?" as any character.
std::optional<std::string> ConsolePath(platform::Files& files, const std::string& path) {
  if (path.find_first_of("?*") != std::string::npos) return std::nullopt;
  std::optional<std::string> text = files.ToConsoleText(path);
  if (text && text->find_first_of("?*") != std::string::npos) text.reset();
  return text;
}

// The batch file's line that deletes `path`: "del" and the path in double
// quotes, each "%" doubled (a single one starts a variable, also inside
// quotes). A path the console's code page cannot write goes by its short
// name, which it always can; without one, the line deletes nothing and the
// file stays, rather than a wildcard taking others with it.
std::string DeleteLine(platform::Files& files, const std::string& path) {
  std::optional<std::string> text = ConsolePath(files, path);
  if (!text) {
    const std::string shortName = files.ShortPathName(path);
    if (!shortName.empty()) text = ConsolePath(files, shortName);
  }
  if (!text) return "rem a file whose name the console cannot write stays\r\n";
  std::string escaped;
  for (char c : *text) {
    escaped += c;
    if (c == '%') escaped += '%';
  }
  return "del \"" + escaped + "\"\r\n";
}

// A question after a failed step of the close, and whether its Yes loses
// something (then No is the default).
struct CloseQuestion {
  const char* text;
  bool yesLoses;
};
constexpr CloseQuestion kCloseWithoutSaving{"The directory list cannot be saved. Close without saving it ?", true};
// Yes keeps the manager's files and saves the list as an ordinary close does.
constexpr CloseQuestion kCloseWithoutRemoving{"The manager cannot remove itself. Close without removing it ?", false};

enum class CloseStep { done, leftOut, stay };

// A step of the close that fails for as long as its cause lasts (the manager
// in a folder the user cannot write to). Its first failure is reported like
// any error and the window stays open; from then on a failure is reported the
// same way and the user may close without the step, so that the window can
// always be closed. `askAtOnce`: ask already at the first failure.
template <class Step>
CloseStep RunCloseStep(TForm1& form, bool& failedBefore, bool askAtOnce, const CloseQuestion& question, Step step) {
  try {
    step();
    return CloseStep::done;
  } catch (const std::exception& error) {
    const bool first = !failedBefore && !askAtOnce;
    failedBefore = true;
    if (first) throw;  // the standard error box; the close stops
    ui::Application.HandleException(error);
    const bool yes = question.yesLoses ? form.AskYesNoDefaultNo(question.text) : form.AskYesNo(question.text);
    return yes ? CloseStep::leftOut : CloseStep::stay;
  }
}

}  // namespace

void TForm1::ExitManager() { Close(); }

void TForm1::RemoveManager() {
  // Yes deletes the manager, its list and its shortcut.
  if (!AskYesNoDefaultNo("Are you sure you want to remove this manager from your system ?")) return;
  FRemoveSelf = true;
  Close();
}

void TForm1::FormClose(ui::TObject* /*sender*/, ui::TCloseAction& action) {
  if (sessionEnded_) return;  // the session's end did what a close does, and the list is gone
  if (busyActions_ > 0) {
    // An action is serving the queue: it ends first, then the window closes.
    PutOffClose();
    action = ui::TCloseAction::caNone;
    return;
  }
  RemoveFetchedInstallers();
  bool removalLeftOut = false;
  if (FRemoveSelf) {
    // The list stays until the batch file is written: should that fail, the
    // window stays open with everything it needs.
    if (!FDeleteOnClose.empty()) os_.files.RemoveFile(FDeleteOnClose);
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
  if (!FDeleteOnClose.empty() && !removalLeftOut) os_.files.RemoveFile(FDeleteOnClose);
}

void TForm1::RemoveFetchedInstallers() {
  for (const std::string& installer : FInstallers) {
    if (!installer.empty() && os_.files.FileExists(installer)) os_.files.RemoveFile(installer);
  }
}

void TForm1::SaveDirListForClose() {
  const int index = ComboBox1.ItemIndex();
  if (catalogue::IsRememberedAsSelection(index)) (*FDirList)[catalogue::kSelectedEntryLine] = std::to_string(index);
  const std::string exePath = os_.environment.ModuleFileName();
  if (!catalogue::SaveDirList(os_.files, exePath, *FDirList)) {
    throw std::runtime_error("The directory list could not be saved to \"" + catalogue::DirListPath(exePath) + "\"");
  }
}

// The session ends: what a close does, at once and without a question or a
// message (nobody is there to answer), and then the program ends (the window
// binding leaves the message loop), also when only this program was asked
// to close and the system goes on. An action still running, a download or the
// wait for a setup program, ends at its next step, asking and starting
// nothing more.
void TForm1::FormEndSession(ui::TObject* /*sender*/) {
  if (sessionEnded_) return;
  sessionEnded_ = true;
  PutOffClose();
  heldSetup_ = {};
  RemoveFetchedInstallers();
  if (FDirList && !FRemoveSelf) {
    try {
      SaveDirListForClose();
    } catch (const std::exception&) {
      // The list cannot be written: there is no one left to tell.
    }
  }
  FDirList.reset();
  if (!FDeleteOnClose.empty()) os_.files.RemoveFile(FDeleteOnClose);
}

std::string WriteRemovalBatch(platform::Files& files, const std::string& exePath) {
  const std::string batchPath = platform::ChangeFileExt(exePath, ".bat");
  const auto failed = [&batchPath] {
    return std::runtime_error("The removal batch file \"" + batchPath + "\" could not be written");
  };
  // Only a file that exists has a short name: the batch file's own line may need it.
  if (!ConsolePath(files, batchPath) && !files.WriteFile(batchPath, "")) throw failed();
  const std::string script = "@echo off\r\n"
                             "timeout /T 2 /nobreak\r\n" +
                             DeleteLine(files, platform::ChangeFileExt(batchPath, ".ini")) +
                             DeleteLine(files, platform::ChangeFileExt(batchPath, ".exe")) +
                             DeleteLine(files, batchPath);
  if (!files.WriteFile(batchPath, script)) throw failed();
  return batchPath;
}

std::string TForm1::WriteRemovalScript() {
  const std::string batchPath = WriteRemovalBatch(os_.files, os_.environment.ModuleFileName());
  RemoveManagerShortcut();
  // Not waited for; when it cannot start, the manager's files simply stay.
  os_.opener.ShellOpen(os_.windows.ApplicationWindow(), "open", batchPath, "", "", platform::ShowCommand::Hidden);
  return batchPath;
}

}  // namespace manager
