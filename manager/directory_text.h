// How the directory field's text becomes the install directory, and how the
// protected mode recognises the manager's own directory.
#pragma once

#include <string>

namespace manager {

// The text before the first " ( recommended", trimmed of characters of code
// 32 or less; without the marker the whole text, unchanged and untrimmed.
std::string CleanDirectoryText(const std::string& fieldText);

// True when `installDir` is the manager's own directory for the protected
// mode: both trimmed, A-Z folded to a-z, then compared exactly.
bool IsOwnDirectory(const std::string& exePath, const std::string& installDir);

}  // namespace manager
