// Windows path rules on plain 8-bit text: "\" separates, a drive ends in ":".
#pragma once

#include <string>

namespace platform {

// Position just after the last "\" or ":" (0 when there is none).
std::string::size_type FileNameStart(const std::string& path);

// "C:\a\b.exe" -> "b.exe"
std::string ExtractFileName(const std::string& path);
// "C:\a\b.exe" -> "C:\a\" (with its trailing backslash)
std::string ExtractFilePath(const std::string& path);
// "C:\a\b.exe" -> "C:\a"; "C:\b.exe" -> "C:\" (a drive root keeps its backslash);
// "C:\a\\b.exe" -> "C:\a\\" (so does a backslash after another one)
std::string ExtractFileDir(const std::string& path);
// The extension is everything from the last dot of the file name on; a file
// name without a dot gets `extension` appended.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// Characters of code 32 or less removed at both ends.
std::string Trim(const std::string& text);
// Only the letters A-Z become a-z.
std::string LowerAscii(std::string text);

}  // namespace platform
