// "Download and install selected program": the setup file comes from beside
// the manager or from the download server into the install directory, which
// is created on request; the setup program runs with the directory as its
// target while the window waits. Other makers' programs lead to their page.
// The update (execute_update.cpp) fetches and runs its installer the same way.
#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "manager/main_window.h"
#include "platform/path.h"

namespace manager {

void TForm1::Install() {
  const ActionScope action(*this);
  ValidateDirectory();
  if (catalogue::InstallsIntoAnotherProgramsDirectory(ComboBox1.ItemIndex())) {
    Inform("Please enter the directory in which Orvik Pro, Selvo or Brunda are located or select another directory.");
    SelectDirectory();  // picked or cancelled, the action goes on with FInstallDir
  }
  if (catalogue::IsLinkOnly(ComboBox1.ItemIndex())) {
    ShowWebsite();
    return;
  }
  const int index = ComboBox1.ItemIndex();
  if (!catalogue::IsOwnProgram(index)) return;

  const std::string setupPath = catalogue::SetupPath(FInstallDir, index);
  const std::string target = platform::ExtractFileDir(setupPath);
  if (!os_.files.DirectoryExists(target)) {
    if (!AskYesNo(target + " does not exist. Should it be created ?")) return;
    // One level only: a missing parent makes the creation fail.
    if (!os_.files.MakeDirectory(target)) {
      Inform(target + " could not be created !");
      return;
    }
  }
  FetchAndRunInstaller(index, {.url = catalogue::DownloadUrl(index),
                               .path = setupPath,
                               .arguments = catalogue::SetupArguments,
                               .announcement = "The download was successful. The program will now be installed !",
                               .wait = true});
}

bool TForm1::FetchAndRunInstaller(int index, const InstallerRun& installer) {
  const std::string name = catalogue::OwnProgramAt(index).executable;
  // However the action ends, the downloaded file is no longer held after it:
  // its ActionScope lets go.
  const platform::DownloadResult fetched = FetchFile(installer.url, installer.path, name);
  if (fetched == platform::DownloadResult::Cancelled) return false;  // the user's own choice: nothing to tell
  if (fetched != platform::DownloadResult::Downloaded) {
    Inform("Error while downloading " + name + " !");
    return false;
  }
  if (closeRequested_) return false;  // the window was closed while the queue was served
  Inform(installer.announcement);
  if (!RunProgram(installer.path, installer.arguments(FInstallDir), platform::ShowCommand::Normal, installer.wait)) {
    Inform(name + " could not be executed !");
    return false;
  }
  FInstallers[static_cast<std::size_t>(index)] = installer.path;
  ValidateDirectory();
  return true;
}

}  // namespace manager
