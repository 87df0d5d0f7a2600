// The file system's and the shell's folders on the real platform.
#include "platform/win32/win32_platform.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <memory>

#include "platform/win32/scoped.h"
#include "platform/win32/system_codes.h"
#include "platform/win32/system_library.h"

namespace platform {

std::string Win32Platform::EnvironmentVariable(const std::string& name) {
  std::string value(MAX_PATH, '\0');
  DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
  if (length > value.size()) {
    value.resize(length);
    length = GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
  }
  value.resize(length < value.size() ? length : 0);
  return value;
}

std::string Win32Platform::LongPathName(const std::string& path) {
  char full[MAX_PATH];
  const DWORD fullLength = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  if (fullLength == 0 || fullLength >= MAX_PATH) return path;
  char longName[MAX_PATH];
  const DWORD longLength = GetLongPathNameA(full, longName, MAX_PATH);
  if (longLength != 0 && longLength < MAX_PATH) return std::string(longName, longLength);
  // A path whose end does not exist yet: the part that exists in its long form.
  const std::string given(full, fullLength);
  const std::size_t separator = given.find_last_of('\\');
  if (separator == std::string::npos || separator + 1 >= given.size() || separator < 3) return given;
  const std::string parent = LongPathName(given.substr(0, separator));
  return parent + (parent.back() == '\\' ? "" : "\\") + given.substr(separator + 1);
}

std::string Win32Platform::ShortPathName(const std::string& path) {
  char name[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), name, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : std::string(name, length);
}

std::optional<FolderIdentity> Win32Platform::IdentityOf(const std::string& path) {
  // Directories open only with backup semantics; a junction is followed to
  // the folder it stands for.
  const win32::OwnedHandle folder(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (!folder || !GetFileInformationByHandle(folder.get(), &information)) return std::nullopt;
  return FolderIdentity{.volume = information.dwVolumeSerialNumber,
                        .index = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

std::vector<std::string> Win32Platform::Subfolders(const std::string& path) {
  std::vector<std::string> folders;
  const std::string base = path.empty() || path.back() == '\\' ? path : path + "\\";
  for (const win32::FoundEntry& entry : win32::FindEntries(base + "*")) {
    if (entry.folder) folders.push_back(base + entry.name);
  }
  return folders;
}

std::vector<std::string> Win32Platform::DriveRoots() {
  std::vector<std::string> roots;
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if ((drives & (1u << (letter - 'A'))) != 0) roots.push_back(std::string(1, letter) + ":\\");
  }
  return roots;
}

long Win32Platform::ShGetMalloc(AllocatorHandle& allocator) {
  IMalloc* malloc = nullptr;
  static const auto getMalloc = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHGetMalloc);
  const HRESULT result = getMalloc != nullptr ? getMalloc(&malloc) : E_FAIL;
  allocator = AllocatorHandle{reinterpret_cast<std::uintptr_t>(malloc)};
  return result;
}

long Win32Platform::ShGetSpecialFolderLocation(WindowHandle owner, SpecialFolder folder, ItemIdList& itemList) {
  LPITEMIDLIST list = nullptr;
  HRESULT result = E_FAIL;
  if (const KNOWNFOLDERID* known = win32::KnownFolderId(folder)) {
    // Folders without a CSIDL, where the system knows them (Vista and later).
    static const auto knownFolderList = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHGetKnownFolderIDList);
    if (knownFolderList != nullptr) result = knownFolderList(*known, 0, nullptr, &list);
  } else {
    static const auto folderLocation = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHGetSpecialFolderLocation);
    if (folderLocation != nullptr) {
      result = folderLocation(reinterpret_cast<HWND>(owner.value), win32::ShellFolderId(folder), &list);
    }
  }
  itemList = ItemIdList{reinterpret_cast<std::uintptr_t>(list)};
  return result;
}

bool Win32Platform::ShGetPathFromIdList(ItemIdList itemList, std::string& path) {
  const auto buffer = std::make_unique<char[]>(MAX_PATH);
  buffer[0] = '\0';
  static const auto pathFromList = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHGetPathFromIDListA);
  const bool converted = pathFromList != nullptr &&
                         pathFromList(reinterpret_cast<LPCITEMIDLIST>(itemList.value), buffer.get()) != FALSE;
  path = buffer.get();
  return converted;
}

void Win32Platform::AllocatorFree(AllocatorHandle allocator, ItemIdList memory) {
  reinterpret_cast<IMalloc*>(allocator.value)->Free(reinterpret_cast<void*>(memory.value));
}

void Win32Platform::AllocatorRelease(AllocatorHandle allocator) {
  reinterpret_cast<IMalloc*>(allocator.value)->Release();
}

}  // namespace platform
