// What the old-style directory dialog does when the user presses OK on a
// directory: take it, create it (after asking) or refuse it with a message.
#pragma once

#include <string>

#include "platform/boxes.h"
#include "platform/files.h"
#include "platform/shell_folders.h"
#include "seldir/select_dir_options.h"

namespace seldir {

// The caption of the old-style dialog and of the boxes it shows.
inline constexpr const char* kDirectoryDialogCaption = platform::kDirectoryDialogCaption;

// True when the dialog may close with `path`, a full path. An existing
// directory is taken. A missing one is refused unless sdAllowCreate is set;
// with sdPerformCreate it is created with its missing parents, after a Yes to
// a question when sdPrompt is set. A file of that name is never taken. Every
// refusal except a No tells the user why; boxes are owned by `dialog`.
bool ConfirmDirectory(platform::Files& files, platform::Boxes& boxes, platform::WindowHandle dialog, const std::string& path,
                      TSelectDirOpts options);

// Creates `path` and every missing parent, one level at a time; true when the
// directory exists afterwards.
bool ForceDirectories(platform::Files& files, const std::string& path);

}  // namespace seldir
