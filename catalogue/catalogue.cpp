#include "catalogue/catalogue.h"

#include <string_view>

#ifndef VANDREL_DOWNLOAD_BASE_URL
#error "VANDREL_DOWNLOAD_BASE_URL comes from the build (CMake cache variable DOWNLOAD_BASE_URL)"
#endif

namespace catalogue {

namespace {
// Entries 0 and 2 are two editions of one program and share its page.
constexpr const char* kOrvikPage = "https://www.vandrel-midi.example/orvik-studio-pro/";
constexpr const char* kOrvikUpdate = "orvikupd.exe";
constexpr const char* kOrvikDir = "C:\\ORVIK ( recommended !)";
}  // namespace

const std::array<const char*, kEntryCount> kDisplayName = {
    "Orvik Studio Pro",
    "Selvo",
    "Portable Orvik Pro",
    "Brunda",
    "Fennick",
    "Software MIDI synthesizer",
    "Virtual MIDI loopback driver",
    "SoundFont VST instrument",
    "General MIDI SoundFont",
    "VST effect plug-in",
    "MIDI file player",
    "Style database",
    "Styles for arranger keyboards",
};

const std::array<const char*, kEntryCount> kWebsite = {
    kOrvikPage,
    "https://www.vandrel-midi.example/selvo/",
    kOrvikPage,
    "https://www.vandrel-midi.example/brunda/",
    "https://www.vandrel-midi.example/midi-software/",
    "https://www.softsynth-works.example/",
    "http://www.loopback-midi.example/driver/",
    "https://www.fontsampler.example/vst/",
    "https://www.gm-soundbank.example/",
    "https://www.effect-rack.example/plugins/",
    "http://www.midiplayer-lab.example/",
    "https://www.style-archive.example/database/",
    "https://www.arranger-styles.example/",
};

const std::array<const char*, kOwnProgramCount + 1> kDefaultDirectory = {
    kOrvikDir, kOrvikDir, kOrvikDir, "C:\\BRUNDA ( recommended !)", "Please select directory ->", "0",
};

const std::array<const char*, kOwnProgramCount> kExecutableName = {
    "ORVIK.exe", "SELVO.exe", "ORVIK.exe", "BRUNDA.exe", "FENNICK.exe",
};

const std::array<const char*, kOwnProgramCount> kSetupFileName = {
    "orvik100.exe", "selvo100.exe", "orvik100portable.exe", "brunda100.exe", "orvik101.exe",
};

// Entry 4 is installed into another program's directory and has no update.
const std::array<const char*, kOwnProgramCount> kUpdateFileName = {
    kOrvikUpdate, "selvoupd.exe", kOrvikUpdate, "brundaupd.exe", "",
};

const std::array<const char*, kOwnProgramCount> kShortcutName = {
    "\\Orvik Studio Pro.lnk", "\\Selvo.lnk", "\\Orvik Studio Pro.lnk", "\\Brunda.lnk", "\\Fennick.lnk",
};

namespace {

// What the actions treat differently among the own programs, one row per
// entry; the update installer is its own column above.
struct OwnProgramFacts {
  const char* family = "";  // empty: of no family
  bool removable = false;
  bool rememberedAsSelection = false;
  bool installedIntoAnotherProgramsDirectory = false;
  bool startedWithManagerPath = false;
  bool portableEdition = false;
};

constexpr std::array<OwnProgramFacts, kOwnProgramCount> kOwnProgramFacts = {{
    {.family = "Orvik", .removable = true, .rememberedAsSelection = true, .startedWithManagerPath = true},
    {.family = "Orvik", .removable = true, .rememberedAsSelection = true, .startedWithManagerPath = true},
    {.family = "Orvik",
     .removable = true,
     .rememberedAsSelection = true,
     .startedWithManagerPath = true,
     .portableEdition = true},
    {.family = "Brunda", .removable = true, .rememberedAsSelection = true},
    {.installedIntoAnotherProgramsDirectory = true},
}};

// The facts of an own entry; a link-only entry or an index outside the
// catalogue has none of them.
OwnProgramFacts Facts(int index) { return IsOwnProgram(index) ? kOwnProgramFacts[index] : OwnProgramFacts{}; }

}  // namespace

bool HasUpdateInstaller(int index) { return IsOwnProgram(index) && kUpdateFileName[index][0] != '\0'; }
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

std::string DownloadUrl(int index) { return SoftwareUrl(kSetupFileName.at(index)); }

}  // namespace catalogue
