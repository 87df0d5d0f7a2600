// Files and folders in memory, with Windows path rules (letter case ignored):
// drive roots always exist, other folders when added or made. The file system
// that the other doubles which touch files (the process, the download) share
// by reference.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tests/support/call_log.h"

namespace testing_support {

class FakeFiles : public platform::Files {
 public:
  explicit FakeFiles(CallLog& log) : log_(log) {}
  FakeFiles(const FakeFiles&) = delete;
  FakeFiles& operator=(const FakeFiles&) = delete;

  void AddDirectory(const std::string& path);
  void AddFile(const std::string& path, const std::string& content = "");
  std::string FileContent(const std::string& path) const;
  bool HasFile(const std::string& path) const;
  // Puts a file in place, its folder as it is, unrecorded (what a download places).
  void PutFile(const std::string& path, const std::string& content);
  bool ParentExists(const std::string& path) const;
  // The lower-case key of a path, and of its folder's parent.
  static std::string Key(const std::string& path);
  static std::string ParentKey(const std::string& key);
  std::set<std::string> unreadable;   // files that exist but cannot be read (lower case)
  std::set<std::string> unwritable;   // files that cannot be written (lower case)
  std::set<std::string> uncreatable;  // directories MakeDirectory fails on (lower case)
  bool copyResult = true;
  int deleteTreeResult = 0;                    // what the shell says after deleting a tree (0: success)
  std::map<std::string, std::string> profile;  // "file|section|key" -> value
  // Short names the file system knows: a path starting with a key (lower
  // case) has it replaced by the long name in LongPathName.
  std::map<std::string, std::string> longNames;
  std::map<std::string, std::string> shortNames;  // ShortPathName: path (lower case) -> short form
  // Other spellings of a folder: a path starting with a key (lower case) is
  // the folder with the value in its place (another drive letter, a junction).
  std::map<std::string, std::string> folderAliases;
  std::vector<std::string> driveRoots = {"C:\\"};
  // Console text: every byte of `consoleMap`'s keys becomes its value; a
  // text with a byte of `consoleLacks` has no console form.
  std::map<char, char> consoleMap;
  std::set<char> consoleLacks;

  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  std::string LongPathName(const std::string& path) override;
  std::optional<platform::FolderIdentity> IdentityOf(const std::string& path) override;
  std::vector<std::string> Subfolders(const std::string& path) override;
  std::vector<std::string> DriveRoots() override { return driveRoots; }
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, const std::string& bytes) override;
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override;
  bool MakeDirectory(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) override;
  int ShellDeleteTree(const std::string& directory) override;
  std::optional<std::string> ToConsoleText(const std::string& text) override;
  std::string ShortPathName(const std::string& path) override;

 private:
  static std::string FolderKey(std::string key);
  bool FolderExists(const std::string& key) const;
  CallLog& log_;
  std::map<std::string, std::string> files_;  // key: lower-case path
  std::set<std::string> directories_;
};

}  // namespace testing_support
