// "Execute selected program" starts the installed program and closes the
// manager; "Update && reset selected program" marks the program's settings
// for a reset, starts its update installer silently and closes the manager.
#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "manager/main_window.h"

namespace manager {

namespace {
constexpr const char* kMissingProgram =
    "The program does not exist and therefore cannot be executed, updated or removed !";
}  // namespace

void TForm1::Execute() {
  {
    const ActionScope action(*this);
    ValidateDirectory();
    const int index = ComboBox1.ItemIndex();
    if (!catalogue::IsOwnProgram(index)) return;
    const std::string programPath = ProgramPath(index);
    if (!os_.files.FileExists(programPath)) {
      Inform(kMissingProgram);
      ValidateDirectory();
      return;
    }
    const std::string arguments = catalogue::ProgramArguments(index, os_.environment.ModuleFileName());
    if (!RunProgram(programPath, arguments, platform::ShowCommand::Normal, false)) {
      Inform(std::string(catalogue::OwnProgramAt(index).executable) + " could not be executed !");
      return;
    }
  }
  Close();
}

void TForm1::UpdateAndReset() {
  // Called while its button is off (by a program, not a click), it does nothing.
  if (!SpeedButton8.Enabled()) return;
  {
    const ActionScope action(*this);
    ValidateDirectory();
    const int index = ComboBox1.ItemIndex();
    if (!catalogue::IsOwnProgram(index)) return;
    const std::string settingsFile = catalogue::SettingsFilePath(ProgramPath(index));
    // Nothing for an entry without an update or a program that never wrote its settings; a
    // failed write raises "Unable to write to <file>" for the error box.
    if (!catalogue::WriteUpdateMarks(os_.files, index, settingsFile, os_.environment.ModuleFileName())) return;

    const InstallerRun update{.url = catalogue::UpdateUrl(index),
                              .path = catalogue::UpdatePath(FInstallDir, index),
                              .arguments = catalogue::UpdateArguments,
                              .announcement = "The download was successful. The program will now be\r\n"
                                              "updated and executed with its original start values !",
                              .wait = false};
    if (!FetchAndRunInstaller(index, update)) return;
  }
  Close();
}

}  // namespace manager
