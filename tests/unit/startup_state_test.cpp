// The main window's start-up, selection and directory state, driven through
// its control objects as the user would, on a scripted platform.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/main_window_fixture.h"

namespace {

using manager::TForm1;

constexpr const char* kList = "C:\\Tools\\vandrel.ini";
constexpr const char* kOrvikDefault = "C:\\ORVIK ( recommended !)";

class StartupState : public testing_support::MainWindowFixture {
 protected:
  void Type(const std::string& text) {
    for (char c : text) {
      if (form->Edit1.KeyPress(c) != '\0') form->Edit1.UserChangedText(form->Edit1.Text() + c);
    }
  }
  void Close() { ASSERT_TRUE(form->CloseQuery()); }
};

TEST_F(StartupState, FirstRunProposesTheDefaultAndWritesSixLinesAtClose) {
  TForm1& f = Start();
  EXPECT_EQ(f.ComboBox1.ItemIndex(), 0);
  EXPECT_EQ(f.ComboBox1.Items.size(), 13u);
  EXPECT_EQ(f.Edit1.Text(), kOrvikDefault);
  EXPECT_EQ(f.InstallDir(), "C:\\ORVIK");
  EXPECT_EQ((*f.DirList())[0], "C:\\ORVIK");
  EXPECT_EQ(Buttons(), "11000");
  EXPECT_TRUE(f.Edit1.Enabled());
  EXPECT_EQ(os.CallCount("WriteFile"), 0);

  Select(1);
  Close();
  EXPECT_EQ(os.FileContent(kList),
            "C:\\ORVIK\r\nC:\\ORVIK\r\nC:\\ORVIK ( recommended !)\r\nC:\\BRUNDA ( recommended !)\r\n"
            "Please select directory ->\r\n1\r\n");
  EXPECT_FALSE(f.DirList().has_value());
}

TEST_F(StartupState, RememberedEntryAndDirectoriesComeBack) {
  os.AddDirectory("D:\\Synth");
  os.AddFile(kList, "C:\\gone\nC:\\gone\nD:\\Synth\nC:\\gone\nC:\\gone\n2\n");
  TForm1& f = Start();
  EXPECT_EQ(f.ComboBox1.ItemIndex(), 2);
  EXPECT_EQ(f.Edit1.Text(), "D:\\Synth");
  Select(0);  // a deleted directory shows as its default again
  EXPECT_EQ(f.Edit1.Text(), kOrvikDefault);
}

TEST_F(StartupState, InstalledProgramsOfferExecuteRemoveAndUpdateExceptEntryFour) {
  os.AddDirectory("D:\\Orvik");
  os.AddFile("D:\\Orvik\\ORVIK.exe");
  os.AddFile("D:\\Orvik\\FENNICK.exe");
  os.AddDirectory("D:\\Orvik\\SELVO.exe");  // a directory of that name is no program
  os.AddFile(kList, "D:\\Orvik\nD:\\Orvik\nD:\\Orvik\nD:\\Orvik\nD:\\Orvik\n0\n");
  Start();
  EXPECT_EQ(Buttons(), "10111");
  Select(1);
  EXPECT_EQ(Buttons(), "11000");
  Select(2);  // the portable edition is the same program file
  EXPECT_EQ(Buttons(), "10111");
  Select(4);
  EXPECT_EQ(Buttons(), "10100");
  Select(3);
  EXPECT_EQ(Buttons(), "11000");
}

TEST_F(StartupState, LinkOnlyEntriesEmptyAndDisableTheFieldAndKeepTheDirectory) {
  os.AddDirectory("D:\\Orvik");
  os.AddFile("D:\\Orvik\\ORVIK.exe");
  os.AddFile(kList, "D:\\Orvik\nC:\\x\nC:\\x\nC:\\x\nC:\\x\n0\n");
  TForm1& f = Start();
  int changes = 0;
  const auto handler = f.Edit1.OnChange;
  f.Edit1.OnChange = [&](ui::TObject* s) {
    ++changes;
    handler(s);
  };
  Select(7);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(f.Edit1.Text(), "");
  EXPECT_FALSE(f.Edit1.Enabled());
  EXPECT_EQ(Buttons(), "01000");
  EXPECT_EQ(f.InstallDir(), "D:\\Orvik");
  EXPECT_EQ((*f.DirList())[0], "D:\\Orvik");
  Select(9);
  EXPECT_EQ(changes, 1);
  Select(0);
  EXPECT_EQ(f.Edit1.Text(), "D:\\Orvik");
  EXPECT_TRUE(f.Edit1.Enabled());
  EXPECT_EQ(Buttons(), "10111");
}

TEST_F(StartupState, TypingRevalidatesOnEveryKeyAndReturnLeavesTheField) {
  os.AddDirectory("D:\\Or");
  os.AddFile("D:\\Or\\ORVIK.exe");
  TForm1& f = Start();
  f.Edit1.SetFocus();
  f.Edit1.SetText("");
  Type("D:\\O");
  EXPECT_EQ(Buttons(), "11000");
  EXPECT_EQ((*f.DirList())[0], "D:\\O");
  Type("r");
  EXPECT_EQ(Buttons(), "10111");
  EXPECT_EQ((*f.DirList())[0], "D:\\Or");

  int exits = 0;
  const auto exitHandler = f.Edit1.OnExit;
  f.Edit1.OnExit = [&](ui::TObject* s) {
    ++exits;
    exitHandler(s);
  };
  Type("\r");
  EXPECT_EQ(f.Edit1.Text(), "D:\\Or");
  EXPECT_EQ(exits, 1);
  EXPECT_TRUE(f.Panel1.Focused());
}

TEST_F(StartupState, TheMarkerCutsTheTextAndOnlyThenIsItTrimmed) {
  TForm1& f = Start();
  f.Edit1.SetText("  D:\\A ( recommended");
  EXPECT_EQ(f.InstallDir(), "D:\\A");
  f.Edit1.SetText(" ( recommended !)");
  EXPECT_EQ(f.InstallDir(), "");
  f.Edit1.SetText("  D:\\A  ");
  EXPECT_EQ(f.InstallDir(), "  D:\\A  ");
  f.Edit1.SetText("D:\\A (recommended)");
  EXPECT_EQ(f.InstallDir(), "D:\\A (recommended)");
  Select(4);
  EXPECT_EQ(f.InstallDir(), "Please select directory ->");
  EXPECT_EQ(Buttons(), "11000");
}

TEST_F(StartupState, ProtectedModeOffersNothingOnTheOwnDirectoryAndOnlyInstallElsewhere) {
  os.AddDirectory("C:\\Tools");
  os.AddFile("C:\\Tools\\ORVIK.exe");
  os.AddDirectory("D:\\Or");
  os.AddFile("D:\\Or\\ORVIK.exe");
  os.AddFile(kList, "C:\\Tools\nD:\\Or\nC:\\x\nC:\\x\nC:\\x\n0\n");
  TForm1& f = Start("/x DNR");
  EXPECT_TRUE(f.ProtectOwnDir());
  EXPECT_EQ(Buttons(), "00000");
  f.Edit1.SetText(" c:\\TOOLS  ");
  EXPECT_EQ(Buttons(), "00000");
  EXPECT_TRUE(f.Edit1.Enabled());
  f.Edit1.SetText("C:\\Tools\\");  // a trailing backslash is another text
  EXPECT_EQ(Buttons(), "11000");
  Select(1);  // installed, but Execute, Remove and Update stay off all run
  EXPECT_EQ(Buttons(), "11000");
  Select(0);  // entry 0 remembers the text last shown for it
  EXPECT_EQ(f.Edit1.Text(), "C:\\Tools\\");
  EXPECT_EQ(Buttons(), "11000");
  Select(6);
  EXPECT_EQ(Buttons(), "01000");
}

TEST_F(StartupState, ProtectedModeOnADriveRootCountsTheBackslash) {
  os.exePath = "C:\\vandrel.exe";
  TForm1& f = Start("\"/x\" \"DNR\"");
  f.Edit1.SetText("c:\\");
  EXPECT_EQ(Buttons(), "00000");
  f.Edit1.SetText("C:");
  EXPECT_EQ(Buttons(), "11000");
}

TEST_F(StartupState, OtherCommandLinesNameAFileToDeleteOrAreIgnored) {
  EXPECT_EQ(Start("/x dnr").DeleteOnClose(), "dnr");
  EXPECT_FALSE(form->ProtectOwnDir());
  EXPECT_EQ(Start("/x \"C:\\a b\\old.exe\"").DeleteOnClose(), "C:\\a b\\old.exe");
  for (const char* ignored : {"/X DNR", "/x", "/x DNR more", "DNR"}) {
    Start(ignored);
    EXPECT_FALSE(form->ProtectOwnDir()) << ignored;
    EXPECT_EQ(form->DeleteOnClose(), "") << ignored;
  }
}

TEST_F(StartupState, CloseRemembersOnlyEntriesZeroToThreeAndKeepsExtraLines) {
  os.AddFile(kList, "a\nb\nc\nd\ne\n3\nsix\nseven");
  Start();
  EXPECT_EQ(form->ComboBox1.ItemIndex(), 3);
  Select(4);
  Close();
  EXPECT_EQ(os.FileContent(kList),
            "C:\\ORVIK ( recommended !)\r\nC:\\ORVIK ( recommended !)\r\nC:\\ORVIK ( recommended !)\r\nC:\\BRUNDA\r\n"
            "Please select directory ->\r\n3\r\nsix\r\nseven\r\n");
  Start();
  Select(9);
  Close();
  EXPECT_NE(os.FileContent(kList).find("\r\n3\r\nsix\r\n"), std::string::npos);
  Start();
  Select(2);
  Close();
  EXPECT_NE(os.FileContent(kList).find("\r\n2\r\nsix\r\n"), std::string::npos);
}

TEST_F(StartupState, ALineFiveBeyondTheListShowsThatLineInEntryZero) {
  os.AddFile(kList, "a\nb\nc\nd\ne\n14\n6\n7\n8\n9\n10\n11\n12\n13\nfourteen\n");
  TForm1& f = Start();
  EXPECT_EQ(f.ComboBox1.ItemIndex(), 0);
  EXPECT_EQ(f.Edit1.Text(), "fourteen");
}

TEST_F(StartupState, AFailedSaveKeepsTheListAndTheWindowAndALaterCloseTriesAgain) {
  TForm1& f = Start("/x C:\\Tools\\old.tmp");
  os.AddFile("C:\\Tools\\old.tmp");
  os.unwritable.insert("c:\\tools\\vandrel.ini");
  EXPECT_FALSE(f.CloseQuery());
  EXPECT_EQ(Said(), (std::vector<std::string>{"The directory list could not be saved to \"C:\\Tools\\vandrel.ini\"."}));
  EXPECT_TRUE(f.DirList().has_value());
  EXPECT_TRUE(os.HasFile("C:\\Tools\\old.tmp"));  // the close stopped before it
  os.unwritable.clear();
  EXPECT_TRUE(f.CloseQuery());
  EXPECT_TRUE(os.HasFile(kList));
  EXPECT_FALSE(os.HasFile("C:\\Tools\\old.tmp"));
}

TEST_F(StartupState, ALastingSaveFailureAsksFromTheSecondCloseOnAndYesClosesWithoutTheList) {
  TForm1& f = Start("/x C:\\Tools\\old.tmp");
  os.AddFile("C:\\Tools\\old.tmp");
  os.unwritable.insert("c:\\tools\\vandrel.ini");
  const std::string error =
      "ErrorBox Vandrel download manager: The directory list could not be saved to \"C:\\Tools\\vandrel.ini\".";
  const std::string question =
      "SystemMessageBox 2560 Vandrel download manager: The directory list cannot be saved. Close without saving it ? "
      "/YesNo Question SecondDefault";
  EXPECT_FALSE(f.CloseQuery());
  os.messageBoxAnswers = {platform::BoxAnswer::No};
  EXPECT_FALSE(f.CloseQuery());
  EXPECT_EQ(Boxes(), (std::vector<std::string>{error, error, question}));
  EXPECT_TRUE(f.DirList().has_value());
  EXPECT_TRUE(os.HasFile("C:\\Tools\\old.tmp"));

  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  EXPECT_TRUE(f.CloseQuery());
  EXPECT_EQ(Boxes().size(), 5u);
  EXPECT_FALSE(f.DirList().has_value());
  EXPECT_FALSE(os.HasFile("C:\\Tools\\old.tmp"));
  EXPECT_FALSE(os.HasFile(kList));
}

}  // namespace
