// Stand-in for the setup programs and update installers of the managed
// programs. Its own file name says which catalogue entry it installs: under a
// setup file name ("orvik101.exe") or an update installer file name
// ("orvikupd.exe") it puts the managed program it carries into the directory
// after "/DIR=" under that entry's executable name ("FENNICK.exe"), and puts
// the entry's shortcut into the common desktop folder.
//
// The directory is the rest of the command line up to " /SILENT", blanks
// included; double quotation marks are dropped. Exit codes: 0 installed (or
// nothing asked), 1 no entry of this name, no "/DIR=" or failing on request,
// 3 the program could not be written.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <string>

#include "catalogue/catalogue.h"
#include "platform/path.h"
#include "tests/programs/test_program.h"

namespace {

constexpr int kManagedProgramResource = 1;

int EntryOfInstaller(const std::string& fileName) {
  const std::string name = platform::LowerAscii(fileName);
  for (int i = 0; i < catalogue::kOwnProgramCount; ++i) {
    if (name == platform::LowerAscii(catalogue::OwnProgramAt(i).setupFile)) return i;
  }
  for (int i = 0; i < catalogue::kOwnProgramCount; ++i) {
    if (catalogue::OwnProgramAt(i).updateFile[0] != '\0' && name == platform::LowerAscii(catalogue::OwnProgramAt(i).updateFile)) {
      return i;
    }
  }
  return -1;
}

bool DirectoryArgument(const std::string& arguments, std::string& directory) {
  const std::string lower = platform::LowerAscii(arguments);
  const auto start = lower.find("/dir=");
  if (start == std::string::npos) return false;
  const auto silent = lower.find(" /silent", start);
  std::string text = arguments.substr(start + 5, silent == std::string::npos ? std::string::npos : silent - start - 5);
  directory.clear();
  for (char c : text) {
    if (c != '"') directory += c;
  }
  directory = platform::Trim(directory);
  while (directory.size() > 3 && directory.back() == '\\') directory.pop_back();
  return !directory.empty();
}

bool WriteBytes(const std::string& path, const void* bytes, DWORD size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, bytes, size, &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

// The managed program this setup carries as a resource.
bool WriteManagedProgram(const std::string& path) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(kManagedProgramResource), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(nullptr, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  return bytes != nullptr && WriteBytes(path, bytes, SizeofResource(nullptr, found));
}

// A small file under the shortcut's name that names the program; it is not a
// shell link, so that no desktop integration of the host picks it up.
void WriteShortcut(int entry, const std::string& programPath) {
  char desktop[MAX_PATH] = "";
  if (!SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_COMMON_DESKTOPDIRECTORY, TRUE)) return;
  const std::string text = "Shortcut to " + programPath + "\r\n";
  WriteBytes(std::string(desktop) + catalogue::OwnProgramAt(entry).shortcut, text.data(), static_cast<DWORD>(text.size()));
}

int Install(const std::string& self, const std::string& arguments) {
  const test_programs::Behaviour behaviour = test_programs::ReadBehaviour(self);
  if (behaviour.sleepMs > 0) Sleep(behaviour.sleepMs);
  if (behaviour.fail) return 1;
  const int entry = EntryOfInstaller(platform::ExtractFileName(self));
  std::string directory;
  if (entry < 0 || !DirectoryArgument(arguments, directory)) return 1;
  if (behaviour.nothing) return 0;

  SHCreateDirectoryExA(nullptr, directory.c_str(), nullptr);           // like a real setup; it may exist
  const std::string separator = directory.back() == '\\' ? "" : "\\";  // a drive root keeps its one backslash
  const std::string program = directory + separator + catalogue::OwnProgramAt(entry).executable;
  if (!WriteManagedProgram(program)) return 3;
  WriteShortcut(entry, program);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  const std::string self = test_programs::OwnPath();
  const std::string arguments = test_programs::ArgumentText();
  const int exitCode = Install(self, arguments);
  test_programs::RecordStart(self, arguments);
  return exitCode;
}
