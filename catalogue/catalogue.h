// The fixed catalogue: thirteen entries, shown in this order in the drop-down
// list. Entries 0-4 are the maker's own programs and have every column;
// entries 5-12 are links to other makers and have only a name and a website.
#pragma once

#include <array>
#include <string>

namespace catalogue {

inline constexpr int kEntryCount = 13;
inline constexpr int kOwnProgramCount = 5;

// Text shown in the directory field for a default; the field is cut at the
// marker when it is read.
inline constexpr const char* kRecommendedMarker = " ( recommended";

extern const std::array<const char*, kEntryCount> kDisplayName;
extern const std::array<const char*, kEntryCount> kWebsite;
// Rows 0-4 are the proposed directories; the sixth row is the entry selected
// by default, so the six rows are exactly the default directory list.
extern const std::array<const char*, kOwnProgramCount + 1> kDefaultDirectory;
extern const std::array<const char*, kOwnProgramCount> kExecutableName;
extern const std::array<const char*, kOwnProgramCount> kSetupFileName;
extern const std::array<const char*, kOwnProgramCount> kUpdateFileName;
extern const std::array<const char*, kOwnProgramCount> kShortcutName;

// The download server's base address (a build setting), without a trailing slash.
const char* DownloadBase();

// Base + "/software/" + file name: where setup and update files are served.
std::string SoftwareUrl(const std::string& fileName);

// Address of the setup file of own entry `index`.
std::string DownloadUrl(int index);

inline bool IsOwnProgram(int index) { return index >= 0 && index < kOwnProgramCount; }

}  // namespace catalogue
