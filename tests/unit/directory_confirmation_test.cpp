// What the old-style directory dialog does with the directory the user
// confirms: take it, create it with its parents after asking, or refuse it.
#include "seldir/directory_confirmation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fake_platform.h"

namespace {

using seldir::ConfirmDirectory;
using seldir::ForceDirectories;
using seldir::TSelectDirOpt;
using seldir::TSelectDirOpts;

constexpr platform::WindowHandle kDialog{0x999};  // 2457
const TSelectDirOpts kAll{TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate, TSelectDirOpt::sdPrompt};

class DirectoryConfirmation : public ::testing::Test {
 protected:
  DirectoryConfirmation() { os.AddDirectory("C:\\"); }
  testing_support::FakePlatform os;
};

TEST_F(DirectoryConfirmation, AnExistingDirectoryIsTakenWithoutAQuestion) {
  os.AddDirectory("C:\\Data");
  EXPECT_TRUE(ConfirmDirectory(os, kDialog, "C:\\Data", kAll));
  EXPECT_TRUE(ConfirmDirectory(os, kDialog, "C:\\Data", TSelectDirOpts{}));
  EXPECT_EQ(os.CallCount("SystemMessageBox"), 0);
  EXPECT_EQ(os.CallCount("MakeDirectory"), 0);
}

TEST_F(DirectoryConfirmation, AMissingDirectoryIsRefusedUnlessCreatingIsAllowed) {
  EXPECT_FALSE(ConfirmDirectory(os, kDialog, "C:\\New", TSelectDirOpts{TSelectDirOpt::sdPerformCreate}));
  EXPECT_EQ(os.calls.back(), "SystemMessageBox 2457 Select Directory: The directory \"C:\\New\" does not exist. /Ok Error");
  // Allowed but not to be created here: the caller gets it as it is.
  EXPECT_TRUE(ConfirmDirectory(os, kDialog, "C:\\New", TSelectDirOpts{TSelectDirOpt::sdAllowCreate}));
  EXPECT_EQ(os.CallCount("MakeDirectory"), 0);
  EXPECT_EQ(os.CallCount("SystemMessageBox"), 1);
}

TEST_F(DirectoryConfirmation, WithPromptTheUserIsAskedAndNoLeavesEverythingAsItWas) {
  os.messageBoxAnswers = {platform::BoxAnswer::No, platform::BoxAnswer::Yes};
  EXPECT_FALSE(ConfirmDirectory(os, kDialog, "C:\\A\\B", kAll));
  EXPECT_EQ(os.calls.back(),
            "SystemMessageBox 2457 Select Directory: The directory \"C:\\A\\B\" does not exist. Create it? /YesNo Question");
  EXPECT_EQ(os.CallCount("MakeDirectory"), 0);

  EXPECT_TRUE(ConfirmDirectory(os, kDialog, "C:\\A\\B", kAll));
  EXPECT_TRUE(os.DirectoryExists("C:\\A\\B"));
  EXPECT_EQ(os.CallCount("MakeDirectory C:\\A"), 2);  // the parent first, then the directory
}

TEST_F(DirectoryConfirmation, WithoutPromptTheDirectoryAndItsParentsAreCreatedSilently) {
  os.AddDirectory("C:\\Have");
  EXPECT_TRUE(ConfirmDirectory(os, kDialog, "C:\\Have\\X\\Y",
                               TSelectDirOpts{TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate}));
  std::vector<std::string> made;
  for (const auto& call : os.calls) {
    if (call.rfind("MakeDirectory", 0) == 0) made.push_back(call);
  }
  EXPECT_EQ(made, (std::vector<std::string>{"MakeDirectory C:\\Have\\X", "MakeDirectory C:\\Have\\X\\Y"}));
  EXPECT_EQ(os.CallCount("SystemMessageBox"), 0);
}

TEST_F(DirectoryConfirmation, ADirectoryThatCannotBeCreatedIsRefusedWithAMessage) {
  os.uncreatable.insert("c:\\locked");
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  EXPECT_FALSE(ConfirmDirectory(os, kDialog, "C:\\Locked\\Sub", kAll));
  EXPECT_EQ(os.calls.back(),
            "SystemMessageBox 2457 Select Directory: The directory \"C:\\Locked\\Sub\" could not be created. /Ok Error");
  EXPECT_FALSE(os.DirectoryExists("C:\\Locked\\Sub"));
  EXPECT_EQ(os.CallCount("MakeDirectory C:\\Locked\\Sub"), 0);  // not below a parent that failed
}

TEST_F(DirectoryConfirmation, AFileIsNeverTakenForADirectory) {
  os.AddFile("C:\\notes.txt");
  EXPECT_FALSE(ConfirmDirectory(os, kDialog, "C:\\notes.txt", TSelectDirOpts{TSelectDirOpt::sdAllowCreate}));
  EXPECT_EQ(os.calls.back(),
            "SystemMessageBox 2457 Select Directory: \"C:\\notes.txt\" is a file, not a directory. /Ok Error");
  EXPECT_FALSE(ConfirmDirectory(os, kDialog, "", kAll));
}

TEST_F(DirectoryConfirmation, ForceDirectoriesStopsAtRootsAndDropsTrailingBackslashes) {
  EXPECT_TRUE(ForceDirectories(os, "C:\\P\\Q\\"));
  EXPECT_TRUE(os.DirectoryExists("C:\\P\\Q"));
  EXPECT_EQ(os.CallCount("MakeDirectory C:\\P\\Q\\"), 0);
  EXPECT_EQ(std::count(os.calls.begin(), os.calls.end(), "MakeDirectory C:\\"), 0);  // the root exists

  os.calls.clear();
  os.AddDirectory("\\\\server\\share");
  EXPECT_TRUE(ForceDirectories(os, "\\\\server\\share\\new"));
  EXPECT_EQ(os.calls.back(), "MakeDirectory \\\\server\\share\\new");

  // A missing share cannot be made; nothing is tried above the server.
  os.calls.clear();
  os.uncreatable.insert("\\\\other");
  EXPECT_FALSE(ForceDirectories(os, "\\\\other\\share\\new"));
  EXPECT_EQ(os.CallCount("MakeDirectory \\\\other\\share"), 0);
  EXPECT_FALSE(ForceDirectories(os, ""));
}

// Found by fuzzing: the scripted platform took short names for drive roots,
// so a folder that ForceDirectories made was missing in its other form.
TEST_F(DirectoryConfirmation, AMadeFolderExistsWithAndWithoutItsTrailingBackslash) {
  os.messageBoxAnswers = {platform::BoxAnswer::Yes};
  EXPECT_TRUE(ConfirmDirectory(os, kDialog, "C@\\", kAll));
  EXPECT_TRUE(os.DirectoryExists("C@\\"));
  EXPECT_TRUE(os.DirectoryExists("c@"));

  EXPECT_FALSE(os.DirectoryExists("C:a"));  // a relative name on drive C:, not its root
  EXPECT_TRUE(ForceDirectories(os, "C:a\\"));
  EXPECT_TRUE(os.DirectoryExists("C:a\\"));
  EXPECT_EQ(os.CallCount("MakeDirectory C:a"), 1);

  EXPECT_TRUE(ForceDirectories(os, "E:\\\\"));  // the drive root twice over
  EXPECT_TRUE(os.DirectoryExists("E:\\\\"));
  EXPECT_EQ(os.CallCount("MakeDirectory E:"), 0);
}

}  // namespace
