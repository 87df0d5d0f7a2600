// Which directories a program removal may delete: only a program's own
// folder. A drive or share root, a relative path, a path with wildcards,
// control characters, a stream's ":" or "." and ".." parts, and the system's
// well-known folders, the user's and all users' known folders and every
// user's profile (and every folder that holds one of them) are refused;
// folders below them are fine. The real file system's folders are judged by
// their identity too, so that no other spelling of a guarded folder passes.
#pragma once

#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/shell_folders.h"

namespace manager {

// The system's folders that a removal must leave alone.
struct WellKnown {
  // The Windows and system folders (the native one too), every program-files
  // and common-files folder (the 64-bit ones too in a 32-bit process), the users
  // folder, the profile, desktop, documents and application-data folders.
  std::vector<std::string> folders;
  // The folder that holds the users' profiles (the profile folder's parent):
  // each of its direct subfolders is a user's profile.
  std::string usersFolder;
};
WellKnown WellKnownFolders(platform::Environment& environment, platform::ShellFolders& shell);

// True when `directory` may be deleted as a program's own folder: it is none
// of the well-known folders nor holds one, and is no user's profile.
bool IsRemovableDirectory(const std::string& directory, const WellKnown& wellKnown);

// The same for a directory of the real file system: as the user spelt it and
// as the file system names it (short names such as "C:\PROGRA~1" in their
// long form), both must be removable; and it must be none of the guarded
// folders, nor hold one, by identity (another drive letter, a share of this
// machine, a junction). A directory whose identity cannot be read is refused.
bool MayRemoveDirectory(platform::Files& files, platform::Environment& environment, platform::ShellFolders& shell,
                        const std::string& directory);

// What the guard says of a directory before a removal asks anything.
// `missing`: its name passes, but it is not there (it went after the button
// was enabled): nothing of it can be deleted, and it has no identity to
// judge; the removal asks, then finds no program. Every other directory that
// MayRemoveDirectory refuses is `refused`.
enum class RemovalCheck { removable, missing, refused };
RemovalCheck CheckRemoval(platform::Files& files, platform::Environment& environment, platform::ShellFolders& shell,
                          const std::string& directory);

}  // namespace manager
