// Closing the main window and removing the manager itself on a scripted
// platform: the close sequence, the questions when a file cannot be written
// and the removal batch file's bytes.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "manager/main_window.h"
#include "tests/support/fake_files.h"
#include "tests/support/removal_fixture.h"

namespace {

using manager::TForm1;
using testing_support::kDesktop;

class Shutdown : public testing_support::RemovalFixture {};

TEST_F(Shutdown, SelfRemovalWritesFiveLinesStartsThemHiddenAndSavesNoList) {
  os.exePath = "C:\\My Tools 100%\\R&D \xFC\\vandrel.exe";
  os.consoleMap = {{'\xFC', '\x81'}};  // the console's code page has ü elsewhere
  os.AddFile("C:\\My Tools 100%\\R&D \xFC\\vandrel.bat", "an old batch file with more in it\r\n\r\n\r\n");
  TForm1& f = Start(0, "D:\\Orvik");
  os.messageBoxAnswers = {platform::BoxAnswer::No};
  f.SpeedButton10.Click();
  EXPECT_TRUE(f.DirList().has_value());  // No: nothing happens

  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  f.SpeedButton10.Click();
  EXPECT_EQ(os.FileContent("C:\\My Tools 100%\\R&D \xFC\\vandrel.bat"),
            "@echo off\r\ntimeout /T 2 /nobreak\r\n"
            "del \"C:\\My Tools 100%%\\R&D \x81\\vandrel.ini\"\r\n"
            "del \"C:\\My Tools 100%%\\R&D \x81\\vandrel.exe\"\r\n"
            "del \"C:\\My Tools 100%%\\R&D \x81\\vandrel.bat\"\r\n");
  EXPECT_FALSE(os.HasFile("C:\\My Tools 100%\\R&D \xFC\\vandrel.ini"));
  EXPECT_FALSE(Shortcut("Vandrel download manager"));
  EXPECT_EQ(os.calls.back(), "ShellOpen 2560 [open] [C:\\My Tools 100%\\R&D \xFC\\vandrel.bat] [] [] Hidden");
  EXPECT_FALSE(f.DirList().has_value());
}

// "€" has no form in the console's code page: written as "?", "del" would
// take every file that matches. Such a path goes by its short name; one
// without a short name stays, and the batch file keeps its five lines. The
// batch file needs the files alone.
TEST(RemovalBatch, APathTheConsoleCannotWriteGoesByItsShortNameOrStays) {
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  files.AddDirectory("C:\\Tools");
  files.consoleLacks = {'\x80'};
  files.shortNames = {{"c:\\tools\\vandrel \x80.ini", "C:\\Tools\\VANDRE~1.INI"},
                      {"c:\\tools\\vandrel \x80.exe", "C:\\Tools\\VANDRE~1.EXE"}};
  EXPECT_EQ(manager::WriteRemovalBatch(files, "C:\\Tools\\vandrel \x80.exe"), "C:\\Tools\\vandrel \x80.bat");
  EXPECT_EQ(files.FileContent("C:\\Tools\\vandrel \x80.bat"),
            "@echo off\r\ntimeout /T 2 /nobreak\r\n"
            "del \"C:\\Tools\\VANDRE~1.INI\"\r\n"
            "del \"C:\\Tools\\VANDRE~1.EXE\"\r\n"
            "rem a file whose name the console cannot write stays\r\n");
}

TEST_F(Shutdown, AFailedBatchWriteIsReportedAndTheWindowStaysWithItsList) {
  os.AddFile("D:\\Orvik\\orvik100.exe");
  TForm1& f = Start(0, "D:\\Orvik");
  os.unwritable.insert("c:\\tools\\vandrel.bat");
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  f.SpeedButton10.Click();
  EXPECT_EQ(Said(),
            (std::vector<std::string>{"Are you sure you want to remove this manager from your system ? /YesNo Question SecondDefault",
                                      "The removal batch file \"C:\\Tools\\vandrel.bat\" could not be written."}));
  EXPECT_TRUE(Shortcut("Vandrel download manager"));
  EXPECT_EQ(os.CallCount("ShellOpen"), 0);
  EXPECT_TRUE(f.DirList().has_value());  // still usable: selecting an entry reads it
  f.ComboBox1.UserSelected(1);
  EXPECT_FALSE(os.HasFile("C:\\Tools\\vandrel.ini"));
}

TEST_F(Shutdown, ALastingBatchFailureAsksFromTheSecondCloseOnAndYesClosesAsAnOrdinaryClose) {
  TForm1& f = Start(2, "D:\\Orvik");
  os.unwritable.insert("c:\\tools\\vandrel.bat");
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  f.SpeedButton10.Click();
  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::No};
  f.SpeedButton6.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"The removal batch file \"C:\\Tools\\vandrel.bat\" could not be written.",
                                              "The manager cannot remove itself. Close without removing it ? /YesNo Question"}));
  EXPECT_TRUE(f.DirList().has_value());

  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  f.SpeedButton6.Click();
  EXPECT_FALSE(f.DirList().has_value());
  EXPECT_NE(os.FileContent("C:\\Tools\\vandrel.ini").find("\r\n2\r\n"), std::string::npos);
  EXPECT_TRUE(Shortcut("Vandrel download manager"));
  EXPECT_EQ(os.CallCount("ShellOpen"), 0);
}

TEST_F(Shutdown, WithoutTheRemovalAListThatCannotBeSavedAsksAtOnce) {
  TForm1& f = Start(0, "D:\\Orvik");
  os.unwritable = {"c:\\tools\\vandrel.bat", "c:\\tools\\vandrel.ini"};
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  f.SpeedButton10.Click();
  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::Yes, platform::BoxAnswer::Yes};
  f.SpeedButton6.Click();
  const std::vector<std::string> said = Said();
  ASSERT_EQ(said.size(), 4u);
  EXPECT_EQ(said[2], "The directory list could not be saved to \"C:\\Tools\\vandrel.ini\".");
  EXPECT_EQ(said[3], "The directory list cannot be saved. Close without saving it ? /YesNo Question SecondDefault");
  EXPECT_FALSE(f.DirList().has_value());
}

TEST_F(Shutdown, ClosingWithEntryFourOrALinkKeepsTheRememberedEntry) {
  for (int index : {4, 9}) {
    TForm1& f = Start(index, "");
    f.SpeedButton6.Click();
    EXPECT_EQ(os.FileContent("C:\\Tools\\vandrel.ini").substr(os.FileContent("C:\\Tools\\vandrel.ini").size() - 3),
              "0\r\n");
    EXPECT_FALSE(f.DirList().has_value());
  }
}

}  // namespace
