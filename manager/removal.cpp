// "Remove selected program": after two questions, the desktop shortcuts of
// the own programs in the install directory, then the whole directory, for
// good. Removing the manager itself only deletes the manager's own shortcut
// here (the close runs it after the list is released).
#include <array>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "manager/main_window.h"
#include "manager/removal_guard.h"

namespace manager {

namespace {

constexpr const char* kOwnShortcut = "\\Vandrel download manager.lnk";

// The entries whose shortcuts a removal of `selected` may delete, in order:
// its family's, and those of programs installed into another's directory.
std::vector<int> ShortcutCandidates(int selected) {
  std::vector<int> candidates;
  if (!catalogue::CanBeRemoved(selected)) return candidates;
  for (int k = 0; k < catalogue::kOwnProgramCount; ++k) {
    if (catalogue::SameFamily(k, selected) || catalogue::InstallsIntoAnotherProgramsDirectory(k)) {
      candidates.push_back(k);
    }
  }
  return candidates;
}

}  // namespace

// Self-removal: the directory list is gone; only the manager's shortcut goes.
void TForm1::RemoveManagerShortcut() {
  const std::string desktop =
      GetSpecialFolder(os_.shell, os_.boxes, os_.windows.ApplicationWindow(), platform::SpecialFolder::CommonDesktop);
  if (!desktop.empty()) os_.files.RemoveFile(desktop + kOwnShortcut);
}

// The removal does not look at its button: called after the program file
// went, it asks, then tells that the program does not exist.
void TForm1::RemoveProgram() {
  const int index = ComboBox1.ItemIndex();
  ValidateDirectory();
  if (!catalogue::IsOwnProgram(index)) return;
  const std::string programPath = catalogue::ProgramPath(FInstallDir, index);
  const auto refuse = [this] {
    Inform("The directory \"" + FInstallDir + "\" is not a program's own folder and will not be removed !");
  };
  // Never a drive, a system folder or a folder that holds one: what the user
  // keeps there is not the program's to delete. A folder that went after
  // the button was enabled is asked about, and then found without a program.
  const RemovalCheck check = CheckRemoval(os_.files, os_.environment, os_.shell, FInstallDir);
  if (check == RemovalCheck::refused) {
    refuse();
    return;
  }
  if (!AskYesNoDefaultNo("ATTENTION: The directory \"" + FInstallDir +
                         "\" and all its\r\nsubdirectories with all files are irrevocably deleted !\r\n\r\n"
                         "Do you really want to do this ?")) {
    return;
  }
  if (!AskYesNoDefaultNo("Are you sure you want to delete the directory \"" + FInstallDir +
                         "\" and all its subdirectories with all styles irrevocably !!!")) {
    return;
  }

  const std::string desktop =
      GetSpecialFolder(os_.shell, os_.boxes, os_.windows.ApplicationWindow(), platform::SpecialFolder::CommonDesktop);
  if (!desktop.empty()) {
    for (int k : ShortcutCandidates(index)) {
      if (os_.files.FileExists(catalogue::ProgramPath(FInstallDir, k))) {
        os_.files.RemoveFile(desktop + catalogue::OwnProgramAt(k).shortcut);
      }
    }
  }
  if (!os_.files.FileExists(programPath)) {
    Inform("The program does not exist and therefore cannot be removed !");
    return;
  }
  // The folder came back while the questions were open: judged now.
  if (check == RemovalCheck::missing && !MayRemoveDirectory(os_.files, os_.environment, os_.shell, FInstallDir)) {
    refuse();
    return;
  }
  const int result = os_.files.ShellDeleteTree(FInstallDir);
  ValidateDirectory();
  if (result == 0) {
    Inform("The selected program as well as the directory \"" + FInstallDir +
           "\" and all its subdirectories were successfully deleted.");
  }
}

}  // namespace manager
