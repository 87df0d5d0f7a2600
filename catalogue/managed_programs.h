// What passes between the manager and the programs it installs, starts and
// updates: the files it starts, their argument strings and the keys it writes
// into a program's settings file before an update.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {
class Files;
}

namespace catalogue {

// Section of a managed program's settings file that the manager writes to.
inline constexpr const char* kSettingsSection = "Options";

// installDir + "\" + the entry's file; installDir is used as it is, also when
// it ends in a backslash.
std::string ProgramPath(const std::string& installDir, int index);
std::string SetupPath(const std::string& installDir, int index);
std::string UpdatePath(const std::string& installDir, int index);

// Address of the update installer of an own entry that has one.
std::string UpdateUrl(int index);

// "/DIR=" + installDir: the directory is never quoted, blanks and all.
std::string SetupArguments(const std::string& installDir);
// "/DIR=" + installDir + " /SILENT"
std::string UpdateArguments(const std::string& installDir);
// For the entries started with the manager's path: "/x" and a blank, then the
// manager's full path in double quotation marks; for the others: empty.
std::string ProgramArguments(int index, const std::string& managerPath);

// The program path with its extension replaced by ".ini".
std::string SettingsFilePath(const std::string& programPath);

// The keys written into the "Options" section before an update, in order:
// "Portable" (the portable edition only), "Reset", "UpdateFlag", "VDMPath".
std::vector<std::pair<std::string, std::string>> UpdateMarks(int index, const std::string& managerPath);

// Writes UpdateMarks one key at a time through the platform's profile writer.
// Writes nothing and returns false when the entry has no update or no file
// exists at `settingsFile`; a program that never wrote its settings gets none.
// A write that fails throws std::runtime_error "Unable to write to <file>";
// the keys written before it stay written.
bool WriteUpdateMarks(platform::Files& files, int index, const std::string& settingsFile,
                      const std::string& managerPath);

}  // namespace catalogue
