// Files and folders: what exists, reading and writing whole files, the
// identity of a folder, and the few shell and console services that act on paths.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A folder as the file system knows it, however its path is spelt (another
// drive letter, a share, a short name, a junction): its volume and its index
// there. A volume of 0 is one the system could not name (Wine gives it at
// times), and matches any.
struct FolderIdentity {
  std::uint32_t volume = 0;
  std::uint64_t index = 0;
};
inline bool SameFolder(FolderIdentity a, FolderIdentity b) {
  return a.index == b.index && (a.volume == b.volume || a.volume == 0 || b.volume == 0);
}

class Files {
 public:
  virtual ~Files() = default;

  // FileExists is false for a directory.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // The path as the file system names it: full, with every short (8.3) part
  // in its long form; as far as it exists, the rest as given.
  virtual std::string LongPathName(const std::string& path) = 0;
  // The identity of an existing folder; nothing when it cannot be opened.
  virtual std::optional<FolderIdentity> IdentityOf(const std::string& path) = 0;
  // The folders directly inside `path`, as full paths.
  virtual std::vector<std::string> Subfolders(const std::string& path) = 0;
  // The root of every drive letter in use: "C:\", "D:\"...
  virtual std::vector<std::string> DriveRoots() = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Creates or replaces the whole file, or leaves it as it was: false when it
  // cannot be written.
  virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
  virtual bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) = 0;
  virtual bool MakeDirectory(const std::string& path) = 0;  // one level
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool WriteProfileKey(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file) = 0;

  // Deletes a directory with everything in it for good, through the shell's
  // file operation (SHFileOperationA, FO_DELETE, no owner, no undo, silent,
  // no confirmation; the shell reports its own errors). 0 when the shell
  // reported success and nothing was aborted.
  virtual int ShellDeleteTree(const std::string& directory) = 0;
  // Text of the Windows code page in the console's (OEM) code page, as the
  // command interpreter reads a batch file; nothing when a character has no
  // form of its own there (it would come out as another one, "?" at worst).
  virtual std::optional<std::string> ToConsoleText(const std::string& text) = 0;
  // The short (8.3) form of an existing path; empty when it has none.
  virtual std::string ShortPathName(const std::string& path) = 0;
};

}  // namespace platform
