// The fixed catalogue: thirteen entries, shown in this order in the drop-down
// list. Entries 0-4 are the maker's own programs and have every field;
// entries 5-12 are links to other makers and have only a name and a website.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace catalogue {

inline constexpr int kEntryCount = 13;
inline constexpr int kOwnProgramCount = 5;

// Text shown in the directory field for a default; the field is cut at the
// marker when it is read.
inline constexpr const char* kRecommendedMarker = " ( recommended";

// One entry of the catalogue. A link-only entry leaves every field after the
// website empty or false.
struct Entry {
  const char* displayName = "";
  const char* website = "";
  const char* defaultDirectory = "";  // proposed in the directory field
  const char* executable = "";        // the program file in the install directory
  const char* setupFile = "";         // served under /software/ and fetched into the install directory
  const char* updateFile = "";        // the same for the update installer; empty: none
  const char* shortcut = "";          // the desktop shortcut its setup program makes, with its leading "\"
  // What the actions treat differently among the own programs.
  const char* family = "";  // empty: of no family
  bool removable = false;
  bool rememberedAsSelection = false;
  bool installedIntoAnotherProgramsDirectory = false;
  bool startedWithManagerPath = false;
  bool portableEdition = false;
};

extern const std::array<Entry, kEntryCount> kEntries;

// The entry at `index`; an index outside the catalogue throws std::out_of_range.
inline const Entry& EntryAt(int index) { return kEntries.at(static_cast<std::size_t>(index)); }
// The same for an own program's entry: any other index throws std::out_of_range,
// since a link-only entry has no files to name.
const Entry& OwnProgramAt(int index);

// The download server's base address (a build setting), without a trailing slash.
const char* DownloadBase();

// Base + "/software/" + file name: where setup and update files are served.
std::string SoftwareUrl(const std::string& fileName);

// Address of the setup file of own entry `index`.
std::string DownloadUrl(int index);

// What sets entries apart in the actions. Every predicate takes any index and
// is false outside the entries it names.

// Entries 0-4: the maker's own programs, installed, started, updated and removed here.
inline bool IsOwnProgram(int index) { return index >= 0 && index < kOwnProgramCount; }
// Entries 5-12: other makers' programs and resources; only their page opens,
// and only after the disclaimer.
inline bool IsLinkOnly(int index) { return index >= kOwnProgramCount && index < kEntryCount; }
// Own entries with an update installer file name (all but Fennick).
bool HasUpdateInstaller(int index);
// Own entries that "Remove selected program" may remove with their directory.
bool CanBeRemoved(int index);
// Own entries that a close remembers as the entry to select at the next start.
bool IsRememberedAsSelection(int index);
// Fennick goes into the directory of another own program: its install asks
// for that directory first, and removing the others may take its shortcut.
bool InstallsIntoAnotherProgramsDirectory(int index);
// Own entries started with the manager's path, so that they can start it again.
bool StartsWithManagerPath(int index);
// The portable edition, marked as such in its settings before an update.
bool IsPortableEdition(int index);
// Two own entries of one family: they go into one directory by default
// (Selvo with Orvik), and removing one takes the shortcuts of those of them
// whose program lies in its directory.
bool SameFamily(int first, int second);

}  // namespace catalogue
