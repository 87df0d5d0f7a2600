// Closing the main window: the fetched installers go, the directory list is
// saved (unless the manager removes itself), the file named on the command
// line goes, and a self-removal leaves a batch file behind that deletes the
// manager's files once it has ended.
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
  for (const std::string& installer : FInstallers) {
    if (!installer.empty() && os_.FileExists(installer)) os_.RemoveFile(installer);
  }
  if (FDirList && !FRemoveSelf) {
    const int index = ComboBox1.ItemIndex();
    if (catalogue::IsRememberedAsSelection(index)) (*FDirList)[catalogue::kSelectedEntryLine] = std::to_string(index);
    const std::string exePath = os_.ModuleFileName();
    if (!catalogue::SaveDirList(os_, exePath, *FDirList)) {
      // The list stays in memory; a later close tries again.
      throw std::runtime_error("The directory list could not be saved to \"" + catalogue::DirListPath(exePath) +
                               "\"");
    }
  }
  // A self-removal keeps the list until its batch file is written: should
  // that fail, the window stays open with everything it needs.
  if (!FRemoveSelf) FDirList.reset();
  if (!FDeleteOnClose.empty()) os_.RemoveFile(FDeleteOnClose);
  if (FRemoveSelf) {
    WriteRemovalScript();
    FDirList.reset();
  }
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
