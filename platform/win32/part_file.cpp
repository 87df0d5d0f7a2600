#include "platform/win32/part_file.h"

#include <cstring>
#include <vector>

#include "platform/path.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

bool DeleteOnClose(HANDLE file, bool remove) {
  FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(remove)};
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

// Renames the file of `file` (opened with DELETE) to `to`, replacing a file there.
bool RenameByHandle(HANDLE file, const std::string& to) {
  const std::wstring name = Wide(to);
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::memcpy(rename->FileName, name.data(), rename->FileNameLength);
  return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())) != FALSE;
}

std::uint64_t Length(HANDLE file) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : ~std::uint64_t{0};
}

// True when `path` names the file that `held` has open: its index on its
// volume. Wine gives a handle whose file was renamed since it was opened the
// volume number 0, so the volumes are compared only where both are known.
bool NamesFile(const std::string& path, HANDLE held) {
  const OwnedHandle named(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!named || !GetFileInformationByHandle(named.get(), &a) || !GetFileInformationByHandle(held, &b)) return false;
  const bool volumesKnown = a.dwVolumeSerialNumber != 0 && b.dwVolumeSerialNumber != 0;
  return (!volumesKnown || a.dwVolumeSerialNumber == b.dwVolumeSerialNumber) &&
         a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Makes `name` as a new file. One left by an earlier run goes first: a file
// that is emptied when it is opened (rather than made anew) is, under Wine on
// ext4, written out to the disk when its handle closes, which costs a large
// download tens of milliseconds at its end.
HANDLE CreateNew(const std::string& name) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    // Held by a transfer that is still ending: not ours to take.
    if (!DeleteFileA(name.c_str())) {
      SetLastError(ERROR_SHARING_VIOLATION);
      break;
    }
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

PartFile::PartFile(const std::string& target) : target_(target) {
  // A transfer that was cancelled a moment ago may still hold the first name
  // until its thread ends: the next takes another.
  for (int other = 0; other < 10 && !file_; ++other) {
    const std::string name = target + (other == 0 ? "" : "." + std::to_string(other)) + kPartFileSuffix;
    file_.reset(CreateNew(name));
    if (!file_) {
      if (GetLastError() != ERROR_SHARING_VIOLATION) return;
      continue;
    }
    if (!DeleteOnClose(file_.get(), true)) {
      file_.reset();
      DeleteFileA(name.c_str());  // ours alone: nobody shares its deletion
      return;
    }
  }
}

OwnedHandle PartFile::Place(std::uint64_t length) {
  // While the writing handle is open, nobody else may write, rename or delete
  // the file; an older file at the target goes only with the rename.
  if (!file_ || Length(file_.get()) != length || !DeleteOnClose(file_.get(), false)) return {};
  if (!RenameByHandle(file_.get(), target_)) {
    DeleteOnClose(file_.get(), true);
    return {};
  }
  // A handle that writes cannot hold the file for a program to run (a
  // program's image is opened without write sharing): the hold is a reading
  // handle that shares reading only, reached from the writing one through a
  // reading bridge, all by handle. Should another process open the file for
  // writing in the moment between, the hold cannot be opened and the download
  // fails.
  const OwnedHandle bridge(ReOpenFile(file_.get(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      0));
  if (!bridge) return {};
  file_.reset();
  OwnedHandle held(ReOpenFile(bridge.get(), GENERIC_READ, FILE_SHARE_READ, 0));
  if (!held || Length(held.get()) != length || !NamesFile(target_, held.get())) return {};
  return held;
}

void RemoveLeftPartFiles(const std::string& folder) {
  if (folder.empty()) return;
  const std::string directory = folder.back() == '\\' ? folder : folder + '\\';
  const std::string suffix = LowerAscii(kPartFileSuffix);
  for (const FoundEntry& entry : FindEntries(directory + "*" + kPartFileSuffix)) {
    // The pattern also matches short names: only a long name with our suffix is ours.
    const std::string& name = entry.name;
    const bool ours = name.size() > suffix.size() && LowerAscii(name.substr(name.size() - suffix.size())) == suffix;
    // A running transfer's part file is open without delete sharing: it stays.
    if (ours && !entry.folder) DeleteFileA((directory + name).c_str());
  }
}

}  // namespace platform::win32
