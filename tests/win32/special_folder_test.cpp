// GetSpecialFolder against the shell folders of the test run's Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include "manager/main_window.h"
#include "platform/path.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/win32_test_support.h"

namespace {

TEST(SpecialFolderTest, CommonDesktopIsThePublicDesktopOfThePrefix) {
  platform::Win32Platform os;
  const std::string desktop =
      manager::GetSpecialFolder(os, os.ApplicationWindow(), platform::kCsidlCommonDesktopDirectory);
  EXPECT_EQ(platform::LowerAscii(desktop), "c:\\users\\public\\desktop");
  EXPECT_TRUE(win32_tests::IsDirectory(desktop));
}

TEST(SpecialFolderTest, AFolderTheShellCannotResolveGivesEmptyTextWithoutABox) {
  platform::Win32Platform os;
  // An identifier no shell knows; a message box here would hang the test.
  EXPECT_EQ(manager::GetSpecialFolder(os, os.ApplicationWindow(), 0x7E), "");
}

}  // namespace
