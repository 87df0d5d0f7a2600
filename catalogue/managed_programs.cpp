#include "catalogue/managed_programs.h"

#include <stdexcept>

#include "catalogue/catalogue.h"
#include "platform/path.h"
#include "platform/files.h"

namespace catalogue {

namespace {
std::string InDirectory(const std::string& installDir, const char* fileName) { return installDir + "\\" + fileName; }
}  // namespace

std::string ProgramPath(const std::string& installDir, int index) {
  return InDirectory(installDir, OwnProgramAt(index).executable);
}

std::string SetupPath(const std::string& installDir, int index) {
  return InDirectory(installDir, OwnProgramAt(index).setupFile);
}

std::string UpdatePath(const std::string& installDir, int index) {
  return InDirectory(installDir, OwnProgramAt(index).updateFile);
}

std::string UpdateUrl(int index) { return SoftwareUrl(OwnProgramAt(index).updateFile); }

std::string SetupArguments(const std::string& installDir) { return "/DIR=" + installDir; }

std::string UpdateArguments(const std::string& installDir) { return SetupArguments(installDir) + " /SILENT"; }

std::string ProgramArguments(int index, const std::string& managerPath) {
  if (!StartsWithManagerPath(index)) return {};
  return "/x \"" + managerPath + "\"";
}

std::string SettingsFilePath(const std::string& programPath) { return platform::ChangeFileExt(programPath, ".ini"); }

std::vector<std::pair<std::string, std::string>> UpdateMarks(int index, const std::string& managerPath) {
  std::vector<std::pair<std::string, std::string>> marks;
  if (IsPortableEdition(index)) marks.emplace_back("Portable", "1");
  marks.emplace_back("Reset", "1");
  marks.emplace_back("UpdateFlag", "1");
  marks.emplace_back("VDMPath", managerPath);
  return marks;
}

bool WriteUpdateMarks(platform::Files& files, int index, const std::string& settingsFile,
                      const std::string& managerPath) {
  if (!HasUpdateInstaller(index) || !files.FileExists(settingsFile)) return false;
  for (const auto& [key, value] : UpdateMarks(index, managerPath)) {
    if (!files.WriteProfileKey(kSettingsSection, key, value, settingsFile)) {
      throw std::runtime_error("Unable to write to " + settingsFile);
    }
  }
  return true;
}

}  // namespace catalogue
