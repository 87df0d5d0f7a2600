// The directory list file: beside the manager's executable, with its base
// name and the extension ".ini". Six plain text lines: the install directories
// of own entries 0-4 and the index of the entry to select at start. Lines
// after the sixth mean nothing but are kept and written back unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Files;
}

namespace catalogue {

using DirList = std::vector<std::string>;

inline constexpr int kDirListLines = 6;
inline constexpr int kSelectedEntryLine = 5;
// The selected-entry line of a new list: the first entry.
inline constexpr const char* kDefaultSelectedEntry = "0";

std::string DirListPath(const std::string& exePath);

// A line ends at CR LF, a lone CR or a lone LF; text after the last break is
// one more line; a NUL ends the text; an empty text has no lines.
DirList SplitLines(std::string_view text);
// Every line, the last one too, followed by CR LF.
std::string JoinLines(const DirList& lines);

// The six default lines: the proposed directories and "0".
DirList DefaultDirList();

// Reads the list of the manager at `exePath`. Without a file: the defaults.
// Lines 0-4 that name no existing directory fall back to their default.
//
// A file the manager did not write in its own shape is mended in memory, never
// on disk until the next close: missing lines (an empty file has none) take
// their defaults, and a line 5 that is not a whole number naming a line of the
// list becomes "0". A file that exists but cannot be read counts as missing.
// So the start always finds six lines and a usable index.
DirList LoadDirList(platform::Files& files, const std::string& exePath);

// Whole number n with 0 <= n < lines.size() in line 5, as start-up needs it.
bool HasUsableSelectedEntry(const DirList& lines);
// Value of line 5 (call only when HasUsableSelectedEntry).
int SelectedEntry(const DirList& lines);

// Writes every line to the list file, replacing its content.
bool SaveDirList(platform::Files& files, const std::string& exePath, const DirList& lines);

}  // namespace catalogue
