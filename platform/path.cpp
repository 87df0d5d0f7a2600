#include "platform/path.h"

namespace platform {

std::string::size_type FileNameStart(const std::string& path) {
  const auto separator = path.find_last_of("\\:");
  return separator == std::string::npos ? 0 : separator + 1;
}

std::string ExtractFileName(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string ExtractFilePath(const std::string& path) { return path.substr(0, FileNameStart(path)); }

std::string ExtractFileDir(const std::string& path) {
  auto end = FileNameStart(path);
  // A backslash right after a drive colon or another backslash stays: a
  // drive root keeps its "\" ("C:\"), as does a lone "\" and "C:\a\\b".
  const bool kept = end == 1 || (end >= 2 && (path[end - 2] == ':' || path[end - 2] == '\\'));
  if (end > 0 && path[end - 1] == '\\' && !kept) --end;
  return path.substr(0, end);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  const auto nameStart = FileNameStart(path);
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return path + extension;
  return path.substr(0, dot) + extension;
}

std::string Trim(const std::string& text) {
  std::string::size_type begin = 0;
  std::string::size_type end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace platform
