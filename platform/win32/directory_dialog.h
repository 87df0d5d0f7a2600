// Our own old-style directory dialog: a directory field, the subdirectories
// of the directory shown (".." leads up) and the drives, with OK, Cancel and,
// for a non-zero help context, Help.
#pragma once

#include "platform/platform.h"

namespace platform::win32 {

// Control ids, for automation.
inline constexpr int kDirectoryFieldId = 100;
inline constexpr int kDirectoryListId = 101;
inline constexpr int kDriveListId = 102;
inline constexpr int kDirectoryHelpId = 9;  // IDHELP

// Shows the dialog modally (class "#32770", captioned "Select Directory").
// True when the user confirmed; record.directory is then the full path of
// the chosen directory, without a trailing backslash except at a drive root.
bool ShowDirectoryDialog(platform::DirectoryDialogRecord& record);

}  // namespace platform::win32
