// Removing a program on a scripted platform with a nested file system: the
// questions, the shortcuts each removal may take, the folders no removal may
// delete. The close and the manager's own removal: shutdown_test.cpp.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "manager/removal_guard.h"
#include "tests/support/removal_fixture.h"

namespace {

using manager::TForm1;
using testing_support::kDesktop;

class Removal : public testing_support::RemovalFixture {};

// The guard alone, on the files, the environment and the shell's folders it asks.
class RemovalGuard : public ::testing::Test {
 protected:
  RemovalGuard() {
    testing_support::ScriptGuardedFolders(shell);
    files.AddDirectory(kDesktop);
  }
  manager::RemovalCheck Check(const std::string& directory) {
    return manager::CheckRemoval(files, environment, shell, directory);
  }
  bool MayRemove(const std::string& directory) {
    return manager::MayRemoveDirectory(files, environment, shell, directory);
  }
  manager::WellKnown WellKnownFolders() { return manager::WellKnownFolders(environment, shell); }

  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  testing_support::FakeEnvironment environment{files};
  testing_support::FakeShellFolders shell{log};
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
TEST_F(RemovalGuard, OnlyAnAcceptableNameCanBeMissing) {
  using manager::RemovalCheck;
  files.AddDirectory("D:\\Orvik");
  files.driveRoots = {"C:\\", "D:\\"};
  EXPECT_EQ(Check("D:\\Orvik"), RemovalCheck::removable);
  EXPECT_EQ(Check("D:\\Gone"), RemovalCheck::missing);
  for (const char* refused : {"Q:\\", "Gone", "C:\\users\\carol", "C:\\Windows\\Gone\\..", "D:\\"}) {
    EXPECT_EQ(Check(refused), RemovalCheck::refused) << refused;
  }
  EXPECT_FALSE(MayRemove("D:\\Gone"));  // nothing missing is ever deleted
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

TEST_F(RemovalGuard, SystemFoldersRootsAndOddPathsAreRefused) {
  const manager::WellKnown wellKnown = WellKnownFolders();
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
  files.longNames = {{"c:\\progra~1", "C:\\Program Files"}, {"d:\\orvik~1", "D:\\Orvik Studio"}};
  files.AddDirectory("C:\\PROGRA~1\\Orvik");  // the scripted file system has no aliases of its own
  files.AddDirectory("D:\\ORVIK~1");
  EXPECT_FALSE(MayRemove("C:\\PROGRA~1"));
  EXPECT_TRUE(MayRemove("C:\\PROGRA~1\\Orvik"));
  EXPECT_TRUE(MayRemove("D:\\ORVIK~1"));
}

TEST_F(Removal, AFolderTheGuardRefusesIsRefusedBeforeAnyQuestion) {
  os.longNames = {{"c:\\progra~1", "C:\\Program Files"}};
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
TEST_F(RemovalGuard, GuardedFoldersAreKnownByIdentityWhateverTheSpelling) {
  shell.knownFolders[platform::SpecialFolder::Downloads] = "C:\\users\\bob\\Downloads";
  shell.knownFolders[platform::SpecialFolder::Users] = "C:\\users";
  for (const char* folder : {"C:\\users\\bob\\Downloads\\Orvik", "C:\\users\\alice", "D:\\Orvik"}) {
    files.AddDirectory(folder);
  }
  files.driveRoots = {"C:\\", "D:\\", "X:\\"};
  files.folderAliases = {{"x:\\", "C:\\users\\bob\\"}, {"c:\\documents and settings", "C:\\users"},
                         {"d:\\mirror", "C:\\users\\alice"}};
  for (const char* refused : {"X:\\Downloads", "C:\\Documents and Settings\\bob", "D:\\Mirror", "D:\\Missing"}) {
    EXPECT_FALSE(MayRemove(refused)) << refused;
  }
  for (const char* removable : {"X:\\Downloads\\Orvik", "D:\\Orvik"}) {
    EXPECT_TRUE(MayRemove(removable)) << removable;
  }
}

// A 32-bit process is shown the 32-bit folders under both names; the
// environment and Sysnative name the native ones.
TEST_F(RemovalGuard, AThirtyTwoBitProcessGuardsTheNativeFoldersToo) {
  using platform::SpecialFolder;
  for (SpecialFolder kind : {SpecialFolder::ProgramFiles, SpecialFolder::ProgramFilesX86}) {
    shell.knownFolders[kind] = "C:\\Program Files (x86)";
  }
  shell.knownFolders[SpecialFolder::CommonFiles] = "C:\\Program Files (x86)\\Common Files";
  environment.environment = {{"ProgramW6432", "C:\\Program Files"}, {"CommonProgramW6432", "D:\\Common Files"}};
  const manager::WellKnown wellKnown = WellKnownFolders();
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

}  // namespace
