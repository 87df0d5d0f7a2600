#include "catalogue/dir_list.h"

#include <algorithm>

#include "catalogue/catalogue.h"
#include "platform/path.h"
#include "platform/files.h"

namespace catalogue {

std::string DirListPath(const std::string& exePath) { return platform::ChangeFileExt(exePath, ".ini"); }

DirList SplitLines(std::string_view text) {
  const auto nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  DirList lines;
  std::string_view::size_type start = 0;
  while (start < text.size()) {
    const auto lineEnd = text.find_first_of("\r\n", start);
    if (lineEnd == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, lineEnd - start));
    start = lineEnd + 1;
    if (text[lineEnd] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string JoinLines(const DirList& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

DirList DefaultDirList() {
  DirList lines;
  for (int index = 0; index < kOwnProgramCount; ++index) lines.emplace_back(kEntries[index].defaultDirectory);
  lines.emplace_back(kDefaultSelectedEntry);
  return lines;
}

namespace {

// Decimal digits with an optional sign, nothing else. Leading zeros do not
// count; more than 18 digits after them cannot name a line anyway.
bool ParseWholeNumber(std::string_view text, long long& value) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  text.remove_prefix(std::min(text.find_first_not_of('0'), text.size()));
  if (text.size() > 18) return false;
  value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  if (negative) value = -value;
  return true;
}

}  // namespace

bool HasUsableSelectedEntry(const DirList& lines) {
  if (lines.size() <= static_cast<std::size_t>(kSelectedEntryLine)) return false;
  long long value = 0;
  if (!ParseWholeNumber(lines[kSelectedEntryLine], value)) return false;
  return value >= 0 && value < static_cast<long long>(lines.size());
}

int SelectedEntry(const DirList& lines) {
  long long value = 0;
  ParseWholeNumber(lines.at(kSelectedEntryLine), value);
  return static_cast<int>(value);
}

DirList LoadDirList(platform::Files& files, const std::string& exePath) {
  const std::string path = DirListPath(exePath);
  const DirList defaults = DefaultDirList();
  if (!files.FileExists(path)) return defaults;
  const auto text = files.ReadFile(path);
  if (!text) return defaults;

  DirList lines = SplitLines(*text);
  for (std::size_t i = lines.size(); i < defaults.size(); ++i) lines.push_back(defaults[i]);
  for (int i = 0; i < kOwnProgramCount; ++i) {
    if (lines[i].empty() || !files.DirectoryExists(lines[i])) lines[i] = defaults[i];
  }
  if (!HasUsableSelectedEntry(lines)) lines[kSelectedEntryLine] = defaults[kSelectedEntryLine];
  return lines;
}

bool SaveDirList(platform::Files& files, const std::string& exePath, const DirList& lines) {
  return files.WriteFile(DirListPath(exePath), JoinLines(lines));
}

}  // namespace catalogue
