#include "manager/removal_guard.h"

#include <algorithm>

#include "platform/path.h"
#include "platform/platform.h"

namespace manager {

namespace {

// Shell folders (CSIDL values) that no removal may delete.
constexpr int kWellKnownCsidls[] = {
    0x24,  // Windows
    0x25,  // system
    0x29,  // system (x86)
    0x26,  // program files
    0x2a,  // program files (x86)
    0x2b,  // common files
    0x2c,  // common files (x86)
    0x3e,  // the users folder
    0x28,  // the user's profile
    0x10,  // the user's desktop
    0x19,  // the common desktop
    0x05,  // documents
    0x2e,  // common documents
    0x1a,  // application data (roaming)
    0x1c,  // local application data
    0x23,  // common application data
};
constexpr int kCsidlProfile = 0x28;

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

}  // namespace

WellKnown WellKnownFolders(platform::Platform& os) {
  WellKnown known;
  for (int csidl : kWellKnownCsidls) {
    std::string folder = os.KnownFolder(csidl);
    if (!folder.empty()) known.folders.push_back(folder);
  }
  // The users folder holds the profile, also where the system names no users folder.
  const std::string profile = os.KnownFolder(kCsidlProfile);
  if (!profile.empty()) known.usersFolder = platform::ExtractFileDir(Normalise(profile));
  return known;
}

bool IsRemovableDirectory(const std::string& directory, const WellKnown& wellKnown) {
  const std::string dir = Normalise(directory);
  if (dir.find_first_of("*?\"<>|") != std::string::npos) return false;
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

}  // namespace manager
