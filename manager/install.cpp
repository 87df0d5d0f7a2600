// "Download and install selected program": the setup file comes from beside
// the manager or from the download server into the install directory, which
// is created on request; the setup program runs with the directory as its
// target while the window waits. Other makers' programs lead to their page.
#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "manager/downloader1.h"
#include "platform/path.h"

namespace manager {

void TForm1::SpeedButton3Click(ui::TObject* sender) {
  const ActionScope action(*this);
  Edit1Exit(this);
  if (ComboBox1.ItemIndex() == 4) {
    // Its program goes into the directory of another own program.
    Inform("Please enter the directory in which Orvik Pro, Selvo or Brunda are located or select another directory.");
    SpeedButton2Click(sender);  // picked or cancelled, the action goes on with FInstallDir
  }
  if (ComboBox1.ItemIndex() >= catalogue::kOwnProgramCount) {
    SpeedButton1Click(sender);
    return;
  }
  const int index = ComboBox1.ItemIndex();
  if (!catalogue::IsOwnProgram(index)) return;

  const std::string setupPath = catalogue::SetupPath(FInstallDir, index);
  const std::string target = platform::ExtractFileDir(setupPath);
  const std::string name = catalogue::kExecutableName[index];
  if (!os_.DirectoryExists(target)) {
    if (!AskYesNo(target + " does not exist. Should it be created ?")) return;
    // One level only: a missing parent makes the creation fail.
    if (!os_.MakeDirectory(target)) {
      Inform(target + " could not be created !");
      return;
    }
  }
  if (!FetchFile(catalogue::DownloadUrl(index), setupPath)) {
    Inform("Error while downloading " + name + " !");
    return;
  }
  if (closeRequested_) return;  // the window was closed while the queue was served
  Inform("The download was successful. The program will now be installed !");
  if (!RunProgram(setupPath, catalogue::SetupArguments(FInstallDir), platform::ShowCommand::Normal, true)) {
    Inform(name + " could not be executed !");
    return;
  }
  FInstallers[static_cast<std::size_t>(index)] = setupPath;
  Edit1Exit(this);
}

}  // namespace manager
