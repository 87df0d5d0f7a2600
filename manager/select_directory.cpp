// "Select directory": the folder picker opens on the install directory when
// it exists, and a confirmed folder becomes the directory field's text.
#include "manager/main_window.h"

namespace manager {

void TForm1::SelectDirectory() {
  // Otherwise the picker keeps the folder picked last (or the current directory).
  if (os_.files.DirectoryExists(FInstallDir)) SelDir1.SetDirectory(FInstallDir);
  if (!SelDir1.Execute()) return;  // cancelled: field, directory and buttons stay
  Edit1.SetText(SelDir1.Directory());
  ValidateDirectory();
}

}  // namespace manager
