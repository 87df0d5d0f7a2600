#include "manager/removal_guard.h"

#include <algorithm>
#include <optional>

#include "platform/path.h"

namespace manager {

namespace {

using platform::SpecialFolder;

// Shell folders that no removal may delete: the system's, and the known
// folders of the user and of all users.
constexpr SpecialFolder kWellKnownFolders[] = {
    SpecialFolder::Windows,         SpecialFolder::System,          SpecialFolder::SystemX86,
    SpecialFolder::ProgramFiles,    SpecialFolder::ProgramFilesX86, SpecialFolder::CommonFiles,
    SpecialFolder::CommonFilesX86,  SpecialFolder::Users,           SpecialFolder::Profile,
    SpecialFolder::UserDesktop,     SpecialFolder::CommonDesktop,   SpecialFolder::Documents,
    SpecialFolder::CommonDocuments, SpecialFolder::AppData,         SpecialFolder::LocalAppData,
    SpecialFolder::LocalLowAppData, SpecialFolder::CommonAppData,   SpecialFolder::Downloads,
    SpecialFolder::Music,           SpecialFolder::Pictures,        SpecialFolder::Videos,
    SpecialFolder::Favorites,       SpecialFolder::Links,           SpecialFolder::SavedGames,
    SpecialFolder::Contacts,        SpecialFolder::Searches,        SpecialFolder::OneDrive,
    SpecialFolder::StartMenu,       SpecialFolder::Programs,        SpecialFolder::Startup,
    SpecialFolder::Templates,       SpecialFolder::Public,          SpecialFolder::CommonDownloads,
    SpecialFolder::CommonMusic,     SpecialFolder::CommonPictures,  SpecialFolder::CommonVideos,
    SpecialFolder::CommonStartMenu, SpecialFolder::CommonPrograms,  SpecialFolder::CommonStartup,
    SpecialFolder::CommonTemplates, SpecialFolder::CommonFavorites,
};

// Lower case, "/" read as "\", repeated separators collapsed (but the two of
// a share path), no trailing separator.
std::string Normalise(const std::string& path) {
  std::string result;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i] == '/' ? '\\' : path[i];
    if (c == '\\' && !result.empty() && result.back() == '\\' && i > 1) continue;
    result += c;
  }
  while (result.size() > 1 && result.back() == '\\') result.pop_back();
  return platform::LowerAscii(platform::Trim(result));
}

bool IsDrivePath(const std::string& p) {
  return p.size() >= 3 && ((p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':' && p[2] == '\\';
}

bool IsSharePath(const std::string& p) { return p.size() > 2 && p[0] == '\\' && p[1] == '\\'; }

std::vector<std::string> Parts(const std::string& p, std::size_t from) {
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = from; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '\\') {
      parts.push_back(part);
      part.clear();
    } else {
      part += p[i];
    }
  }
  return parts;
}

// True when `folder` is `ancestor` or lies below it.
bool IsAtOrBelow(const std::string& folder, const std::string& ancestor) {
  if (ancestor.empty()) return false;
  if (folder == ancestor) return true;
  const std::string prefix = ancestor.back() == '\\' ? ancestor : ancestor + "\\";
  return folder.rfind(prefix, 0) == 0;
}

// The folder that holds `path`: "C:\\a" for "C:\\a\\b", "C:\\" for "C:\\a"; empty
// for a root or a path without a separator.
std::string Parent(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  const std::size_t separator = folder.find_last_of("\\/");
  if (separator == std::string::npos || folder.size() <= 3) return {};
  const std::string parent = folder.substr(0, separator);
  return parent.size() == 2 && parent[1] == ':' ? parent + "\\" : parent;
}

}  // namespace

WellKnown WellKnownFolders(platform::Environment& environment, platform::ShellFolders& shell) {
  WellKnown known;
  for (SpecialFolder kind : kWellKnownFolders) {
    std::string folder = shell.SpecialFolderPath({}, kind).path;
    if (!folder.empty()) known.folders.push_back(folder);
  }
  // A 32-bit process on 64-bit Windows is shown "Program Files (x86)" for both
  // program-files folders and the 32-bit system folder for both system
  // folders: the native ones are named by the environment and by Sysnative.
  // The temporary folders are the environment's too.
  for (const char* variable : {"ProgramW6432", "CommonProgramW6432", "TEMP", "TMP"}) {
    std::string folder = environment.EnvironmentVariable(variable);
    if (!folder.empty()) known.folders.push_back(std::move(folder));
  }
  const std::string windows = shell.SpecialFolderPath({}, SpecialFolder::Windows).path;
  if (!windows.empty()) known.folders.push_back(windows + (windows.back() == '\\' ? "" : "\\") + "Sysnative");
  // The users folder holds the profile, also where the system names no users folder.
  const std::string profile = shell.SpecialFolderPath({}, SpecialFolder::Profile).path;
  if (!profile.empty()) known.usersFolder = platform::ExtractFileDir(Normalise(profile));
  return known;
}

bool IsRemovableDirectory(const std::string& directory, const WellKnown& wellKnown) {
  const std::string dir = Normalise(directory);
  if (dir.find_first_of("*?\"<>|") != std::string::npos) return false;
  // A control character, or a ":" but the drive's (a stream of the folder).
  if (std::any_of(dir.begin(), dir.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) return false;
  if (dir.find(':', 2) != std::string::npos) return false;
  if (dir.rfind("\\\\.\\", 0) == 0) return false;  // a device path spells any folder another way
  std::vector<std::string> parts;
  if (IsDrivePath(dir)) {
    parts = Parts(dir, 3);
  } else if (IsSharePath(dir)) {
    parts = Parts(dir, 2);
    if (parts.size() < 3) return false;  // the server or a share's root
    parts.erase(parts.begin(), parts.begin() + 2);
  } else {
    return false;  // relative, or a bare drive ("C:", "C:Folder")
  }
  if (parts.empty() || parts.front().empty()) return false;  // a drive root
  for (const std::string& part : parts) {
    if (part.empty() || part == "." || part == "..") return false;
  }
  for (const std::string& known : wellKnown.folders) {
    if (IsAtOrBelow(Normalise(known), dir)) return false;  // the folder itself, or one that holds it
  }
  if (!wellKnown.usersFolder.empty()) {
    const std::string users = Normalise(wellKnown.usersFolder);
    if (IsAtOrBelow(users, dir) || platform::ExtractFileDir(dir) == users) return false;  // a user's profile
  }
  return true;
}

bool MayRemoveDirectory(platform::Files& files, platform::Environment& environment, platform::ShellFolders& shell,
                        const std::string& directory) {
  return CheckRemoval(files, environment, shell, directory) == RemovalCheck::removable;
}

RemovalCheck CheckRemoval(platform::Files& files, platform::Environment& environment, platform::ShellFolders& shell,
                          const std::string& directory) {
  WellKnown known = WellKnownFolders(environment, shell);
  for (std::size_t i = 0, count = known.folders.size(); i < count; ++i) {
    known.folders.push_back(files.LongPathName(known.folders[i]));
  }
  if (!IsRemovableDirectory(directory, known) || !IsRemovableDirectory(files.LongPathName(directory), known)) {
    return RemovalCheck::refused;
  }
  // Every spelling of a folder is the same folder to the file system.
  const std::optional<platform::FolderIdentity> target = files.IdentityOf(directory);
  if (!target) {
    // A folder that cannot be looked at is not deleted either.
    return files.DirectoryExists(directory) ? RemovalCheck::refused : RemovalCheck::missing;
  }
  const auto guarded = [&](const std::string& folder) {
    const std::optional<platform::FolderIdentity> identity = files.IdentityOf(folder);
    return identity && platform::SameFolder(*identity, *target);
  };
  for (const std::string& folder : known.folders) {
    // The folder, and every folder that holds it up to its drive's root.
    for (std::string at = folder; !at.empty(); at = Parent(at)) {
      if (guarded(at)) return RemovalCheck::refused;
    }
  }
  if (!known.usersFolder.empty()) {
    for (const std::string& profile : files.Subfolders(known.usersFolder)) {
      if (guarded(profile)) return RemovalCheck::refused;
    }
  }
  const std::vector<std::string> roots = files.DriveRoots();
  return std::none_of(roots.begin(), roots.end(), guarded) ? RemovalCheck::removable : RemovalCheck::refused;
}

}  // namespace manager
