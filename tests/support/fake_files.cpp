#include "tests/support/fake_files.h"

#include "platform/path.h"

namespace testing_support {

int CallLog::CallCount(const std::string& prefix) const {
  int count = 0;
  for (const auto& call : calls) {
    if (call.rfind(prefix, 0) == 0) ++count;
  }
  return count;
}

std::string FakeFiles::Key(const std::string& path) { return platform::LowerAscii(path); }

std::string FakeFiles::FolderKey(std::string key) {
  while (key.size() > 1 && key.back() == '\\' && !(key.size() == 3 && key[1] == ':')) key.pop_back();
  return key;
}

std::string FakeFiles::ParentKey(const std::string& key) {
  const std::string path = FolderKey(key);
  const auto separator = path.find_last_of('\\');
  if (separator == std::string::npos || path.size() <= 3) return {};
  std::string parent = path.substr(0, separator);
  if (parent.size() == 2 && parent[1] == ':') parent += '\\';
  return parent;
}

bool FakeFiles::FolderExists(const std::string& key) const {
  if (key.empty()) return true;
  const std::string folder = FolderKey(key);
  const bool driveRoot = folder.size() >= 2 && folder.size() <= 3 && folder[1] == ':' &&
                         (folder.size() == 2 || folder[2] == '\\');
  return driveRoot || directories_.count(folder) != 0;
}

bool FakeFiles::ParentExists(const std::string& path) const { return FolderExists(ParentKey(Key(path))); }

void FakeFiles::AddDirectory(const std::string& path) {
  const std::string key = FolderKey(Key(path));
  for (std::string folder = key; !folder.empty() && !FolderExists(folder); folder = ParentKey(folder)) {
    directories_.insert(folder);
  }
}

void FakeFiles::AddFile(const std::string& path, const std::string& content) {
  const std::string parent = ParentKey(Key(path));
  if (!parent.empty()) AddDirectory(parent);
  files_[Key(path)] = content;
}

std::string FakeFiles::FileContent(const std::string& path) const {
  const auto found = files_.find(Key(path));
  return found == files_.end() ? std::string() : found->second;
}

bool FakeFiles::HasFile(const std::string& path) const { return files_.count(Key(path)) != 0; }

void FakeFiles::PutFile(const std::string& path, const std::string& content) { files_[Key(path)] = content; }

std::string FakeFiles::LongPathName(const std::string& path) {
  for (const auto& [shortName, longName] : longNames) {
    if (Key(path).rfind(shortName, 0) == 0) return longName + path.substr(shortName.size());
  }
  return path;
}

std::optional<platform::FolderIdentity> FakeFiles::IdentityOf(const std::string& path) {
  std::string key = FolderKey(Key(path));
  for (const auto& [alias, folder] : folderAliases) {
    if (key.rfind(alias, 0) == 0) key = FolderKey(Key(folder) + key.substr(alias.size()));
  }
  if (!FolderExists(key)) return std::nullopt;
  return platform::FolderIdentity{.volume = 7, .index = std::hash<std::string>{}(key)};
}

std::vector<std::string> FakeFiles::Subfolders(const std::string& path) {
  std::vector<std::string> found;
  const std::string key = FolderKey(Key(path));
  for (const std::string& directory : directories_) {
    if (ParentKey(directory) == key) found.push_back(directory);
  }
  return found;
}

bool FakeFiles::FileExists(const std::string& path) {
  log_.calls.push_back("FileExists " + path);
  return files_.count(Key(path)) != 0;
}

bool FakeFiles::DirectoryExists(const std::string& path) {
  log_.calls.push_back("DirectoryExists " + path);
  return !Key(path).empty() && FolderExists(Key(path));
}

std::optional<std::string> FakeFiles::ReadFile(const std::string& path) {
  log_.calls.push_back("ReadFile " + path);
  if (unreadable.count(Key(path)) != 0) return std::nullopt;
  const auto found = files_.find(Key(path));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

bool FakeFiles::WriteFile(const std::string& path, const std::string& bytes) {
  log_.calls.push_back("WriteFile " + path);
  if (unwritable.count(Key(path)) != 0 || !ParentExists(path) || FolderExists(Key(path))) return false;
  files_[Key(path)] = bytes;
  return true;
}

bool FakeFiles::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
  log_.calls.push_back("CopyFileTo " + from + " -> " + to + (failIfExists ? " failIfExists" : " replace"));
  if (!copyResult || !HasFile(from) || (failIfExists && HasFile(to)) || !ParentExists(to)) return false;
  files_[Key(to)] = FileContent(from);
  return true;
}

bool FakeFiles::MakeDirectory(const std::string& path) {
  log_.calls.push_back("MakeDirectory " + path);
  // One level: the parent must exist, the folder must not.
  if (uncreatable.count(Key(path)) != 0 || !ParentExists(path) || FolderExists(Key(path)) || HasFile(path)) {
    return false;
  }
  AddDirectory(path);
  return true;
}

bool FakeFiles::RemoveFile(const std::string& path) {
  log_.calls.push_back("RemoveFile " + path);
  return files_.erase(Key(path)) != 0;
}

bool FakeFiles::WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                                      const std::string& file) {
  log_.calls.push_back("WriteProfileKey " + file + " [" + section + "] " + key + "=" + value);
  if (unwritable.count(Key(file)) != 0) return false;
  profile[file + "|" + section + "|" + key] = value;
  return true;
}

int FakeFiles::ShellDeleteTree(const std::string& directory) {
  log_.calls.push_back("ShellDeleteTree " + directory);
  const std::string key = FolderKey(Key(directory));
  if (deleteTreeResult != 0) return deleteTreeResult;
  if (!FolderExists(key)) return 2;  // the shell's "not found"
  const std::string below = key.back() == '\\' ? key : key + "\\";
  std::erase_if(files_, [&](const auto& file) { return file.first.rfind(below, 0) == 0; });
  std::erase_if(directories_, [&](const std::string& folder) { return folder == key || folder.rfind(below, 0) == 0; });
  return 0;
}

std::optional<std::string> FakeFiles::ToConsoleText(const std::string& text) {
  std::string converted = text;
  for (char& c : converted) {
    if (consoleLacks.count(c) != 0) return std::nullopt;
    if (const auto mapped = consoleMap.find(c); mapped != consoleMap.end()) c = mapped->second;
  }
  return converted;
}

std::string FakeFiles::ShortPathName(const std::string& path) {
  const auto found = shortNames.find(Key(path));
  return found == shortNames.end() ? std::string() : found->second;
}

}  // namespace testing_support
