// The update marks written into a real settings file by the real profile
// writer: the keys land in [Options], everything else stays as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "catalogue/managed_programs.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/win32_test_support.h"

namespace {

using namespace win32_tests;

constexpr const char* kManager = "C:\\Program Files\\Vandrel\\vandrel.exe";
constexpr const char* kSettings =
    "[General]\r\nLanguage=de\r\nReset=7\r\n"
    "[Options]\r\nTheme=dark\r\nReset=0\r\nPortable=0\r\n"
    "[Recent]\r\nFile1=C:\\songs\\a.mid\r\n";

std::string Key(const std::string& file, const char* section, const char* key) {
  char value[512];
  GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, file.c_str());
  return value;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  platform::Win32Platform os_;
  TempDir dir_{"settings file"};
  std::string file_ = catalogue::SettingsFilePath(catalogue::ProgramPath(dir_.Path(), 0));
};

TEST_F(SettingsFileTest, MarksLandInOptionsAndNothingElseChanges) {
  ASSERT_TRUE(WriteAll(file_, kSettings));
  ASSERT_TRUE(catalogue::WriteUpdateMarks(os_, 0, file_, kManager));

  EXPECT_EQ(Key(file_, "Options", "Reset"), "1");
  EXPECT_EQ(Key(file_, "Options", "UpdateFlag"), "1");
  EXPECT_EQ(Key(file_, "Options", "VDMPath"), kManager);
  EXPECT_EQ(Key(file_, "Options", "Portable"), "0");  // only the portable edition sets it
  EXPECT_EQ(Key(file_, "Options", "Theme"), "dark");
  EXPECT_EQ(Key(file_, "General", "Reset"), "7");
  EXPECT_EQ(Key(file_, "General", "Language"), "de");
  EXPECT_EQ(Key(file_, "Recent", "File1"), "C:\\songs\\a.mid");
  // New keys are added to [Options] in the order written, before [Recent].
  const std::string text = ReadAll(file_);
  const auto options = text.find("[Options]");
  const auto updateFlag = text.find("UpdateFlag=1");
  const auto vdmPath = text.find("VDMPath=");
  const auto recent = text.find("[Recent]");
  EXPECT_LT(options, updateFlag);
  EXPECT_LT(updateFlag, vdmPath);
  EXPECT_LT(vdmPath, recent);
}

TEST_F(SettingsFileTest, PortableEditionIsMarkedPortable) {
  ASSERT_TRUE(WriteAll(file_, kSettings));
  ASSERT_TRUE(catalogue::WriteUpdateMarks(os_, 2, file_, kManager));
  EXPECT_EQ(Key(file_, "Options", "Portable"), "1");
  EXPECT_EQ(Key(file_, "Options", "Reset"), "1");
}

TEST_F(SettingsFileTest, NoSettingsFileIsCreated) {
  EXPECT_FALSE(catalogue::WriteUpdateMarks(os_, 0, file_, kManager));
  EXPECT_FALSE(IsFile(file_));
}

TEST_F(SettingsFileTest, FileHeldByTheRunningProgramIsReportedAndKept) {
  ASSERT_TRUE(WriteAll(file_, kSettings));
  // The program holds its settings file open without letting others write.
  HANDLE held = CreateFileA(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  try {
    catalogue::WriteUpdateMarks(os_, 0, file_, kManager);
    ADD_FAILURE() << "the failed write must be reported";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + file_);
  }
  CloseHandle(held);
  EXPECT_EQ(ReadAll(file_), kSettings);
}

// The list and batch files are written beside and then put in place: what
// lay there is replaced whole, and nothing else is left in the folder.
TEST_F(SettingsFileTest, AWrittenFileReplacesTheOldOneWholeAndLeavesNothingBeside) {
  const std::string list = dir_ / "vandrel.ini";
  ASSERT_TRUE(WriteAll(list, "an older and much longer list\r\n\r\n\r\n"));
  EXPECT_TRUE(os_.WriteFile(list, "C:\\ORVIK\r\n"));
  EXPECT_EQ(ReadAll(list), "C:\\ORVIK\r\n");
  HANDLE held = CreateFileA(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(os_.WriteFile(list, "refused"));  // a file in use stays as it was
  CloseHandle(held);
  EXPECT_EQ(ReadAll(list), "C:\\ORVIK\r\n");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir_ / "*").c_str(), &found);
  int files = 0;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++files;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(files, 1);

  // The console's code page has "\xFC" (u umlaut) but no euro sign.
  EXPECT_TRUE(os_.ToConsoleText("R&D \xFC").has_value());
  EXPECT_FALSE(os_.ToConsoleText("vandrel \x80.exe").has_value());
}

}  // namespace
