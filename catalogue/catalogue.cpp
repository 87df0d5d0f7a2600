#include "catalogue/catalogue.h"

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

const char* DownloadBase() { return VANDREL_DOWNLOAD_BASE_URL; }

std::string SoftwareUrl(const std::string& fileName) {
  return std::string(DownloadBase()) + "/software/" + fileName;
}

std::string DownloadUrl(int index) { return SoftwareUrl(kSetupFileName.at(index)); }

}  // namespace catalogue
