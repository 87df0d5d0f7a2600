// "Select directory" on the main window: which folder the browser opens on,
// what a confirmed folder changes and what Cancel leaves alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/main_window_fixture.h"

namespace {

using manager::TForm1;

class SelectDirectory : public testing_support::MainWindowFixture {
 protected:
  SelectDirectory() { os.currentDirectory = "C:\\Tools"; }
  // The user confirms `path` in the browser (empty: Cancel).
  void Pick(const std::string& path) {
    os.browseResult = path.empty() ? std::nullopt : std::optional<std::string>(path);
  }
  // The folder the browser was told to select when it opened.
  std::string Preselected() const {
    for (auto call = os.calls.rbegin(); call != os.calls.rend(); ++call) {
      if (call->rfind("BrowseForFolder", 0) == 0 && call != os.calls.rbegin()) {
        const std::string next = *(call - 1);
        const std::string prefix = "SelectInBrowser 2816 ";
        return next.rfind(prefix, 0) == 0 ? next.substr(prefix.size()) : "(none)";
      }
    }
    return "(not opened)";
  }
};

TEST_F(SelectDirectory, TheMainWindowsPickerIsSelDir1TitledSelectDirectory) {
  TForm1& f = Start();
  EXPECT_EQ(f.FindComponent("SelDir1"), &f.SelDir1);
  // Between SpeedButton6 and SpeedButton7 in the window's components.
  const auto& components = f.Components();
  const auto at = std::find(components.begin(), components.end(), &f.SelDir1);
  ASSERT_NE(at, components.end());
  EXPECT_EQ((*(at - 1))->Name, "SpeedButton6");
  EXPECT_EQ((*(at + 1))->Name, "SpeedButton7");
  using Stored = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(f.SelDir1.StoredProperties(),
            (Stored{{"Name", "SelDir1"}, {"OSHelpContext", "0"}, {"Title", "Select directory"}}));

  f.SpeedButton2.Click();
  EXPECT_EQ(os.CallCount("BrowseForFolder 2560 - \"Select directory\""), 1);  // headless: the application's window
}

TEST_F(SelectDirectory, AnExistingInstallDirectoryIsPreselectedAndAPickTakesOver) {
  os.AddDirectory("D:\\Music");
  os.AddDirectory("D:\\Music\\");  // as the list names it
  os.AddDirectory("E:\\Synth");
  os.AddFile("E:\\Synth\\ORVIK.exe");
  os.AddFile("C:\\Tools\\vandrel.ini", "D:\\Music\\\nC:\\x\nC:\\x\nC:\\x\nC:\\x\n0\n");
  TForm1& f = Start();
  ASSERT_EQ(f.InstallDir(), "D:\\Music\\");
  EXPECT_EQ(Buttons(), "11000");

  Pick("E:\\Synth");
  f.SpeedButton2.Click();
  EXPECT_EQ(Preselected(), "D:\\Music");  // one trailing backslash removed
  EXPECT_EQ(f.Edit1.Text(), "E:\\Synth");
  EXPECT_EQ(f.InstallDir(), "E:\\Synth");
  EXPECT_EQ((*f.DirList())[0], "E:\\Synth");
  EXPECT_EQ(Buttons(), "10111");

  Pick("F:\\");  // a drive root as the shell gives it
  f.SpeedButton2.Click();
  EXPECT_EQ(Preselected(), "E:\\Synth");
  EXPECT_EQ(f.Edit1.Text(), "F:\\");
  EXPECT_EQ(f.InstallDir(), "F:\\");
  EXPECT_EQ(Buttons(), "11000");
}

TEST_F(SelectDirectory, CancelLeavesTheFieldTheListAndTheButtonsAsTheyWere) {
  os.AddDirectory("E:\\Synth");
  os.AddFile("E:\\Synth\\SELVO.exe");
  os.AddFile("C:\\Tools\\vandrel.ini", "C:\\x\nE:\\Synth\nC:\\x\nC:\\x\nC:\\x\n1\n");
  TForm1& f = Start();
  ASSERT_EQ(Buttons(), "10111");
  int changes = 0;
  f.Edit1.OnChange = [&](ui::TObject*) { ++changes; };

  Pick("");
  f.SpeedButton2.Click();
  EXPECT_EQ(Preselected(), "E:\\Synth");
  EXPECT_EQ(f.Edit1.Text(), "E:\\Synth");
  EXPECT_EQ(f.InstallDir(), "E:\\Synth");
  EXPECT_EQ((*f.DirList())[1], "E:\\Synth");
  EXPECT_EQ(Buttons(), "10111");
  EXPECT_EQ(changes, 0);

  // A folder without a file-system path counts as Cancel.
  os.browseResult = "";
  f.SpeedButton2.Click();
  EXPECT_EQ(f.Edit1.Text(), "E:\\Synth");
  EXPECT_EQ(changes, 0);
}

TEST_F(SelectDirectory, AMissingDirectoryOpensTheBrowserOnTheFolderPickedBefore) {
  os.AddDirectory("E:\\Synth");
  TForm1& f = Start();
  ASSERT_EQ(f.InstallDir(), "C:\\ORVIK");  // the default, which does not exist

  Pick("");
  f.SpeedButton2.Click();
  EXPECT_EQ(Preselected(), "C:\\Tools");  // nothing picked yet: the current directory

  Pick("E:\\Synth");
  f.SpeedButton2.Click();
  EXPECT_EQ(f.Edit1.Text(), "E:\\Synth");

  f.Edit1.UserChangedText("E:\\Gone");
  Pick("");
  f.SpeedButton2.Click();
  EXPECT_EQ(Preselected(), "E:\\Synth");
  EXPECT_EQ(f.Edit1.Text(), "E:\\Gone");
  EXPECT_EQ(f.InstallDir(), "E:\\Gone");
}

TEST_F(SelectDirectory, IsOfferedOnlyWhereTheFieldTakesADirectory) {
  TForm1& f = Start();
  f.ComboBox1.UserSelected(6);  // a link-only entry
  f.SpeedButton2.Click();
  EXPECT_EQ(os.CallCount("BrowseForFolder"), 0);

  os.commandLine = "\"C:\\Tools\\vandrel.exe\" /x DNR";
  os.AddDirectory("C:\\Tools");
  os.AddFile("C:\\Tools\\vandrel.ini", "C:\\Tools\nC:\\x\nC:\\x\nC:\\x\nC:\\x\n0\n");
  TForm1& own = Start();  // protected mode on the manager's own directory
  own.SpeedButton2.Click();
  EXPECT_EQ(os.CallCount("BrowseForFolder"), 0);
}

}  // namespace
