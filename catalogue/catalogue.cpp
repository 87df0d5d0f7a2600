#include "catalogue/catalogue.h"

#include <stdexcept>
#include <string_view>

#ifndef VANDREL_DOWNLOAD_BASE_URL
#error "VANDREL_DOWNLOAD_BASE_URL comes from the build (CMake cache variable DOWNLOAD_BASE_URL)"
#endif

namespace catalogue {

namespace {
// Entries 0 and 2 are two editions of one program and share its page, its
// program file, its update and its shortcut.
constexpr const char* kOrvikPage = "https://www.vandrel-midi.example/orvik-studio-pro/";
constexpr const char* kOrvikDir = "C:\\ORVIK ( recommended !)";
constexpr const char* kOrvikUpdate = "orvikupd.exe";
constexpr const char* kOrvikShortcut = "\\Orvik Studio Pro.lnk";

constexpr Entry Link(const char* displayName, const char* website) {
  return {.displayName = displayName, .website = website};
}
}  // namespace

const std::array<Entry, kEntryCount> kEntries = {{
    {.displayName = "Orvik Studio Pro",
     .website = kOrvikPage,
     .defaultDirectory = kOrvikDir,
     .executable = "ORVIK.exe",
     .setupFile = "orvik100.exe",
     .updateFile = kOrvikUpdate,
     .shortcut = kOrvikShortcut,
     .family = "Orvik",
     .removable = true,
     .rememberedAsSelection = true,
     .startedWithManagerPath = true},
    {.displayName = "Selvo",
     .website = "https://www.vandrel-midi.example/selvo/",
     .defaultDirectory = kOrvikDir,
     .executable = "SELVO.exe",
     .setupFile = "selvo100.exe",
     .updateFile = "selvoupd.exe",
     .shortcut = "\\Selvo.lnk",
     .family = "Orvik",
     .removable = true,
     .rememberedAsSelection = true,
     .startedWithManagerPath = true},
    {.displayName = "Portable Orvik Pro",
     .website = kOrvikPage,
     .defaultDirectory = kOrvikDir,
     .executable = "ORVIK.exe",
     .setupFile = "orvik100portable.exe",
     .updateFile = kOrvikUpdate,
     .shortcut = kOrvikShortcut,
     .family = "Orvik",
     .removable = true,
     .rememberedAsSelection = true,
     .startedWithManagerPath = true,
     .portableEdition = true},
    {.displayName = "Brunda",
     .website = "https://www.vandrel-midi.example/brunda/",
     .defaultDirectory = "C:\\BRUNDA ( recommended !)",
     .executable = "BRUNDA.exe",
     .setupFile = "brunda100.exe",
     .updateFile = "brundaupd.exe",
     .shortcut = "\\Brunda.lnk",
     .family = "Brunda",
     .removable = true,
     .rememberedAsSelection = true},
    // Installed into another program's directory; no update, not removed on its own.
    {.displayName = "Fennick",
     .website = "https://www.vandrel-midi.example/midi-software/",
     .defaultDirectory = "Please select directory ->",
     .executable = "FENNICK.exe",
     .setupFile = "orvik101.exe",
     .shortcut = "\\Fennick.lnk",
     .installedIntoAnotherProgramsDirectory = true},
    Link("Software MIDI synthesizer", "https://www.softsynth-works.example/"),
    Link("Virtual MIDI loopback driver", "http://www.loopback-midi.example/driver/"),
    Link("SoundFont VST instrument", "https://www.fontsampler.example/vst/"),
    Link("General MIDI SoundFont", "https://www.gm-soundbank.example/"),
    Link("VST effect plug-in", "https://www.effect-rack.example/plugins/"),
    Link("MIDI file player", "http://www.midiplayer-lab.example/"),
    Link("Style database", "https://www.style-archive.example/database/"),
    Link("Styles for arranger keyboards", "https://www.arranger-styles.example/"),
}};

const Entry& OwnProgramAt(int index) {
  if (!IsOwnProgram(index)) throw std::out_of_range("not an own program: " + std::to_string(index));
  return kEntries[static_cast<std::size_t>(index)];
}

namespace {
// The entry's record; an index outside the catalogue has none of the facts.
Entry Facts(int index) { return index >= 0 && index < kEntryCount ? kEntries[index] : Entry{}; }
}  // namespace

bool HasUpdateInstaller(int index) { return IsOwnProgram(index) && Facts(index).updateFile[0] != '\0'; }
bool CanBeRemoved(int index) { return Facts(index).removable; }
bool IsRememberedAsSelection(int index) { return Facts(index).rememberedAsSelection; }
bool InstallsIntoAnotherProgramsDirectory(int index) { return Facts(index).installedIntoAnotherProgramsDirectory; }
bool StartsWithManagerPath(int index) { return Facts(index).startedWithManagerPath; }
bool IsPortableEdition(int index) { return Facts(index).portableEdition; }

bool SameFamily(int first, int second) {
  const std::string_view family = Facts(first).family;
  return !family.empty() && family == Facts(second).family;
}

const char* DownloadBase() { return VANDREL_DOWNLOAD_BASE_URL; }

std::string SoftwareUrl(const std::string& fileName) {
  return std::string(DownloadBase()) + "/software/" + fileName;
}

std::string DownloadUrl(int index) { return SoftwareUrl(OwnProgramAt(index).setupFile); }

}  // namespace catalogue
