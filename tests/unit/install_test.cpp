// Installing an own program on a scripted platform: the branches of the
// action, its exact texts and the arguments handed to the setup program it
// starts. Starting and updating: execute_update_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/managed_programs.h"
#include "tests/support/main_window_fixture.h"

namespace {

using manager::TForm1;

class OwnProgramActions : public testing_support::MainWindowFixture {};

TEST_F(OwnProgramActions, InstallFetchesRunsTheSetupWithTheUnquotedDirectoryAndRecordsIt) {
  os.AddDirectory("C:\\Program Files\\Orvik");
  os.onProcessMessages = [] {};
  TForm1& f = Start(0, "C:\\Program Files\\Orvik");
  os.startSucceeds = true;
  f.SpeedButton3.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"The download was successful. The program will now be installed !"}));
  EXPECT_EQ(os.CallCount("Download " + catalogue::DownloadUrl(0) +
                         " -> C:\\Program Files\\Orvik\\orvik100.exe"),
            1);
  EXPECT_EQ(os.lastStart.file, "C:\\Program Files\\Orvik\\orvik100.exe");
  EXPECT_EQ(os.lastStart.parameters, "/DIR=C:\\Program Files\\Orvik");
  EXPECT_EQ(f.Installers()[0], "C:\\Program Files\\Orvik\\orvik100.exe");
  EXPECT_GE(os.CallCount("WaitForProcess"), 1);  // the setup program is waited for
}

// The session ends (an installer's close request) while the setup program is
// waited for: the wait ends at once, the list is written, and the action and
// a close after it ask, tell and start nothing more.
TEST_F(OwnProgramActions, AnEndOfSessionDuringTheSetupsWaitEndsTheWaitAndNothingMoreHappens) {
  os.AddDirectory("D:\\Selvo");
  os.AddFile("C:\\Tools\\selvo100.exe", "setup");
  TForm1& f = Start(1, "D:\\Selvo");
  os.waitResults.assign(10, platform::WaitResult::TimedOut);
  os.onProcessMessages = [&] {
    if (os.CallCount("WaitForProcess") == 1) f.FormEndSession(&f);
  };
  f.SpeedButton3.Click();
  EXPECT_EQ(os.CallCount("WaitForProcess"), 1);
  EXPECT_TRUE(f.SessionEnded());
  EXPECT_FALSE(f.DirList().has_value());
  EXPECT_NE(os.FileContent("C:\\Tools\\vandrel.ini").find("D:\\Selvo\r\n"), std::string::npos);
  EXPECT_EQ(Said(), (std::vector<std::string>{"The download was successful. The program will now be installed !"}));

  const std::size_t boxesBefore = Boxes().size();
  EXPECT_TRUE(f.CloseQuery());
  EXPECT_FALSE(f.AskYesNo("Anyone there ?"));
  EXPECT_FALSE(f.RunProgram("D:\\Selvo\\SELVO.exe", "", platform::ShowCommand::Normal, false));
  f.Inform("Nobody reads this.");
  f.ComboBox1.UserSelected(2);  // the list is gone: nothing reads it
  EXPECT_EQ(Boxes().size(), boxesBefore);
  EXPECT_EQ(os.CallCount("StartProgram"), 1);
  EXPECT_EQ(os.CallCount("BeginModal"), 2);  // the copy's and the setup's, no other
}

TEST_F(OwnProgramActions, AFileBesideTheManagerIsCopiedAndTheButtonsFollowTheInstalledProgram) {
  os.AddDirectory("D:\\Selvo");
  os.AddFile("C:\\Tools\\selvo100.exe", "setup");
  TForm1& f = Start(1, "D:\\Selvo");
  // Our "setup program" installs the executable while it is waited for.
  os.waitResults = {platform::WaitResult::Ended};
  os.onProcessMessages = [this] { os.AddFile("D:\\Selvo\\SELVO.exe", "program"); };
  f.SpeedButton3.Click();
  EXPECT_EQ(os.CallCount("Download"), 0);
  EXPECT_EQ(os.FileContent("D:\\Selvo\\selvo100.exe"), "setup");
  EXPECT_EQ(Buttons(), "10111");  // Execute, Remove, Update on; Download and install off
}

TEST_F(OwnProgramActions, AMissingDirectoryIsCreatedOnYesWithOneLevelOnly) {
  os.AddDirectory("C:\\");
  TForm1& f = Start(3, "C:\\New Brunda");
  os.messageBoxAnswers = {platform::BoxAnswer::No};
  f.SpeedButton3.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"C:\\New Brunda does not exist. Should it be created ? /YesNo Question"}));
  EXPECT_EQ(os.CallCount("MakeDirectory"), 0);
  EXPECT_EQ(os.CallCount("Download"), 0);

  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  f.SpeedButton3.Click();
  EXPECT_EQ(os.CallCount("MakeDirectory C:\\New Brunda"), 1);
  EXPECT_EQ(os.CallCount("Download"), 1);

  os.calls.clear();
  os.uncreatable.insert("c:\\a\\b");
  f.Edit1.SetText("C:\\A\\B");
  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  f.SpeedButton3.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"C:\\A\\B does not exist. Should it be created ? /YesNo Question",
                                              "C:\\A\\B could not be created !"}));
  EXPECT_EQ(os.CallCount("Download"), 0);
}

TEST_F(OwnProgramActions, TheTargetDirectoryOfADriveRootOrATrailingBackslashKeepsItsBackslash) {
  // The setup path is the directory, a backslash and the file name; its
  // directory part keeps a backslash that follows a drive colon or another
  // backslash: "E:\\orvik100.exe" gives "E:\\\\", "E:\\x\\orvik100.exe" gives "E:\\x".
  // "E:\\" names the drive root, which exists: no question, and the setup
  // file lands there.
  TForm1& f = Start(0, "E:\\");
  f.SpeedButton3.Click();
  EXPECT_EQ(std::count(os.calls.begin(), os.calls.end(), "DirectoryExists E:\\\\"), 1);
  EXPECT_EQ(os.CallCount("Download " + catalogue::DownloadUrl(0) + " -> E:\\\\orvik100.exe"), 1);
  EXPECT_EQ(Said(), (std::vector<std::string>{"The download was successful. The program will now be installed !"}));

  f.Edit1.SetText("E:\\Synth\\");
  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::No};
  f.SpeedButton3.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"E:\\Synth\\\\ does not exist. Should it be created ? /YesNo Question"}));
}

TEST_F(OwnProgramActions, FailuresNameTheExecutableAndRecordNothing) {
  os.AddDirectory("C:\\Selvo");
  TForm1& f = Start(1, "C:\\Selvo");
  os.downloadResult = platform::DownloadResult::Failed;
  f.SpeedButton3.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"Error while downloading SELVO.exe !"}));
  EXPECT_EQ(os.CallCount("StartProgram"), 0);

  os.calls.clear();
  os.downloadResult = platform::DownloadResult::Downloaded;
  os.startSucceeds = false;
  f.SpeedButton3.Click();
  EXPECT_EQ(Said(), (std::vector<std::string>{"The download was successful. The program will now be installed !",
                                              "SELVO.exe could not be executed !"}));
  EXPECT_EQ(f.Installers()[1], "");
  EXPECT_TRUE(os.HasFile("C:\\Selvo\\selvo100.exe"));  // the setup file stays
}

TEST_F(OwnProgramActions, EntryFourAsksForTheDirectoryFirstAndGoesOnAfterCancel) {
  os.AddDirectory("C:\\Orvik");
  TForm1& f = Start(4, "C:\\Orvik");
  f.SpeedButton3.Click();  // the scripted browser answers Cancel
  EXPECT_EQ(Said().front(),
            "Please enter the directory in which Orvik Pro, Selvo or Brunda are located or select another directory.");
  EXPECT_EQ(os.CallCount("BrowseForFolder"), 1);
  EXPECT_EQ(os.lastStart.parameters, "/DIR=C:\\Orvik");
}

TEST_F(OwnProgramActions, ACloseDuringTheFileWaitEndsTheActionBeforeTheSetupStartsThenCloses) {
  os.AddDirectory("C:\\Orvik");
  TForm1& f = Start(0, "C:\\Orvik");
  os.downloadCreatesFile = false;  // the file shows up only during the wait
  bool closed = false;
  os.onProcessMessages = [&] {
    if (!closed) {
      closed = true;
      EXPECT_FALSE(f.CloseQuery());  // put off: the list stays in memory
      EXPECT_TRUE(f.DirList().has_value());
      os.AddFile("C:\\Orvik\\orvik100.exe");
    }
  };
  os.tickStep = 100;
  f.SpeedButton3.Click();
  EXPECT_EQ(os.CallCount("StartProgram"), 0);
  EXPECT_FALSE(f.DirList().has_value());  // closed once the action ended
  EXPECT_TRUE(os.HasFile("C:\\Tools\\vandrel.ini"));
}

// Nothing can be typed while the file is waited for: the windows take no
// input then, so the field still names the directory of the press.
TEST_F(OwnProgramActions, TheSetupRunsOnTheDirectoryTheFieldNamesOnceTheFileIsThere) {
  os.AddDirectory("C:\\Orvik");
  TForm1& f = Start(0, "C:\\Orvik");
  os.downloadCreatesFile = false;  // the file shows up only during the wait
  int openSectionsDuringTheWait = -1;
  os.onProcessMessages = [&] {
    if (os.HasFile("C:\\Orvik\\orvik100.exe")) return;
    openSectionsDuringTheWait = os.CallCount("BeginModal") - os.CallCount("EndModal");
    os.AddFile("C:\\Orvik\\orvik100.exe");
  };
  f.SpeedButton3.Click();
  EXPECT_EQ(openSectionsDuringTheWait, 1);
  EXPECT_EQ(os.lastStart.file, "C:\\Orvik\\orvik100.exe");
  EXPECT_EQ(os.lastStart.parameters, "/DIR=C:\\Orvik");
  EXPECT_EQ(f.Installers()[0], "C:\\Orvik\\orvik100.exe");
}

}  // namespace
