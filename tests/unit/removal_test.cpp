// Removing a program and the manager itself on a scripted platform with a
// nested file system: the questions, the shortcuts each removal may take,
// the folders no removal may delete, the close sequence and the removal
// batch file's bytes.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "manager/removal_guard.h"
#include "tests/support/main_window_fixture.h"

namespace {

using manager::TForm1;

constexpr const char* kDesktop = "C:\\users\\Public\\Desktop";

class Removal : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    os.folderPath = "";  // the folders not named below have no path
    os.AddDirectory(kDesktop);
    for (const char* name : {"Orvik Studio Pro", "Selvo", "Brunda", "Fennick", "Vandrel download manager", "Mine"}) {
      os.AddFile(std::string(kDesktop) + "\\" + name + ".lnk");
    }
    using platform::SpecialFolder;
    os.knownFolders = {{SpecialFolder::Windows, "C:\\windows"},
                       {SpecialFolder::System, "C:\\windows\\system32"},
                       {SpecialFolder::ProgramFiles, "C:\\Program Files"},
                       {SpecialFolder::ProgramFilesX86, "C:\\Program Files (x86)"},
                       {SpecialFolder::Profile, "C:\\users\\bob"},
                       {SpecialFolder::CommonDesktop, kDesktop},
                       {SpecialFolder::AppData, "C:\\users\\bob\\AppData\\Roaming"},
                       {SpecialFolder::CommonAppData, "C:\\ProgramData"},
                       {SpecialFolder::Documents, "C:\\users\\bob\\Documents"}};
  }
  bool Shortcut(const char* name) const { return os.HasFile(std::string(kDesktop) + "\\" + name + ".lnk"); }
};

TEST_F(Removal, TwoYesAnswersTakeTheShortcutsOfTheProgramsInTheFolderThenTheWholeTree) {
  for (const char* file : {"ORVIK.exe", "SELVO.exe", "FENNICK.exe", "Styles\\Pop\\a.sty"}) {
    os.AddFile(std::string("D:\\Midi Apps\\") + file);
  }
  os.AddFile("D:\\Midi Apps Other\\keep.txt");
  TForm1& f = Start(1, "D:\\Midi Apps");
  os.messageBoxAnswers = {platform::BoxAnswer::Yes, platform::BoxAnswer::Yes};
  f.SpeedButton5.Click();
  const std::vector<std::string> expected = {
      "SystemMessageBox 2560 Vandrel download manager: ATTENTION: The directory \"D:\\Midi Apps\" and all its\r\n"
      "subdirectories with all files are irrevocably deleted !\r\n\r\nDo you really want to do this ? /YesNo Question SecondDefault",
      "SystemMessageBox 2560 Vandrel download manager: Are you sure you want to delete the directory \"D:\\Midi "
      "Apps\" and all its subdirectories with all styles irrevocably !!! /YesNo Question SecondDefault",
      "ShowMessageDialog Vandrel download manager: The selected program as well as the directory \"D:\\Midi Apps\" "
      "and all its subdirectories were successfully deleted."};
  EXPECT_EQ(Boxes(), expected);
  EXPECT_FALSE(Shortcut("Orvik Studio Pro"));
  EXPECT_FALSE(Shortcut("Selvo"));
  EXPECT_FALSE(Shortcut("Fennick"));
  EXPECT_TRUE(Shortcut("Brunda"));
  EXPECT_TRUE(Shortcut("Vandrel download manager"));
  EXPECT_FALSE(os.DirectoryExists("D:\\Midi Apps\\Styles"));
  EXPECT_FALSE(os.HasFile("D:\\Midi Apps\\Styles\\Pop\\a.sty"));
  EXPECT_TRUE(os.HasFile("D:\\Midi Apps Other\\keep.txt"));  // a neighbour with the same start
  EXPECT_EQ(Buttons(), "11000");
  EXPECT_EQ(f.Edit1.Text(), "D:\\Midi Apps");
  EXPECT_EQ((*f.DirList())[1], "D:\\Midi Apps");
}

TEST_F(Removal, AnyAnswerButYesAtEitherQuestionDeletesNothing) {
  os.AddFile("D:\\Selvo\\SELVO.exe");
  TForm1& f = Start(1, "D:\\Selvo");
  using platform::BoxAnswer;
  for (auto answers : {std::deque<BoxAnswer>{BoxAnswer::No}, std::deque<BoxAnswer>{BoxAnswer::Yes, BoxAnswer::No},
                       std::deque<BoxAnswer>{BoxAnswer::None}}) {
    os.messageBoxAnswers = answers;
    f.SpeedButton5.Click();
  }
  EXPECT_EQ(os.CallCount("ShellDeleteTree"), 0);
  EXPECT_EQ(os.CallCount("RemoveFile"), 0);
  EXPECT_EQ(os.CallCount("ShowMessageDialog"), 0);
  EXPECT_TRUE(os.HasFile("D:\\Selvo\\SELVO.exe"));
}

TEST_F(Removal, EntryThreeNeverTakesTheShortcutsOfEntriesZeroToTwo) {
  os.AddFile("D:\\Brunda\\BRUNDA.exe");
  os.AddFile("D:\\Brunda\\ORVIK.exe");
  TForm1& f = Start(3, "D:\\Brunda");
  os.messageBoxAnswers = {platform::BoxAnswer::Yes, platform::BoxAnswer::Yes};
  f.SpeedButton5.Click();
  EXPECT_FALSE(Shortcut("Brunda"));
  EXPECT_TRUE(Shortcut("Orvik Studio Pro"));
  EXPECT_TRUE(Shortcut("Fennick"));  // its program is not in the folder
  EXPECT_FALSE(os.DirectoryExists("D:\\Brunda"));
}

TEST_F(Removal, AProgramFileGoneBehindTheManagersBackLeavesTheFolder) {
  os.AddFile("D:\\Orvik\\ORVIK.exe");
  os.AddFile("D:\\Orvik\\FENNICK.exe");
  TForm1& f = Start(0, "D:\\Orvik");
  os.RemoveFile("D:\\Orvik\\ORVIK.exe");
  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::Yes, platform::BoxAnswer::Yes};
  f.RemoveProgram();  // the button went off with the file; the handler does not ask
  EXPECT_EQ(Boxes().back(),
            "ShowMessageDialog Vandrel download manager: The program does not exist and therefore cannot be removed !");
  EXPECT_FALSE(Shortcut("Fennick"));
  EXPECT_TRUE(Shortcut("Orvik Studio Pro"));
  EXPECT_TRUE(os.HasFile("D:\\Orvik\\FENNICK.exe"));
  EXPECT_EQ(os.CallCount("ShellDeleteTree"), 0);
}

// The folder itself went: the guard has nothing to look at, and the removal
// asks as usual, then finds no program and deletes nothing.
TEST_F(Removal, AFolderGoneBehindTheManagersBackIsAskedAboutThenFoundWithoutItsProgram) {
  os.AddFile("D:\\Orvik\\ORVIK.exe");
  TForm1& f = Start(0, "D:\\Orvik");
  ASSERT_EQ(os.ShellDeleteTree("D:\\Orvik"), 0);
  os.calls.clear();
  os.messageBoxAnswers = {platform::BoxAnswer::Yes, platform::BoxAnswer::Yes};
  f.RemoveProgram();
  const std::vector<std::string> said = Said();
  ASSERT_EQ(said.size(), 3u);
  EXPECT_EQ(said[0].rfind("ATTENTION: The directory \"D:\\Orvik\"", 0), 0u);
  EXPECT_EQ(said[1].rfind("Are you sure you want to delete the directory \"D:\\Orvik\"", 0), 0u);
  EXPECT_EQ(said[2], "The program does not exist and therefore cannot be removed !");
  EXPECT_EQ(os.CallCount("ShellDeleteTree"), 0);
  EXPECT_TRUE(Shortcut("Orvik Studio Pro"));
}

// Only a folder that is not there and whose name passes counts as missing;
// a missing drive, a relative path or a missing user's profile stay refused.
TEST_F(Removal, OnlyAnAcceptableNameCanBeMissing) {
  using manager::RemovalCheck;
  os.AddDirectory("D:\\Orvik");
  os.driveRoots = {"C:\\", "D:\\"};
  EXPECT_EQ(manager::CheckRemoval(os, "D:\\Orvik"), RemovalCheck::removable);
  EXPECT_EQ(manager::CheckRemoval(os, "D:\\Gone"), RemovalCheck::missing);
  for (const char* refused : {"Q:\\", "Gone", "C:\\users\\carol", "C:\\Windows\\Gone\\..", "D:\\"}) {
    EXPECT_EQ(manager::CheckRemoval(os, refused), RemovalCheck::refused) << refused;
  }
  EXPECT_FALSE(manager::MayRemoveDirectory(os, "D:\\Gone"));  // nothing missing is ever deleted
}

TEST_F(Removal, AFailedShellOperationShowsNoSuccess) {
  os.AddFile("D:\\Orvik\\ORVIK.exe");
  TForm1& f = Start(0, "D:\\Orvik");
  os.deleteTreeResult = 0x78;
  os.messageBoxAnswers = {platform::BoxAnswer::Yes, platform::BoxAnswer::Yes};
  f.SpeedButton5.Click();
  EXPECT_EQ(os.CallCount("ShellDeleteTree D:\\Orvik"), 1);
  EXPECT_EQ(os.CallCount("ShowMessageDialog"), 0);
  EXPECT_EQ(Buttons(), "10111");  // the program is still there
}

TEST_F(Removal, SystemFoldersRootsAndOddPathsAreRefusedBeforeAnyQuestion) {
  const manager::WellKnown wellKnown = manager::WellKnownFolders(os);
  for (const char* refused :
       {"C:\\", "D:", "D:\\\\", "Orvik", "C:Orvik", "\\\\server\\share", "\\\\server\\share\\", "C:\\Or*", "C:\\a\\?",
        "C:\\Windows", "c:\\windows\\system32\\", "C:\\Program Files", "C:/Program Files (x86)", "C:\\users",
        "C:\\users\\bob", "C:\\users\\alice", "C:\\users\\bob\\AppData", "C:\\ProgramData", kDesktop,
        "C:\\Program Files\\..", "C:\\x\\.\\y", "\\\\.\\C:\\Program Files", "\\\\?\\C:\\Windows",
        "C:\\Orvik:stream", "C:\\Orvik\\x:$DATA", "C:\\Or\tvik"}) {
    EXPECT_FALSE(manager::IsRemovableDirectory(refused, wellKnown)) << refused;
  }
  for (const char* removable :
       {"C:\\Program Files\\Orvik", "C:\\Program Files (x86)\\Vandrel\\Selvo", "C:\\users\\bob\\Music\\Orvik",
        "\\\\server\\share\\Orvik", "D:\\Orvik", "C:\\windows2", "C:\\ProgramData\\Orvik"}) {
    EXPECT_TRUE(manager::IsRemovableDirectory(removable, wellKnown)) << removable;
  }

  // Short names are read in their long form.
  os.longNames = {{"c:\\progra~1", "C:\\Program Files"}, {"d:\\orvik~1", "D:\\Orvik Studio"}};
  os.AddDirectory("C:\\PROGRA~1\\Orvik");  // the scripted file system has no aliases of its own
  os.AddDirectory("D:\\ORVIK~1");
  EXPECT_FALSE(manager::MayRemoveDirectory(os, "C:\\PROGRA~1"));
  EXPECT_TRUE(manager::MayRemoveDirectory(os, "C:\\PROGRA~1\\Orvik"));
  EXPECT_TRUE(manager::MayRemoveDirectory(os, "D:\\ORVIK~1"));

  os.AddFile("C:\\PROGRA~1\\ORVIK.exe");  // the scripted file system has no aliases
  TForm1& f = Start(0, "C:\\PROGRA~1");
  os.messageBoxAnswers = {platform::BoxAnswer::Yes, platform::BoxAnswer::Yes};
  f.SpeedButton5.Click();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "ShowMessageDialog Vandrel download manager: The directory \"C:\\PROGRA~1\" is not a "
                         "program's own folder and will not be removed !"}));
  EXPECT_EQ(os.CallCount("RemoveFile"), 0);
  EXPECT_TRUE(os.HasFile("C:\\PROGRA~1\\ORVIK.exe"));
}

// Another drive letter onto the profile, a junction onto the users folder:
// other spellings of guarded folders, refused by their identity. A folder
// that cannot be looked at is refused too.
TEST_F(Removal, GuardedFoldersAreKnownByIdentityWhateverTheSpelling) {
  os.knownFolders[platform::SpecialFolder::Downloads] = "C:\\users\\bob\\Downloads";
  os.knownFolders[platform::SpecialFolder::Users] = "C:\\users";
  for (const char* folder : {"C:\\users\\bob\\Downloads\\Orvik", "C:\\users\\alice", "D:\\Orvik"}) os.AddDirectory(folder);
  os.driveRoots = {"C:\\", "D:\\", "X:\\"};
  os.folderAliases = {{"x:\\", "C:\\users\\bob\\"}, {"c:\\documents and settings", "C:\\users"},
                      {"d:\\mirror", "C:\\users\\alice"}};
  for (const char* refused : {"X:\\Downloads", "C:\\Documents and Settings\\bob", "D:\\Mirror", "D:\\Missing"}) {
    EXPECT_FALSE(manager::MayRemoveDirectory(os, refused)) << refused;
  }
  for (const char* removable : {"X:\\Downloads\\Orvik", "D:\\Orvik"}) {
    EXPECT_TRUE(manager::MayRemoveDirectory(os, removable)) << removable;
  }
}

// A 32-bit process is shown the 32-bit folders under both names; the
// environment and Sysnative name the native ones.
TEST_F(Removal, AThirtyTwoBitProcessGuardsTheNativeFoldersToo) {
  using platform::SpecialFolder;
  for (SpecialFolder kind : {SpecialFolder::ProgramFiles, SpecialFolder::ProgramFilesX86}) {
    os.knownFolders[kind] = "C:\\Program Files (x86)";
  }
  os.knownFolders[SpecialFolder::CommonFiles] = "C:\\Program Files (x86)\\Common Files";
  os.environment = {{"ProgramW6432", "C:\\Program Files"}, {"CommonProgramW6432", "D:\\Common Files"}};
  const manager::WellKnown wellKnown = manager::WellKnownFolders(os);
  for (const char* refused : {"C:\\Program Files", "D:\\Common Files", "C:\\Windows\\Sysnative", "D:\\"}) {
    EXPECT_FALSE(manager::IsRemovableDirectory(refused, wellKnown)) << refused;
  }
  EXPECT_TRUE(manager::IsRemovableDirectory("C:\\Program Files\\Orvik", wellKnown));
}

TEST_F(Removal, SelfRemovalModeOnlyTakesTheManagersShortcut) {
  os.AddFile("D:\\Orvik\\ORVIK.exe");
  TForm1& f = Start(0, "D:\\Orvik");
  f.RemoveManagerShortcut();
  EXPECT_FALSE(Shortcut("Vandrel download manager"));
  EXPECT_TRUE(Shortcut("Orvik Studio Pro"));
  EXPECT_EQ(Boxes().size(), 0u);
  f.RemoveManagerShortcut();  // no shortcut left: nothing to say
  EXPECT_EQ(Boxes().size(), 0u);
}

class Shutdown : public Removal {};

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
// without a short name stays, and the batch file keeps its five lines.
TEST_F(Shutdown, APathTheConsoleCannotWriteGoesByItsShortNameOrStays) {
  os.exePath = "C:\\Tools\\vandrel \x80.exe";
  os.consoleLacks = {'\x80'};
  os.shortNames = {{"c:\\tools\\vandrel \x80.ini", "C:\\Tools\\VANDRE~1.INI"},
                   {"c:\\tools\\vandrel \x80.exe", "C:\\Tools\\VANDRE~1.EXE"}};
  Start(0, "D:\\Orvik");
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  form->SpeedButton10.Click();
  EXPECT_EQ(os.FileContent("C:\\Tools\\vandrel \x80.bat"),
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
