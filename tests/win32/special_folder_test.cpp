// The special folders against the shell folders of the test run's Wine
// prefix: GetSpecialFolder, every folder kind's shell folder, and the folders
// a removal leaves alone.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <utility>

#include "manager/main_window.h"
#include "manager/removal_guard.h"
#include "platform/path.h"
#include "platform/shell_folders.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/win32_test_support.h"

namespace {

using platform::SpecialFolder;

TEST(SpecialFolderTest, CommonDesktopIsThePublicDesktopOfThePrefix) {
  platform::Win32Platform os;
  const std::string desktop = manager::GetSpecialFolder(os, os, os.ApplicationWindow(), SpecialFolder::CommonDesktop);
  EXPECT_EQ(platform::LowerAscii(desktop), "c:\\users\\public\\desktop");
  EXPECT_TRUE(win32_tests::IsDirectory(desktop));
}

TEST(SpecialFolderTest, AFolderWithoutAPathOrUnknownToTheShellGivesEmptyTextWithoutABox) {
  platform::Win32Platform os;
  // A message box here would hang the test.
  EXPECT_EQ(manager::GetSpecialFolder(os, os, os.ApplicationWindow(), SpecialFolder::Drives), "");
  EXPECT_EQ(manager::GetSpecialFolder(os, os, os.ApplicationWindow(), static_cast<SpecialFolder>(0x7E)), "");
}

// Without trailing backslashes: Wine gives the documents folder's item list
// one, its path function none.
std::string WithoutTrailingBackslash(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Each kind is the shell folder of its name, and the one lookup gives the
// folder that the shell's own path function gives for it.
TEST(SpecialFolderTest, EachKindIsTheShellFolderOfItsName) {
  const std::pair<SpecialFolder, int> kinds[] = {
      {SpecialFolder::NamespaceRoot, CSIDL_DESKTOP},
      {SpecialFolder::Drives, CSIDL_DRIVES},
      {SpecialFolder::UserDesktop, CSIDL_DESKTOPDIRECTORY},
      {SpecialFolder::CommonDesktop, CSIDL_COMMON_DESKTOPDIRECTORY},
      {SpecialFolder::Documents, CSIDL_PERSONAL},
      {SpecialFolder::CommonDocuments, CSIDL_COMMON_DOCUMENTS},
      {SpecialFolder::Programs, CSIDL_PROGRAMS},
      {SpecialFolder::StartMenu, CSIDL_STARTMENU},
      {SpecialFolder::Startup, CSIDL_STARTUP},
      {SpecialFolder::Recent, CSIDL_RECENT},
      {SpecialFolder::SendTo, CSIDL_SENDTO},
      {SpecialFolder::Templates, CSIDL_TEMPLATES},
      {SpecialFolder::Fonts, CSIDL_FONTS},
      {SpecialFolder::NetworkShortcuts, CSIDL_NETHOOD},
      {SpecialFolder::Windows, CSIDL_WINDOWS},
      {SpecialFolder::System, CSIDL_SYSTEM},
      {SpecialFolder::SystemX86, CSIDL_SYSTEMX86},
      {SpecialFolder::ProgramFiles, CSIDL_PROGRAM_FILES},
      {SpecialFolder::ProgramFilesX86, CSIDL_PROGRAM_FILESX86},
      {SpecialFolder::CommonFiles, CSIDL_PROGRAM_FILES_COMMON},
      {SpecialFolder::CommonFilesX86, CSIDL_PROGRAM_FILES_COMMONX86},
      {SpecialFolder::Users, 0x003e /* CSIDL_PROFILES */},
      {SpecialFolder::Profile, CSIDL_PROFILE},
      {SpecialFolder::AppData, CSIDL_APPDATA},
      {SpecialFolder::LocalAppData, CSIDL_LOCAL_APPDATA},
      {SpecialFolder::CommonAppData, CSIDL_COMMON_APPDATA},
  };
  platform::Win32Platform os;
  for (const auto& [kind, csidl] : kinds) {
    char expected[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, expected, csidl, FALSE);
    EXPECT_EQ(WithoutTrailingBackslash(os.SpecialFolderPath({}, kind).path), expected) << csidl;
  }

  const manager::WellKnown wellKnown = manager::WellKnownFolders(os, os);
  EXPECT_FALSE(manager::IsRemovableDirectory("C:\\windows\\system32", wellKnown));
  EXPECT_FALSE(manager::IsRemovableDirectory("C:\\users\\Public", wellKnown));
  EXPECT_TRUE(manager::IsRemovableDirectory("C:\\Program Files\\Orvik", wellKnown));
}

// A short name is one more spelling of a folder: the guard compares the
// folder as the file system names it.
TEST(SpecialFolderTest, TheRemovalGuardReadsShortNamesInTheirLongForm) {
  platform::Win32Platform os;
  const std::string own = "C:\\Vandrel Guard Test\\Orvik Studio";
  ASSERT_TRUE(CreateDirectoryA("C:\\Vandrel Guard Test", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(CreateDirectoryA(own.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  auto shortName = [](const std::string& path) {
    char name[MAX_PATH] = "";
    const DWORD length = GetShortPathNameA(path.c_str(), name, MAX_PATH);
    return std::string(name, length < MAX_PATH ? length : 0);
  };
  const std::string programFiles = shortName("C:\\Program Files");
  const std::string ownShort = shortName(own);
  ASSERT_NE(platform::LowerAscii(programFiles), "c:\\program files") << "Wine gave no short name";
  ASSERT_NE(platform::LowerAscii(ownShort), platform::LowerAscii(own));

  EXPECT_EQ(platform::LowerAscii(os.LongPathName(programFiles)), "c:\\program files");
  EXPECT_FALSE(manager::MayRemoveDirectory(os, os, os, programFiles)) << programFiles;
  EXPECT_FALSE(manager::MayRemoveDirectory(os, os, os, shortName("C:\\windows")));
  // Both editions know every program-files folder and the native system folder.
  for (const char* folder : {"C:\\Program Files", "C:\\Program Files (x86)", "C:\\Program Files\\Common Files",
                             "C:\\Program Files (x86)\\Common Files", "C:\\windows\\Sysnative"}) {
    EXPECT_FALSE(manager::MayRemoveDirectory(os, os, os, folder)) << folder;
  }
  EXPECT_EQ(os.LongPathName(ownShort), own);
  EXPECT_EQ(os.LongPathName(ownShort + "\\not there"), own + "\\not there");
  EXPECT_TRUE(manager::MayRemoveDirectory(os, os, os, ownShort)) << ownShort;
  RemoveDirectoryA(own.c_str());
  RemoveDirectoryA("C:\\Vandrel Guard Test");
}

// Drive X: is another spelling of the profile folder (tests/wine/profile-drive.sh):
// the guard knows the profile's folders by their identity, whatever the name.
TEST(SpecialFolderTest, TheRemovalGuardKnowsFoldersByIdentityUnderAnotherDriveLetter) {
  platform::Win32Platform os;
  ASSERT_TRUE(win32_tests::IsDirectory("X:\\AppData")) << "drive X: is not the profile: see tests/wine/profile-drive.sh";
  for (const char* folder : {"X:\\", "X:\\Desktop", "X:\\Documents", "X:\\Downloads", "X:\\Music",
                             "X:\\AppData", "X:\\AppData\\Local", "X:\\Saved Games"}) {
    if (win32_tests::IsDirectory(folder)) {
      EXPECT_FALSE(manager::MayRemoveDirectory(os, os, os, folder)) << folder;
    }
  }
  const std::string own = "X:\\Music\\Vandrel Guard Test";
  ASSERT_TRUE(CreateDirectoryA(own.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(manager::MayRemoveDirectory(os, os, os, own));
  EXPECT_FALSE(manager::MayRemoveDirectory(os, os, os, own + ":stream"));
  RemoveDirectoryA(own.c_str());
}

}  // namespace
