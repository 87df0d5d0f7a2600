// What the old-style directory dialog does with the directory the user
// confirms: take it, create it with its parents after asking, or refuse it.
#include "seldir/directory_confirmation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fake_files.h"
#include "tests/support/fake_services.h"

namespace {

using seldir::ConfirmDirectory;
using seldir::ForceDirectories;
using seldir::TSelectDirOpt;
using seldir::TSelectDirOpts;

constexpr platform::WindowHandle kDialog{0x999};  // 2457
const TSelectDirOpts kAll{TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate, TSelectDirOpt::sdPrompt};

class DirectoryConfirmation : public ::testing::Test {
 protected:
  DirectoryConfirmation() { files.AddDirectory("C:\\"); }
  testing_support::CallLog log;
  testing_support::FakeFiles files{log};
  testing_support::FakeBoxes boxes{log};
};

TEST_F(DirectoryConfirmation, AnExistingDirectoryIsTakenWithoutAQuestion) {
  files.AddDirectory("C:\\Data");
  EXPECT_TRUE(ConfirmDirectory(files, boxes, kDialog, "C:\\Data", kAll));
  EXPECT_TRUE(ConfirmDirectory(files, boxes, kDialog, "C:\\Data", TSelectDirOpts{}));
  EXPECT_EQ(log.CallCount("SystemMessageBox"), 0);
  EXPECT_EQ(log.CallCount("MakeDirectory"), 0);
}

TEST_F(DirectoryConfirmation, AMissingDirectoryIsRefusedUnlessCreatingIsAllowed) {
  EXPECT_FALSE(ConfirmDirectory(files, boxes, kDialog, "C:\\New", TSelectDirOpts{TSelectDirOpt::sdPerformCreate}));
  EXPECT_EQ(log.calls.back(), "SystemMessageBox 2457 Select Directory: The directory \"C:\\New\" does not exist. /Ok Error");
  // Allowed but not to be created here: the caller gets it as it is.
  EXPECT_TRUE(ConfirmDirectory(files, boxes, kDialog, "C:\\New", TSelectDirOpts{TSelectDirOpt::sdAllowCreate}));
  EXPECT_EQ(log.CallCount("MakeDirectory"), 0);
  EXPECT_EQ(log.CallCount("SystemMessageBox"), 1);
}

TEST_F(DirectoryConfirmation, WithPromptTheUserIsAskedAndNoLeavesEverythingAsItWas) {
  boxes.messageBoxAnswers = {platform::BoxAnswer::No, platform::BoxAnswer::Yes};
  EXPECT_FALSE(ConfirmDirectory(files, boxes, kDialog, "C:\\A\\B", kAll));
  EXPECT_EQ(log.calls.back(),
            "SystemMessageBox 2457 Select Directory: The directory \"C:\\A\\B\" does not exist. Create it? /YesNo Question");
  EXPECT_EQ(log.CallCount("MakeDirectory"), 0);

  EXPECT_TRUE(ConfirmDirectory(files, boxes, kDialog, "C:\\A\\B", kAll));
  EXPECT_TRUE(files.DirectoryExists("C:\\A\\B"));
  EXPECT_EQ(log.CallCount("MakeDirectory C:\\A"), 2);  // the parent first, then the directory
}

TEST_F(DirectoryConfirmation, WithoutPromptTheDirectoryAndItsParentsAreCreatedSilently) {
  files.AddDirectory("C:\\Have");
  EXPECT_TRUE(ConfirmDirectory(files, boxes, kDialog, "C:\\Have\\X\\Y",
                               TSelectDirOpts{TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate}));
  std::vector<std::string> made;
  for (const auto& call : log.calls) {
    if (call.rfind("MakeDirectory", 0) == 0) made.push_back(call);
  }
  EXPECT_EQ(made, (std::vector<std::string>{"MakeDirectory C:\\Have\\X", "MakeDirectory C:\\Have\\X\\Y"}));
  EXPECT_EQ(log.CallCount("SystemMessageBox"), 0);
}

TEST_F(DirectoryConfirmation, ADirectoryThatCannotBeCreatedIsRefusedWithAMessage) {
  files.uncreatable.insert("c:\\locked");
  boxes.messageBoxAnswers = {platform::BoxAnswer::Yes};
  EXPECT_FALSE(ConfirmDirectory(files, boxes, kDialog, "C:\\Locked\\Sub", kAll));
  EXPECT_EQ(log.calls.back(),
            "SystemMessageBox 2457 Select Directory: The directory \"C:\\Locked\\Sub\" could not be created. /Ok Error");
  EXPECT_FALSE(files.DirectoryExists("C:\\Locked\\Sub"));
  EXPECT_EQ(log.CallCount("MakeDirectory C:\\Locked\\Sub"), 0);  // not below a parent that failed
}

TEST_F(DirectoryConfirmation, AFileIsNeverTakenForADirectory) {
  files.AddFile("C:\\notes.txt");
  EXPECT_FALSE(ConfirmDirectory(files, boxes, kDialog, "C:\\notes.txt", TSelectDirOpts{TSelectDirOpt::sdAllowCreate}));
  EXPECT_EQ(log.calls.back(),
            "SystemMessageBox 2457 Select Directory: \"C:\\notes.txt\" is a file, not a directory. /Ok Error");
  EXPECT_FALSE(ConfirmDirectory(files, boxes, kDialog, "", kAll));
}

TEST_F(DirectoryConfirmation, ForceDirectoriesStopsAtRootsAndDropsTrailingBackslashes) {
  EXPECT_TRUE(ForceDirectories(files, "C:\\P\\Q\\"));
  EXPECT_TRUE(files.DirectoryExists("C:\\P\\Q"));
  EXPECT_EQ(log.CallCount("MakeDirectory C:\\P\\Q\\"), 0);
  EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "MakeDirectory C:\\"), 0);  // the root exists

  log.calls.clear();
  files.AddDirectory("\\\\server\\share");
  EXPECT_TRUE(ForceDirectories(files, "\\\\server\\share\\new"));
  EXPECT_EQ(log.calls.back(), "MakeDirectory \\\\server\\share\\new");

  // A missing share cannot be made; nothing is tried above the server.
  log.calls.clear();
  files.uncreatable.insert("\\\\other");
  EXPECT_FALSE(ForceDirectories(files, "\\\\other\\share\\new"));
  EXPECT_EQ(log.CallCount("MakeDirectory \\\\other\\share"), 0);
  EXPECT_FALSE(ForceDirectories(files, ""));
}

// Found by fuzzing: the scripted platform took short names for drive roots,
// so a folder that ForceDirectories made was missing in its other form.
TEST_F(DirectoryConfirmation, AMadeFolderExistsWithAndWithoutItsTrailingBackslash) {
  boxes.messageBoxAnswers = {platform::BoxAnswer::Yes};
  EXPECT_TRUE(ConfirmDirectory(files, boxes, kDialog, "C@\\", kAll));
  EXPECT_TRUE(files.DirectoryExists("C@\\"));
  EXPECT_TRUE(files.DirectoryExists("c@"));

  EXPECT_FALSE(files.DirectoryExists("C:a"));  // a relative name on drive C:, not its root
  EXPECT_TRUE(ForceDirectories(files, "C:a\\"));
  EXPECT_TRUE(files.DirectoryExists("C:a\\"));
  EXPECT_EQ(log.CallCount("MakeDirectory C:a"), 1);

  EXPECT_TRUE(ForceDirectories(files, "E:\\\\"));  // the drive root twice over
  EXPECT_TRUE(files.DirectoryExists("E:\\\\"));
  EXPECT_EQ(log.CallCount("MakeDirectory E:"), 0);
}

}  // namespace
