// Commands that find, read and answer the shell's folder browser that
// "Select directory" opens, through the browser's own messages.
#include "tests/e2e/driver.h"
#include "tests/e2e/remote_memory.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace e2e {

namespace {

constexpr const char* kBrowserCaption = "Browse for Folder";

HWND gBrowser = nullptr;  // the browser found by expect-browser

HWND Browser() {
  Expect(gBrowser != nullptr && IsWindow(gBrowser), "the folder browser is not open");
  return gBrowser;
}

// TVITEMA as a process whose handles and pointers are `Pointer`s lays it out:
// TVM_GETITEMA reads the record in the manager's layout, whatever ours is.
template <class Pointer>
struct TreeItemRecord {
  UINT mask;
  Pointer hItem;
  UINT state;
  UINT stateMask;
  Pointer pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  Pointer lParam;
};
using OwnTreeItem = TreeItemRecord<std::uintptr_t>;
static_assert(sizeof(OwnTreeItem) == sizeof(TVITEMA) && offsetof(OwnTreeItem, hItem) == offsetof(TVITEMA, hItem) &&
              offsetof(OwnTreeItem, pszText) == offsetof(TVITEMA, pszText) &&
              offsetof(OwnTreeItem, cchTextMax) == offsetof(TVITEMA, cchTextMax) &&
              offsetof(OwnTreeItem, lParam) == offsetof(TVITEMA, lParam));

template <class Pointer>
std::string ItemLabelIn(Session& s, HWND tree, LPARAM item) {
  using Record = TreeItemRecord<Pointer>;
  RemoteBlock block(s.process.hProcess, sizeof(Record) + MAX_PATH);
  Record data{};
  data.mask = TVIF_TEXT;
  data.hItem = static_cast<Pointer>(item);  // an item of a 32-bit tree is a 4-byte handle
  data.pszText = static_cast<Pointer>(block.At(sizeof data));
  data.cchTextMax = MAX_PATH;
  block.Write(0, &data, sizeof data);
  Expect(SendMessageA(tree, TVM_GETITEMA, 0, block.At(0)) != 0, "cannot read an item of the browser's tree");
  block.Read(block.At(0), &data, sizeof data);  // the tree may point elsewhere
  char text[MAX_PATH] = {};
  block.Read(static_cast<LPARAM>(data.pszText), text, MAX_PATH - 1);
  return text;
}

std::string ItemLabel(Session& s, HWND tree, LPARAM item) {
  return ManagerPointerSize(s.process.hProcess) == 4 ? ItemLabelIn<std::uint32_t>(s, tree, item)
                                                     : ItemLabelIn<std::uintptr_t>(s, tree, item);
}

// The drive letter a tree label names, as "C:", or empty text: the shell
// shows drives as "Label (C:)" or "C:\".
std::string DriveOf(const std::string& label) {
  const auto open = label.find('(');
  if (open != std::string::npos && open + 3 < label.size() && label[open + 2] == ':' && label[open + 3] == ')') {
    return label.substr(open + 1, 2);
  }
  if ((label.size() == 2 || label.size() == 3) && label[1] == ':') return label.substr(0, 2);
  return {};
}

// The file-system path of the selected item, from its label and those of
// its parents up to the drive; the labels themselves when no drive is met.
std::string SelectedPath(Session& s) {
  HWND tree = FindChild(Browser(), "SysTreeView32");
  Expect(tree != nullptr, "the browser has no tree");
  LPARAM item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
  Expect(item != 0, "nothing is selected in the browser");
  std::vector<std::string> names;
  for (; item != 0; item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, item)) {
    const std::string label = ItemLabel(s, tree, item);
    const std::string drive = DriveOf(label);
    if (!drive.empty()) {
      std::string path = drive + "\\";
      for (auto name = names.rbegin(); name != names.rend(); ++name) {
        path += *name + (name + 1 != names.rend() ? "\\" : "");
      }
      return path;
    }
    names.push_back(label);
  }
  std::string labels;
  for (auto name = names.rbegin(); name != names.rend(); ++name) labels += "/" + *name;
  return "(no drive: " + labels + ")";
}

std::string WithoutTrailingBackslash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

const bool registered = [] {
  // The browser, owned by the main window, which it disables; with a text,
  // the browser's title line shows it.
  RegisterCommand("expect-browser", 0, [](Session& s, const Line& l) {
    gBrowser = WaitFor([&] { return FindProcessDialog(s, kBrowserCaption); }, 10000);
    Expect(gBrowser != nullptr, std::string("no window captioned \"") + kBrowserCaption + "\"");
    Expect(GetWindow(gBrowser, GW_OWNER) == s.main, "the browser is not owned by the main window");
    Expect(!IsWindowEnabled(s.main), "the main window takes input while the browser is open");
    if (!l.args.empty()) {
      Expect(FindChild(gBrowser, "Static", l.args[0]) != nullptr, "the browser's title is not \"" + l.args[0] + "\"");
    }
  });

  RegisterCommand("expect-browser-selection", 1, [](Session& s, const Line& l) {
    const std::string selected = SelectedPath(s);
    Expect(lstrcmpiA(selected.c_str(), WithoutTrailingBackslash(l.args[0]).c_str()) == 0,
           "the browser has " + selected + " selected");
  });

  // Moves the selection as automation does: BFFM_SETSELECTIONA with a path.
  RegisterCommand("browser-select", 1, [](Session& s, const Line& l) {
    HWND browser = Browser();
    RemoteBlock text(s.process.hProcess, l.args[0].size() + 1);
    text.Write(0, l.args[0].c_str(), l.args[0].size() + 1);
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, text.At(0));
  });

  // Presses OK or Cancel and waits until the manager has dealt with the answer.
  RegisterCommand("answer-browser", 1, [](Session& s, const Line& l) {
    HWND browser = Browser();
    HWND button = FindChild(browser, "Button", l.args[0]);
    Expect(button != nullptr, "the browser has no button \"" + l.args[0] + "\"");
    PostMessageA(button, BM_CLICK, 0, 0);
    Expect(WaitFor([&]() -> HWND { return IsWindow(browser) ? nullptr : browser; }, 5000) != nullptr,
           "the browser stayed open");
    gBrowser = nullptr;
    DWORD_PTR ignored = 0;
    Expect(SendMessageTimeoutA(s.main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored) != 0, "the manager does not answer");
  });

  RegisterCommand("screenshot-browser", 1, [](Session& s, const Line& l) {
    ShowPainted(Browser());
    SaveScreenshot(Browser(), s.shotDir + "\\" + l.args[0] + ".bmp");
  });
  return true;
}();

}  // namespace

}  // namespace e2e
