// The folder picker's rules on a scripted platform: Directory and Folder,
// Execute with the shell's browser and with the old-style dialog, and the
// published properties.
#include "seldir/seldir.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/fake_platform.h"

namespace {

using platform::WindowHandle;
using seldir::TSelDir;
using seldir::TSelectDirOpt;
using seldir::TSelectDirOpts;
using seldir::TShellFolder;
using Calls = std::vector<std::string>;

class SelDir : public ::testing::Test {
 protected:
  testing_support::FakePlatform os;
  TSelDir sel{nullptr, os};
};

TEST(SelDirCreation, StartsWithTheDefaultsAndNeedsNoPlatform) {
  ui::TComponent owner(nullptr);
  TSelDir sel(&owner);
  sel.Name = "Picker";
  EXPECT_EQ(owner.FindComponent("Picker"), &sel);
  EXPECT_EQ(sel.Directory(), "");
  EXPECT_EQ(sel.Folder(), TShellFolder::SdNone);
  EXPECT_FALSE(sel.OldStyle);
  EXPECT_EQ(sel.OSOptions,
            (TSelectDirOpts{TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate, TSelectDirOpt::sdPrompt}));
  EXPECT_EQ(sel.OSHelpContext, 0);
  EXPECT_EQ(sel.OSRoot, "");
  EXPECT_EQ(sel.Title, "");
  EXPECT_FALSE(sel.BrowseWindow());
  // Only rules that reach the operating system need one.
  sel.SetDirectory("C:\\Data\\");
  EXPECT_EQ(sel.Directory(), "C:\\Data");
  EXPECT_THROW(sel.SetDirectory(""), std::logic_error);
  EXPECT_THROW(sel.Execute(), std::logic_error);
}

TEST_F(SelDir, WritingDirectoryRemovesExactlyOneTrailingBackslash) {
  os.currentDirectory = "C:\\Work";
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\Data\\", "C:\\Data"}, {"C:\\", "C:"},   {"C:\\Data\\\\", "C:\\Data\\"},
      {"\\", ""},                 {"C:\\Data", "C:\\Data"}, {"relative dir", "relative dir"}};
  for (const auto& [written, stored] : cases) {
    sel.SetDirectory(written);
    EXPECT_EQ(sel.Directory(), stored) << written;
  }
  EXPECT_EQ(os.CallCount("SelectInBrowser"), 0);  // no browser is open
}

TEST_F(SelDir, WritingAnEmptyDirectoryStoresTheCurrentDirectoryWhenItCanBeRead) {
  os.currentDirectory = "C:\\Work";
  sel.SetDirectory("");
  EXPECT_EQ(sel.Directory(), "C:\\Work");
  os.currentDirectory = "";  // cannot be read
  sel.SetDirectory("");
  EXPECT_EQ(sel.Directory(), "");
}

TEST_F(SelDir, WritingAFolderStoresItsPath) {
  os.folderPath = "C:\\users\\me\\Documents";
  sel.SetDirectory("D:\\Old");
  sel.SetFolder(TShellFolder::SdPersonal);
  EXPECT_EQ(sel.Directory(), "C:\\users\\me\\Documents");
  EXPECT_EQ(sel.Folder(), TShellFolder::SdPersonal);
  EXPECT_EQ(os.calls, (Calls{"SpecialFolderPath 0 Documents"}));
  // A later Directory replaces the path; the folder stays the browser's root.
  sel.SetDirectory("E:\\Mine\\");
  EXPECT_EQ(sel.Directory(), "E:\\Mine");
  EXPECT_EQ(sel.Folder(), TShellFolder::SdPersonal);
}

TEST_F(SelDir, FoldersWithoutAFileSystemPathLeaveTheDirectoryEmpty) {
  os.folderPath = "";  // the computer's virtual folder
  for (TShellFolder folder : {TShellFolder::SdDrives, TShellFolder::SdDesktop, TShellFolder::SdNone}) {
    sel.SetDirectory("D:\\Old");
    sel.SetFolder(folder);
    EXPECT_EQ(sel.Directory(), "") << static_cast<int>(folder);
    EXPECT_EQ(sel.Folder(), folder);
  }
  // Only SdDrives asks the shell; SdDesktop and SdNone have no path to ask for.
  EXPECT_EQ(os.calls, (Calls{"SpecialFolderPath 0 Drives"}));
}

TEST_F(SelDir, EachFolderAsksTheShellForItsOwnFolder) {
  std::vector<std::string> asked;
  for (int folder = 2; folder < seldir::kShellFolderCount; ++folder) {
    os.calls.clear();
    sel.SetFolder(static_cast<TShellFolder>(folder));
    asked.push_back(os.calls.at(0));
  }
  // The network neighbourhood is its file folder, not the virtual one.
  EXPECT_EQ(asked, (Calls{"SpecialFolderPath 0 UserDesktop", "SpecialFolderPath 0 Drives",
                          "SpecialFolderPath 0 Fonts", "SpecialFolderPath 0 NetworkShortcuts",
                          "SpecialFolderPath 0 Documents", "SpecialFolderPath 0 Programs",
                          "SpecialFolderPath 0 Recent", "SpecialFolderPath 0 SendTo",
                          "SpecialFolderPath 0 StartMenu", "SpecialFolderPath 0 Startup",
                          "SpecialFolderPath 0 Templates"}));
}

TEST_F(SelDir, AFolderRuleWithoutAllocatorOrLocationGoesOn) {
  os.folderPath = "C:\\users\\me\\Documents";
  os.allocatorAvailable = false;  // no box: only the main window's lookups tell of it
  sel.SetFolder(TShellFolder::SdPersonal);
  EXPECT_EQ(sel.Directory(), "C:\\users\\me\\Documents");

  os.allocatorAvailable = true;
  os.locatesFolders = false;
  sel.SetFolder(TShellFolder::SdFonts);
  EXPECT_EQ(sel.Directory(), "");
  EXPECT_EQ(os.CallCount("SystemMessageBox"), 0);
}

TEST_F(SelDir, ExecuteOpensTheBrowserOnTheDirectoryAndTakesTheConfirmedPath) {
  ui::TForm owner(nullptr);
  owner.SetWindowHandle(WindowHandle{0x777});
  TSelDir picker(&owner, os);
  picker.Title = "Select directory";
  picker.SetDirectory("C:\\Data\\");
  os.browseResult = "D:\\Picked";
  os.calls.clear();

  EXPECT_TRUE(picker.Execute());
  EXPECT_EQ(picker.Directory(), "D:\\Picked");
  EXPECT_FALSE(picker.BrowseWindow());
  EXPECT_EQ(os.calls, (Calls{"BrowseForFolder 1911 - \"Select directory\"", "SelectInBrowser 2816 C:\\Data"}));
}

TEST_F(SelDir, AWriteWhileTheBrowserIsOpenMovesItsSelectionAndOnlyThen) {
  sel.SetDirectory("C:\\Data");
  os.whileBrowsing = [&](platform::BrowseRequest&) {
    EXPECT_EQ(sel.BrowseWindow(), os.browseWindow);
    sel.SetDirectory("E:\\Other\\");
  };
  EXPECT_FALSE(sel.Execute());
  EXPECT_EQ(os.CallCount("SelectInBrowser 2816 C:\\Data"), 1);
  EXPECT_EQ(os.CallCount("SelectInBrowser 2816 E:\\Other"), 1);
  EXPECT_EQ(sel.Directory(), "E:\\Other");

  os.whileBrowsing = nullptr;
  os.browseInitializes = false;  // the browser never reported its window
  EXPECT_FALSE(sel.Execute());
  sel.SetDirectory("F:\\Later");
  EXPECT_EQ(os.CallCount("SelectInBrowser"), 2);
}

TEST_F(SelDir, CancelReturnsFalseAndKeepsTheDirectoryThatExecuteNormalised) {
  os.currentDirectory = "C:\\Work";
  EXPECT_FALSE(sel.Execute());  // an empty directory becomes the current one
  EXPECT_EQ(sel.Directory(), "C:\\Work");
  EXPECT_EQ(os.CallCount("SelectInBrowser 2816 C:\\Work"), 1);
  sel.SetDirectory("D:\\Kept\\");
  EXPECT_FALSE(sel.Execute());
  EXPECT_EQ(sel.Directory(), "D:\\Kept");
  EXPECT_EQ(os.CallCount("BrowseForFolder"), 2);
}

TEST_F(SelDir, ADriveRootComesBackWithItsBackslashAndAVirtualFolderIsNoChoice) {
  sel.SetDirectory("C:\\Data");
  os.browseResult = "D:\\";
  EXPECT_TRUE(sel.Execute());
  EXPECT_EQ(sel.Directory(), "D:\\");

  sel.SetDirectory("C:\\Data");
  os.browseResult = "";  // "My Computer" or a network root
  EXPECT_FALSE(sel.Execute());
  EXPECT_EQ(sel.Directory(), "C:\\Data");
}

TEST_F(SelDir, ARootFolderIsGivenToTheBrowser) {
  sel.SetFolder(TShellFolder::SdDesktop);  // the namespace root
  sel.SetDirectory("C:\\Data");
  os.browseResult = "C:\\Data\\Sub";
  os.calls.clear();
  EXPECT_TRUE(sel.Execute());
  EXPECT_EQ(os.calls, (Calls{"BrowseForFolder 2560 NamespaceRoot \"\"", "SelectInBrowser 2816 C:\\Data"}));
  EXPECT_EQ(os.lastBrowse.root, platform::SpecialFolder::NamespaceRoot);

  // A root that cannot be located: the browser shows the whole namespace.
  os.locatesFolders = false;
  os.calls.clear();
  EXPECT_TRUE(sel.Execute());
  EXPECT_EQ(os.CallCount("BrowseForFolder 2560 - "), 1);
}

TEST_F(SelDir, WithoutAWindowedOwnerTheApplicationWindowOwnsTheBrowser) {
  ui::TForm headless(nullptr);  // a form without a real window
  TSelDir picker(&headless, os);
  picker.SetDirectory("C:\\Data");
  picker.Execute();
  sel.SetDirectory("C:\\Data");
  sel.Execute();
  EXPECT_EQ(os.CallCount("BrowseForFolder 2560 "), 2);
}

// A platform whose browser selection fails with an exception.
class ThrowingPlatform : public testing_support::FakePlatform {
 public:
  void SelectInBrowser(WindowHandle, const std::string&) override { throw std::runtime_error("the browser went away"); }
};

TEST(SelDirCallback, AnErrorReachesTheErrorBoxTheBrowserStillOpensAndOtherEventsAreIgnored) {
  ThrowingPlatform os;
  TSelDir sel(nullptr, os);
  sel.SetDirectory("C:\\Data");
  os.whileBrowsing = [&](platform::BrowseRequest& record) {
    EXPECT_EQ(sel.BrowseWindow(), os.browseWindow);  // stored before the failure
    EXPECT_EQ(os.reportedErrors, (std::vector<std::string>{"the browser went away"}));
    EXPECT_NO_THROW(record.callback(os.browseWindow, platform::BrowserEvent::SelectionChanged));
  };
  os.browseResult = "D:\\Picked";
  bool result = false;
  EXPECT_NO_THROW(result = sel.Execute());
  EXPECT_TRUE(result);
  EXPECT_EQ(os.reportedErrors.size(), 1u);  // the selection change asked nothing of the browser
  EXPECT_EQ(sel.Directory(), "D:\\Picked");
  EXPECT_FALSE(sel.BrowseWindow());
}

TEST_F(SelDir, OldStyleStartsAtTheRootAndCancelLeavesTheRootAsDirectory) {
  sel.OldStyle = true;
  sel.OSRoot = "C:\\Root";
  sel.OSHelpContext = 42;
  sel.SetDirectory("D:\\Before");
  os.AddDirectory("C:\\Root\\Sub");
  os.directoryDialog = [](platform::DirectoryDialogRecord& record) {
    EXPECT_EQ(record.directory, "C:\\Root");
    EXPECT_EQ(record.helpContext, 42);
    EXPECT_TRUE(record.confirm(WindowHandle{0x999}, "C:\\Root\\Sub"));
    record.directory = "C:\\Root\\Sub";
    return true;
  };
  EXPECT_TRUE(sel.Execute());
  EXPECT_EQ(sel.Directory(), "C:\\Root\\Sub");
  EXPECT_EQ(os.CallCount("BrowseForFolder"), 0);
  EXPECT_EQ(os.lastDirectoryDialog.owner, os.ApplicationWindow());

  os.directoryDialog = [](platform::DirectoryDialogRecord& record) {
    record.directory = "C:\\Elsewhere";
    return false;
  };
  EXPECT_FALSE(sel.Execute());
  EXPECT_EQ(sel.Directory(), "C:\\Root");

  sel.OSRoot = "";  // without a root, Cancel changes nothing
  EXPECT_FALSE(sel.Execute());
  EXPECT_EQ(sel.Directory(), "C:\\Root");
}

TEST_F(SelDir, OldStyleConfirmsWithTheComponentsOptions) {
  sel.OldStyle = true;
  sel.OSOptions = TSelectDirOpts{};  // no directory may be created
  bool accepted = true;
  os.directoryDialog = [&](platform::DirectoryDialogRecord& record) {
    accepted = record.confirm(WindowHandle{0x999}, "C:\\Missing");
    return false;
  };
  sel.Execute();
  EXPECT_FALSE(accepted);
  EXPECT_EQ(os.CallCount("SystemMessageBox 2457 Select Directory: The directory \"C:\\Missing\" does not exist."), 1);
}

TEST_F(SelDir, PublishedPropertiesAreReadAndWrittenByNameInTheirOrder) {
  EXPECT_EQ(std::vector<std::string_view>(TSelDir::kPublishedProperties.begin(), TSelDir::kPublishedProperties.end()),
            (std::vector<std::string_view>{"Name", "Tag", "Directory", "Folder", "OldStyle", "OSOptions",
                                           "OSHelpContext", "OSRoot", "Title"}));
  using Stored = std::vector<std::pair<std::string, std::string>>;
  // Defaults: only the help context, which declares no default, is written.
  EXPECT_EQ(sel.StoredProperties(), (Stored{{"OSHelpContext", "0"}}));

  os.folderPath = "C:\\users\\me\\Documents";
  sel.SetProperty("Name", "SelDir9");
  sel.SetProperty("Tag", "-3");
  sel.SetProperty("Folder", "SdPersonal");  // through the Folder rule
  EXPECT_EQ(sel.Directory(), "C:\\users\\me\\Documents");
  sel.SetProperty("Directory", "D:\\Data\\");  // through the Directory rule
  sel.SetProperty("OldStyle", "True");
  sel.SetProperty("OSOptions", "[sdPrompt, sdAllowCreate]");
  sel.SetProperty("OSHelpContext", "17");
  sel.SetProperty("OSRoot", "C:\\");
  sel.SetProperty("Title", "Pick one");
  EXPECT_EQ(sel.StoredProperties(),
            (Stored{{"Name", "SelDir9"}, {"Tag", "-3"}, {"Directory", "D:\\Data"}, {"Folder", "SdPersonal"},
                    {"OldStyle", "True"}, {"OSOptions", "[sdAllowCreate, sdPrompt]"}, {"OSHelpContext", "17"},
                    {"OSRoot", "C:\\"}, {"Title", "Pick one"}}));

  sel.SetProperty("OSOptions", "[]");
  EXPECT_EQ(sel.OSOptions, TSelectDirOpts{});
  EXPECT_THROW(sel.SetProperty("Colour", "red"), std::invalid_argument);
  EXPECT_THROW(sel.SetProperty("Folder", "SdNethood"), std::invalid_argument);
  EXPECT_THROW(sel.SetProperty("OSHelpContext", "12x"), std::invalid_argument);
  EXPECT_THROW(sel.SetProperty("OSHelpContext", "4294967296"), std::invalid_argument);
  EXPECT_THROW(sel.SetProperty("OldStyle", "yes"), std::invalid_argument);
  EXPECT_THROW(sel.SetProperty("OSOptions", "[sdPrompt, sdCreate]"), std::invalid_argument);
  EXPECT_EQ(sel.OSHelpContext, 17);  // a refused value changes nothing
}

}  // namespace
