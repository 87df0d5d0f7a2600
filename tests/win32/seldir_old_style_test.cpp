// TSelDir with OldStyle: our own directory dialog, driven as a user would,
// with the component's options deciding what happens to missing directories.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/path.h"
#include "platform/win32/win32_platform.h"
#include "seldir/seldir.h"
#include "tests/win32/dialog_robot.h"
#include "tests/win32/win32_test_support.h"
#include "platform/win32/directory_dialog.h"

namespace {

using seldir::TSelDir;
using seldir::TSelectDirOpt;
using seldir::TSelectDirOpts;
using win32_tests::DialogRobot;
using win32_tests::FindThreadDialog;
using win32_tests::Press;
using win32_tests::TextOf;
using Step = std::function<bool()>;

constexpr const char* kCaption = "Select Directory";

std::string Lower(const std::string& text) { return platform::LowerAscii(text); }

class SelDirOldStyle : public ::testing::Test {
 protected:
  SelDirOldStyle() {
    CreateDirectoryA((dir / "Alpha").c_str(), nullptr);
    CreateDirectoryA((dir / "Beta").c_str(), nullptr);
    win32_tests::WriteAll(dir / "file.txt", "not a directory");
    sel.OldStyle = true;
    sel.OSRoot = dir.Path();
  }

  HWND Item(int id) const { return GetDlgItem(dialog, id); }
  std::vector<std::string> ListedNames() const {
    std::vector<std::string> names;
    HWND list = Item(platform::win32::kDirectoryListId);
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char name[MAX_PATH] = {};
      SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
      names.push_back(name);
    }
    return names;
  }
  // Selects an entry of the list as a click does; a double click opens it.
  void Choose(const std::string& name, bool open) {
    HWND list = Item(platform::win32::kDirectoryListId);
    SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(platform::win32::kDirectoryListId, open ? LBN_DBLCLK : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }

  Step DialogOpens() {
    return [this] {
      dialog = FindThreadDialog(kCaption);
      return dialog != nullptr;
    };
  }
  Step Type(const std::string& text) {
    return [this, text] {
      SetWindowTextA(Item(platform::win32::kDirectoryFieldId), text.c_str());
      return true;
    };
  }
  Step PressButton(int id) {
    return [this, id] {
      Press(Item(id));
      return true;
    };
  }
  // Waits for a box over the dialog, checks its text and presses a button.
  Step Answer(const std::string& text, int button) {
    return [this, text, button] {
      HWND box = FindThreadDialog(kCaption, dialog);
      if (box == nullptr) return false;
      EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), text);
      Press(GetDlgItem(box, button));
      return true;
    };
  }
  Step StillOpen() {
    return [this] {
      if (FindThreadDialog(kCaption, dialog) != nullptr) return false;  // the box is still closing
      EXPECT_TRUE(IsWindowVisible(dialog));
      return true;
    };
  }

  platform::Win32Platform os;
  TSelDir sel{nullptr, os};
  win32_tests::TempDir dir{"seldir old style"};
  HWND dialog = nullptr;
};

TEST_F(SelDirOldStyle, ListsSubdirectoriesAndTakesTheOneChosen) {
  DialogRobot robot({DialogOpens(),
                     [this] {
                       EXPECT_EQ(Lower(TextOf(Item(platform::win32::kDirectoryFieldId))), Lower(dir.Path()));
                       EXPECT_EQ(ListedNames(), (std::vector<std::string>{"..", "Alpha", "Beta"}));
                       EXPECT_EQ(Item(platform::win32::kDirectoryHelpId), nullptr);  // help context 0
                       Choose("Alpha", true);                                  // opens it: nothing below
                       EXPECT_EQ(ListedNames(), (std::vector<std::string>{".."}));
                       Choose("..", true);
                       Choose("Beta", false);
                       EXPECT_EQ(Lower(TextOf(Item(platform::win32::kDirectoryFieldId))), Lower(dir / "Beta"));
                       return true;
                     },
                     PressButton(IDOK)});
  EXPECT_TRUE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(Lower(sel.Directory()), Lower(dir / "Beta"));
}

TEST_F(SelDirOldStyle, AMissingDirectoryIsCreatedWithItsParentsAfterYes) {
  const std::string created = dir / "New\\Deeper";
  DialogRobot robot({DialogOpens(), Type("New\\Deeper\\"), PressButton(IDOK),
                     Answer("The directory \"" + created + "\" does not exist. Create it?", IDYES)});
  EXPECT_TRUE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(sel.Directory(), created);
  EXPECT_TRUE(win32_tests::IsDirectory(created));
}

TEST_F(SelDirOldStyle, NoKeepsTheDialogOpenAndCancelStoresTheRoot) {
  sel.SetDirectory("C:\\Before");
  const std::string missing = dir / "Missing";
  DialogRobot robot({DialogOpens(), Type(missing), PressButton(IDOK),
                     Answer("The directory \"" + missing + "\" does not exist. Create it?", IDNO), StillOpen(),
                     PressButton(IDCANCEL)});
  EXPECT_FALSE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_FALSE(win32_tests::IsDirectory(missing));
  EXPECT_EQ(sel.Directory(), dir.Path());
}

TEST_F(SelDirOldStyle, WithoutAllowCreateMissingDirectoriesAndFilesAreRefused) {
  sel.OSOptions = TSelectDirOpts{TSelectDirOpt::sdPerformCreate, TSelectDirOpt::sdPrompt};
  const std::string missing = dir / "Missing";
  const std::string file = dir / "file.txt";
  DialogRobot robot({DialogOpens(), Type("Missing"), PressButton(IDOK),
                     Answer("The directory \"" + missing + "\" does not exist.", IDOK), StillOpen(), Type(file),
                     PressButton(IDOK), Answer(std::string(1, '"') + file + "\" is a file, not a directory.", IDOK),
                     StillOpen(), Type(dir / "Alpha"), PressButton(IDOK)});
  EXPECT_TRUE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_FALSE(win32_tests::IsDirectory(missing));
  EXPECT_EQ(Lower(sel.Directory()), Lower(dir / "Alpha"));
}

TEST_F(SelDirOldStyle, AHelpContextShowsAHelpButtonAndAMissingRootStartsAtItsParent) {
  sel.OSHelpContext = 7;
  sel.OSRoot = dir / "Gone\\Too";
  DialogRobot robot({DialogOpens(),
                     [this] {
                       EXPECT_NE(Item(platform::win32::kDirectoryHelpId), nullptr);
                       EXPECT_EQ(Lower(TextOf(Item(platform::win32::kDirectoryFieldId))), Lower(dir / "Gone\\Too"));
                       EXPECT_EQ(ListedNames(), (std::vector<std::string>{"..", "Alpha", "Beta"}));
                       return true;
                     },
                     PressButton(IDCANCEL)});
  EXPECT_FALSE(sel.Execute());
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(sel.Directory(), dir / "Gone\\Too");
}

}  // namespace
