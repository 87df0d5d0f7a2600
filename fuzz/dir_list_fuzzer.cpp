// The directory list file as the manager finds it: any bytes at all.
//
// Input: one control byte, then the file's content. Bits 0-4 of the control
// byte make the file's lines 0-4 existing folders (as far as the file has
// them); bits 5-6 say whether the file is there: 0 no file, 2 a file that
// cannot be read, 1 or 3 a readable file. A printable "?" is therefore a
// readable file whose first five lines all name folders.
//
// What must hold:
//  - splitting yields lines without CR, LF or NUL, and joining them again
//    gives the text with every line break made CR LF (cut at a NUL, a break
//    added after a last line without one);
//  - the loader never writes, always hands start-up six lines or more with a
//    line 5 naming one of them, keeps every line it may keep and puts the
//    default in the others;
//  - line 5 is usable exactly when it is a whole number (optional sign,
//    decimal digits) naming a line of the list;
//  - what is saved loads back as the same list, and saving that list again
//    writes the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/dir_list.h"
#include "tests/support/fake_files.h"

namespace {

using catalogue::DirList;

constexpr const char* kExe = "C:\\Tools\\vandrel.exe";
constexpr const char* kList = "C:\\Tools\\vandrel.ini";

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "dir_list: %s\n", what);
  std::abort();
}

// Line breaks as the saved file has them, written without SplitLines.
std::string WithCrLfBreaks(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string normal;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      normal += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      normal += text[i];
    }
  }
  if (!normal.empty() && normal.back() != '\n') normal += "\r\n";
  return normal;
}

// A whole number naming a line of a list of `lineCount` lines, decided on the
// digits themselves: leading zeros do not count, so any length may name one.
bool NamesALine(const std::string& text, std::size_t lineCount, long long& line) {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return false;
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.size() > 9) return false;  // far beyond any list held in memory
  line = digits.empty() ? 0 : std::stoll(std::string(digits));
  if (negative && line != 0) return false;
  return static_cast<unsigned long long>(line) < lineCount;
}

void CheckSelectedEntry(const DirList& lines) {
  long long expected = 0;
  const bool usable = lines.size() > 5 && NamesALine(lines[5], lines.size(), expected);
  Require(catalogue::HasUsableSelectedEntry(lines) == usable, "HasUsableSelectedEntry disagrees on line 5");
  if (usable) Require(catalogue::SelectedEntry(lines) == expected, "SelectedEntry reads another number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned control = data[0];
  const std::string_view content(reinterpret_cast<const char*>(data + 1), size - 1);
  const unsigned presence = (control >> 5) & 3;

  const DirList split = catalogue::SplitLines(content);
  for (const auto& line : split) {
    Require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos, "a line holds a break or NUL");
  }
  Require(catalogue::JoinLines(split) == WithCrLfBreaks(content), "joined lines differ from the normalised text");
  Require(catalogue::SplitLines(catalogue::JoinLines(split)) == split, "joined lines split differently");
  CheckSelectedEntry(split);

  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  files.AddDirectory("C:\\Tools");  // the manager's folder
  for (std::size_t i = 0; i < split.size() && i < static_cast<std::size_t>(catalogue::kOwnProgramCount); ++i) {
    if ((control >> i) & 1) files.AddDirectory(split[i]);
  }
  if (presence != 0) files.AddFile(kList, std::string(content));
  if (presence == 2) files.unreadable.insert("c:\\tools\\vandrel.ini");
  const bool readable = presence != 0 && presence != 2 && files.FileExists(kList);

  const DirList defaults = catalogue::DefaultDirList();
  const DirList loaded = catalogue::LoadDirList(files, kExe);
  Require(log.CallCount("WriteFile") == 0, "loading wrote a file");
  Require(catalogue::HasUsableSelectedEntry(loaded), "the loaded line 5 is not usable");
  if (!readable) {
    Require(loaded == defaults, "a missing or unreadable file did not give the defaults");
  } else {
    Require(loaded.size() == std::max(split.size(), defaults.size()), "the loaded list has another length");
    for (std::size_t i = 0; i < loaded.size(); ++i) {
      const bool inFile = i < split.size();
      if (i < static_cast<std::size_t>(catalogue::kOwnProgramCount)) {
        const bool kept = inFile && !split[i].empty() && files.DirectoryExists(split[i]);
        Require(loaded[i] == (kept ? split[i] : defaults[i]), "a directory line is neither kept nor the default");
      } else if (i == static_cast<std::size_t>(catalogue::kSelectedEntryLine)) {
        long long line = 0;
        const bool kept = inFile && NamesALine(split[i], loaded.size(), line);
        Require(loaded[i] == (kept ? split[i] : "0"), "line 5 is neither kept nor 0");
      } else {
        Require(loaded[i] == split[i], "a line after the sixth changed");
      }
    }
  }
  CheckSelectedEntry(loaded);

  // The list file itself may have been made a folder by the lines above.
  if (!catalogue::SaveDirList(files, kExe, loaded)) {
    Require(files.DirectoryExists(kList), "saving failed though the file may be written");
    return 0;
  }
  const std::string saved = files.FileContent(kList);
  Require(saved == catalogue::JoinLines(loaded), "the saved bytes are not the joined lines");
  const DirList reloaded = catalogue::LoadDirList(files, kExe);
  Require(reloaded == loaded, "a saved list loads back differently");
  Require(catalogue::SaveDirList(files, kExe, reloaded), "a second save failed");
  Require(files.FileContent(kList) == saved, "a second save wrote other bytes");
  return 0;
}
