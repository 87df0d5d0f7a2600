// Which directories a program removal may delete: only a program's own
// folder. A drive or share root, a relative path, a path with wildcards or
// "." and ".." parts, and the system's well-known folders (and every folder
// that holds one of them) are refused; folders below them are fine.
#pragma once

#include <string>
#include <vector>

namespace platform {
class Platform;
}

namespace manager {

// The system's well-known folders that a removal must leave alone: the
// Windows and system folders, the program-files folders, the users folder,
// the profile, desktop, documents and application-data folders.
std::vector<std::string> WellKnownFolders(platform::Platform& os);

// True when `directory` may be deleted as a program's own folder. A direct
// subfolder of the users folder (the parent of the profile folder) is a
// user's profile and is refused too.
bool IsRemovableDirectory(const std::string& directory, const std::vector<std::string>& wellKnown);

}  // namespace manager
