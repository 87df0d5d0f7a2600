// Files and folders on the real platform.
#include "platform/win32/win32_platform.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "platform/win32/scoped.h"
#include "platform/win32/system_library.h"

namespace platform {

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

}  // namespace

bool Win32Platform::FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Platform::DirectoryExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::string> Win32Platform::ReadFile(const std::string& path) {
  win32::OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) {
    if (read == 0) return content;
    content.append(chunk, read);
  }
  return std::nullopt;
}

// The new bytes go into a file beside the old one, which then takes its
// place: a write that fails halfway (a full disk, a stick pulled out) leaves
// the old file whole.
bool Win32Platform::WriteFile(const std::string& path, const std::string& bytes) {
  const std::size_t separator = path.find_last_of("\\/:");
  const std::string folder = separator == std::string::npos ? "." : path.substr(0, separator + 1);
  char fresh[MAX_PATH];
  if (GetTempFileNameA(folder.c_str(), "vnw", 0, fresh) == 0) return false;
  bool written = false;
  {
    win32::OwnedHandle file(CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD count = 0;
    written = file &&
              (bytes.empty() || (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
                                 count == bytes.size())) &&
              FlushFileBuffers(file.get());
  }
  if (written && MoveFileExA(fresh, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileA(fresh);
  return false;
}

bool Win32Platform::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
  return ::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32Platform::MakeDirectory(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32Platform::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool Win32Platform::WriteProfileKey(const std::string& section, const std::string& key, const std::string& value,
                                       const std::string& file) {
  // A relative name would be looked for in the Windows directory: write the
  // file that the existence test saw, relative to the current directory.
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(file.c_str(), MAX_PATH, full, nullptr);
  const std::string target = length > 0 && length < MAX_PATH ? std::string(full, length) : file;
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), target.c_str()) != FALSE;
}

int Win32Platform::ShellDeleteTree(const std::string& directory) {
  // A list of one path: the path and two NUL characters.
  std::string from = directory;
  from.push_back('\0');
  from.push_back('\0');
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  static const auto fileOperation = VANDREL_SYSTEM_FUNCTION(kShellLibrary, SHFileOperationA);
  if (fileOperation == nullptr) return ERROR_MOD_NOT_FOUND;
  const int result = fileOperation(&operation);
  // An operation the user aborted in one of the shell's boxes is no success.
  if (result == 0 && operation.fAnyOperationsAborted) return ERROR_CANCELLED;
  return result;
}

std::optional<std::string> Win32Platform::ToConsoleText(const std::string& text) {
  if (text.empty()) return text;
  const int size = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (wideLength == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), wideLength);
  // No best fit: a character the console lacks must not become a look-alike, which names another file.
  BOOL lost = FALSE;
  const int length = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr, &lost);
  if (length == 0 || lost) return std::nullopt;
  std::string converted(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, converted.data(), length, nullptr, &lost);
  if (lost) return std::nullopt;
  return converted;
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

}  // namespace platform
