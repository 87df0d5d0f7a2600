// TSelDir with the shell's real folder browser: what it opens on, what a
// write while it is open does, what OK and Cancel give back, and where an
// error while it opens goes.
#include <gtest/gtest.h>

#include <stdexcept>

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
// clang-format on

#include "platform/path.h"
#include "platform/win32/win32_platform.h"
#include "seldir/seldir.h"
#include "tests/win32/dialog_robot.h"
#include "tests/win32/win32_test_support.h"

namespace {

using seldir::TSelDir;
using seldir::TShellFolder;
using win32_tests::DialogRobot;
using win32_tests::FindThreadDialog;

constexpr const char* kBrowserCaption = "Browse for Folder";

std::string Lower(const std::string& text) { return platform::LowerAscii(text); }

// Opens the tree's only top item and selects its child named `name`, as a
// user's clicks do; false when the tree has more top items or no such child.
// The text of a tree item.
std::string ItemText(HWND tree, LRESULT item) {
  char text[MAX_PATH] = {};
  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = reinterpret_cast<HTREEITEM>(item);
  data.pszText = text;
  data.cchTextMax = MAX_PATH;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

bool SelectInSingleRoot(HWND tree, const std::string& name) {
  const auto root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  if (root == 0 || SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, root) != 0) return false;
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, root);
  for (auto item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, root); item != 0;
       item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, item)) {
    if (ItemText(tree, item) == name) return SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, item) != 0;
  }
  return false;
}

class SelDirBrowser : public ::testing::Test {
 protected:
  SelDirBrowser() {
    CreateDirectoryA((dir / "A").c_str(), nullptr);
    CreateDirectoryA((dir / "B").c_str(), nullptr);
    // Wine's browser finds a path by comparing its item ids byte for byte
    // with those it made when it listed the folder, the last access time
    // among them (to two seconds). A folder made a moment ago gets a new
    // access time when it is first listed, which the browser does itself
    // after it has taken its ids: a later selection then misses it whenever
    // the two times fall into different two-second steps. Listed once here,
    // the folders keep their access times while the browser is open.
    for (const std::string& folder : {dir.Path(), dir / "A", dir / "B"}) {
      WIN32_FIND_DATAA found;
      const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
      if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
    sel.Title = "Select directory";
  }

  // Waits for the browser and checks it while it is open.
  std::function<bool()> BrowserOpens() {
    return [this] {
      browser = FindThreadDialog(kBrowserCaption);
      if (browser == nullptr) return false;
      EXPECT_EQ(reinterpret_cast<HWND>(sel.BrowseWindow().value), browser);
      EXPECT_NE(win32_tests::FindChildWindow(browser, "Static", "Select directory"), nullptr);
      return true;
    };
  }
  // The text of the item the browser's tree shows selected; "" for none.
  std::string SelectedItem() const {
    HWND tree = win32_tests::FindChildWindow(browser, "SysTreeView32");
    const auto item = tree != nullptr ? SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) : 0;
    return item != 0 ? ItemText(tree, item) : std::string();
  }
  // Waits until the tree's selection has left the item `name`: the browser
  // follows a selection request in steps of its own, and OK before then
  // would give back the old one.
  std::function<bool()> SelectionLeaves(const std::string& name) {
    return [this, name] {
      const std::string selected = SelectedItem();
      return !selected.empty() && selected != name;
    };
  }
  // Waits until the tree shows the item `name` selected: any other item is
  // not yet (or no longer) the selection asked for.
  std::function<bool()> SelectionIs(const std::string& name) {
    return [this, name] { return SelectedItem() == name; };
  }
  std::function<bool()> PressButton(int id) {
    return [this, id] {
      win32_tests::Press(GetDlgItem(browser, id));
      return true;
    };
  }

  platform::Win32Platform os;
  TSelDir sel{nullptr, os};
  win32_tests::TempDir dir{"seldir browser"};
  HWND browser = nullptr;
};

TEST_F(SelDirBrowser, OpensOnTheDirectoryAndOkGivesItBack) {
  sel.SetDirectory(dir / "A\\");
  DialogRobot robot({BrowserOpens(), PressButton(IDOK)});
  EXPECT_TRUE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(Lower(sel.Directory()), Lower(dir / "A"));
  EXPECT_FALSE(sel.BrowseWindow());
}

TEST_F(SelDirBrowser, AWriteWhileItIsOpenMovesTheSelection) {
  sel.SetDirectory(dir / "A");
  DialogRobot robot({BrowserOpens(), SelectionIs("A"),
                     [this] {
                       sel.SetDirectory(dir / "B\\");
                       return true;
                     },
                     SelectionIs("B"), PressButton(IDOK)});
  EXPECT_TRUE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(Lower(sel.Directory()), Lower(dir / "B"));
}

TEST_F(SelDirBrowser, CancelKeepsTheCurrentDirectoryThatAnEmptyDirectoryBecame) {
  char saved[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  SetCurrentDirectoryA((dir / "B").c_str());
  DialogRobot robot({BrowserOpens(), PressButton(IDCANCEL)});
  const bool result = sel.Execute();
  SetCurrentDirectoryA(saved);
  EXPECT_FALSE(result);
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(Lower(sel.Directory()), Lower(dir / "B"));
}

TEST_F(SelDirBrowser, ADriveRootComesBackWithItsBackslash) {
  sel.SetDirectory(dir / "A");
  DialogRobot robot({BrowserOpens(),
                     [this] {
                       SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("C:\\"));
                       return true;
                     },
                     SelectionLeaves("A"), PressButton(IDOK)});
  EXPECT_TRUE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(Lower(sel.Directory()), "c:\\");
}

TEST_F(SelDirBrowser, AFolderWithoutAFileSystemPathIsNoChoice) {
  sel.SetDirectory(dir / "A");
  LPITEMIDLIST computer = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
  DialogRobot robot({BrowserOpens(),
                     [&] {
                       // wParam FALSE: lParam is an item id list.
                       SendMessageA(browser, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
                       return true;
                     },
                     SelectionLeaves("A"), PressButton(IDOK)});
  EXPECT_FALSE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(Lower(sel.Directory()), Lower(dir / "A"));
  CoTaskMemFree(computer);
}

TEST_F(SelDirBrowser, ShellFoldersGiveTheirPathsAndRootTheBrowser) {
  char buffer[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, buffer), S_OK);
  const std::string documents = buffer;
  sel.SetFolder(TShellFolder::SdDrives);
  EXPECT_EQ(sel.Directory(), "");
  sel.SetFolder(TShellFolder::SdPersonal);
  // As the shell gives it: Wine adds a backslash to this folder's path.
  EXPECT_TRUE(Lower(sel.Directory()) == Lower(documents) || Lower(sel.Directory()) == Lower(documents + "\\"))
      << sel.Directory();

  // Rooted at the programs folder of the start menu, the tree holds that
  // folder alone; the user opens it and picks a folder inside. (Wine selects
  // nothing by path below a root, so the tree is worked directly.)
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, buffer), S_OK);
  const std::string name = win32_tests::UniqueName("seldir root ", "");
  const std::string inside = std::string(buffer) + "\\" + name;
  ASSERT_TRUE(CreateDirectoryA(inside.c_str(), nullptr));
  sel.SetFolder(TShellFolder::SdPrograms);
  DialogRobot robot({BrowserOpens(),
                     [&] {
                       HWND tree = win32_tests::FindChildWindow(browser, "SysTreeView32");
                       EXPECT_TRUE(SelectInSingleRoot(tree, name));
                       return true;
                     },
                     PressButton(IDOK)});
  const bool result = sel.Execute();
  win32_tests::RemoveTree(inside);
  EXPECT_TRUE(result);
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(Lower(sel.Directory()), Lower(inside));
  EXPECT_EQ(sel.Folder(), TShellFolder::SdPrograms);
}

// A platform whose browser selection fails.
struct FailingSelection : platform::Win32Platform {
  void SelectInBrowser(platform::WindowHandle, const std::string&) override {
    throw std::runtime_error("The selection failed");
  }
};

TEST_F(SelDirBrowser, AnErrorWhileItOpensReachesTheErrorBoxAndTheBrowserStillOpens) {
  FailingSelection failing;
  sel.SetPlatform(failing);
  sel.SetDirectory(dir / "A");
  ui::Application.ShowException = [&](const std::string& message) {
    failing.ApplicationMessageBox(message, ui::Application.Title, platform::kErrorBox);
  };
  win32_tests::gReportedErrors.clear();
  std::string boxText;
  DialogRobot robot({[&] {
                       HWND box = FindThreadDialog(ui::Application.Title);
                       if (box == nullptr) return false;
                       boxText = win32_tests::TextOf(GetDlgItem(box, 0xFFFF));
                       win32_tests::Press(win32_tests::FindChildWindow(box, "Button"));
                       return true;
                     },
                     BrowserOpens(), PressButton(IDCANCEL)});
  const bool result = sel.Execute();
  ui::Application.ShowException = nullptr;
  EXPECT_FALSE(result);
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(boxText, "The selection failed.");
  EXPECT_EQ(win32_tests::gReportedErrors, (std::vector<std::string>{"The selection failed"}));
}

}  // namespace
