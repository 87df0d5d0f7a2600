// Commands for the manager's other windows (the disclaimer and the About
// box), the application window, the clipboard and the pages the manager
// handed to the browser (a recording xdg-open writes them to a file).
#include <fstream>
#include <map>

#include "tests/e2e/driver.h"
#include "tests/e2e/remote_memory.h"

#include <commctrl.h>
#include "tests/win32/process_windows.h"

namespace e2e {

namespace {

// A visible window of another program (not the manager, not us) whose
// caption holds the text.
HWND FindFolderWindow(const Session& session, const std::string& text) {
  return win32_tests::FindVisibleWindow([&](HWND window, DWORD owner) {
    return owner != session.process.dwProcessId && owner != GetCurrentProcessId() &&
           WindowText(window).find(text) != std::string::npos;
  });
}

HWND ControlIn(HWND window, const std::string& className, const std::string& caption) {
  HWND control = FindChild(window, className, caption);
  Expect(control != nullptr, "no " + className + " \"" + caption + "\" in \"" + WindowText(window) + "\"");
  return control;
}

RECT Bounds(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "(the clipboard cannot be opened)";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// The addresses the recording xdg-open was given, one a line.
std::vector<std::string> OpenedPages(const Session& session) {
  std::vector<std::string> pages;
  std::ifstream file(session.shotDir + "\\..\\opened.txt");
  for (std::string line; std::getline(file, line);) {
    if (!line.empty()) pages.push_back(line);
  }
  return pages;
}

const bool registered = [] {
  // expect-window CAPTION [CLASS]: a window of the manager is shown.
  RegisterCommand("expect-window", 1, [](Session& s, const Line& l) {
    HWND window = ShownWindow(s, l.args[0]);
    if (l.args.size() > 1) Expect(ClassOf(window) == l.args[1], "the window's class is " + ClassOf(window));
  });

  // expect-progress CAPTION LOW HIGH [MS]: the window's progress bar comes
  // to stand between LOW and HIGH (inclusive) of its range, read as
  // thousandths, within MS (5 s unless given); the download moves it on its
  // own time, so the bar is read until then, not once after a pause.
  RegisterCommand("expect-progress", 3, [](Session& s, const Line& l) {
    HWND bar = ControlIn(ShownWindow(s, l.args[0]), "msctls_progress32", "");
    const long long low = ToInt(l.args[1]);
    const long long high = ToInt(l.args[2]);
    long long share = -1;
    const bool inRange = WaitUntil(
        [&] {
          const auto range = static_cast<long long>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
          const auto position = static_cast<long long>(SendMessageA(bar, PBM_GETPOS, 0, 0));
          share = range > 0 ? position * 1000 / range : -1;
          return share >= low && share <= high;
        },
        l.args.size() > 3 ? ToInt(l.args[3]) : 5000);
    Expect(inRange, "the progress bar stands at " + std::to_string(share) + " thousandths");
  });

  // expect-answering: the main window answers a message within half a second.
  RegisterCommand("expect-answering", 0, [](Session& s, const Line&) {
    DWORD_PTR ignored = 0;
    Expect(SendMessageTimeoutA(s.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &ignored) != 0,
           "the main window does not answer");
  });

  // expect-no-window CAPTION [CLASS]
  RegisterCommand("expect-no-window", 1, [](Session& s, const Line& l) {
    const std::string className = l.args.size() > 1 ? l.args[1] : std::string();
    HWND window = nullptr;
    for (int i = 0; i < 40 && (window = FindTopLevel(s, l.args[0], className)) != nullptr; ++i) Sleep(50);
    Expect(window == nullptr, "a window captioned \"" + l.args[0] + "\" is still shown");
  });

  // expect-window-style CAPTION STYLE-NAME 0|1 for sysmenu, minimize,
  // maximize, sizeable, topmost.
  RegisterCommand("expect-window-style", 3, [](Session& s, const Line& l) {
    static const std::map<std::string, std::pair<int, LONG_PTR>> bits = {
        {"sysmenu", {GWL_STYLE, WS_SYSMENU}},     {"minimize", {GWL_STYLE, WS_MINIMIZEBOX}},
        {"maximize", {GWL_STYLE, WS_MAXIMIZEBOX}}, {"sizeable", {GWL_STYLE, WS_THICKFRAME}},
        {"topmost", {GWL_EXSTYLE, WS_EX_TOPMOST}}};
    const auto bit = bits.find(l.args[1]);
    Expect(bit != bits.end(), "unknown style " + l.args[1]);
    const bool set = (GetWindowLongPtrA(ShownWindow(s, l.args[0]), bit->second.first) & bit->second.second) != 0;
    Expect(set == (l.args[2] == "1"), l.args[1] + (set ? " is set" : " is not set"));
  });

  // The main window is owned by the application window, which carries the title.
  RegisterCommand("expect-application-window", 1, [](Session& s, const Line& l) {
    HWND owner = GetWindow(s.main, GW_OWNER);
    Expect(owner != nullptr, "the main window has no owner");
    Expect(WindowText(owner) == l.args[0], "the owner is captioned \"" + WindowText(owner) + "\"");
    Expect(IsWindowVisible(owner) != FALSE, "the application window is hidden from the task bar");
  });

  RegisterCommand("minimize-main", 0, [](Session& s, const Line&) {
    DWORD_PTR ignored = 0;  // sent, so that it is handled when the call returns
    SendMessageTimeoutA(s.main, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_NORMAL, 5000, &ignored);
    Settle(GetWindow(s.main, GW_OWNER));
  });
  // minimize-application: the task bar's button minimises the manager; it
  // must take input (also while an action keeps the main window disabled).
  RegisterCommand("minimize-application", 0, [](Session& s, const Line&) {
    HWND application = GetWindow(s.main, GW_OWNER);
    Expect(IsWindowEnabled(application) != FALSE, "the application window (the task bar's button) is disabled");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(application, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_NORMAL, 5000, &ignored);
    Settle(application);
  });
  RegisterCommand("restore-application", 0, [](Session& s, const Line&) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetWindow(s.main, GW_OWNER), WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_NORMAL, 5000, &ignored);
    Settle(GetWindow(s.main, GW_OWNER));
  });
  RegisterCommand("expect-main-visible", 1, [](Session& s, const Line& l) {
    const bool visible = IsWindowVisible(s.main) != FALSE;
    Expect(visible == (l.args[0] == "1"), std::string("the main window is ") + (visible ? "shown" : "hidden"));
  });

  // expect-checked CAPTION BOX 0|1
  RegisterCommand("expect-checked", 3, [](Session& s, const Line& l) {
    HWND box = ControlIn(ShownWindow(s, l.args[0]), "Button", l.args[1]);
    const bool checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    Expect(checked == (l.args[2] == "1"), "\"" + l.args[1] + "\" is " + (checked ? "ticked" : "unticked"));
  });

  // expect-control-enabled CAPTION CLASS TEXT 0|1
  RegisterCommand("expect-control-enabled", 4, [](Session& s, const Line& l) {
    const bool enabled = IsWindowEnabled(ControlIn(ShownWindow(s, l.args[0]), l.args[1], l.args[2])) != FALSE;
    Expect(enabled == (l.args[3] == "1"), "\"" + l.args[2] + "\" is " + (enabled ? "enabled" : "disabled"));
  });

  // expect-control-text CAPTION CLASS TEXT: a control with exactly that text exists.
  RegisterCommand("expect-control-text", 3, [](Session& s, const Line& l) {
    ControlIn(ShownWindow(s, l.args[0]), l.args[1], l.args[2]);
  });

  // move-to-density DPI: the system tells the main window it now shows on a
  // display of DPI (as when it is moved to another monitor), suggesting its
  // place as it is.
  RegisterCommand("move-to-density", 1, [](Session& s, const Line& l) {
    RECT place;
    GetWindowRect(s.main, &place);
    RemoteBlock suggested(s.process.hProcess, sizeof place);
    suggested.Write(0, &place, sizeof place);
    const WORD dpi = static_cast<WORD>(ToInt(l.args[0]));
    DWORD_PTR ignored = 0;
    Expect(SendMessageTimeoutA(s.main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), suggested.At(0), SMTO_NORMAL, 5000,
                               &ignored) != 0,
           "the main window did not answer");
    s.layoutDpi = dpi;
  });

  // expect-label-before CLASS TEXT: the main window's control of that class
  // comes right after the label TEXT, which a screen reader reads as its name.
  RegisterCommand("expect-label-before", 2, [](Session& s, const Line& l) {
    HWND before = GetWindow(Control(s, l.args[0], ""), GW_HWNDPREV);
    const std::string seen = before != nullptr ? ClassOf(before) + " \"" + WindowText(before) + "\"" : "nothing";
    Expect(seen == "Static \"" + l.args[1] + "\"", "before the " + l.args[0] + " comes " + seen);
  });

  // expect-rich-text CAPTION TEXT: the rich text box's whole text.
  RegisterCommand("expect-rich-text", 2, [](Session& s, const Line& l) {
    HWND rich = ControlIn(ShownWindow(s, l.args[0]), "RichEdit20A", "");
    std::string text = WindowText(rich);
    std::string want;
    for (char c : l.args[1]) want += c;
    Expect(text == want, "the rich text is \"" + text + "\"");
  });

  // window-click CAPTION CLASS TEXT: a real mouse click on a control of that window.
  RegisterCommand("window-click", 3, [](Session& s, const Line& l) {
    HWND window = ShownWindow(s, l.args[0]);
    HWND control = ControlIn(window, l.args[1], l.args[2]);
    RECT rect = Bounds(control);
    ClickAt(window, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  });

  // window-press CAPTION KEY: a real key press with that window in front;
  // KEY is return, escape, tab, space, shift or a letter.
  RegisterCommand("window-press", 2, [](Session& s, const Line& l) {
    static const std::map<std::string, WORD> keys = {{"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"tab", VK_TAB},
                                                     {"space", VK_SPACE},   {"shift", VK_SHIFT},   {"f5", VK_F5}};
    HWND window = ShownWindow(s, l.args[0]);
    const auto key = keys.find(l.args[1]);
    WORD code = 0;
    if (key != keys.end()) {
      code = key->second;
    } else {
      Expect(l.args[1].size() == 1, "unknown key " + l.args[1]);
      code = static_cast<WORD>(LOBYTE(VkKeyScanA(l.args[1][0])));
    }
    Press(window, code);
  });

  // click-main-icon: a real mouse click on the main window's program icon.
  RegisterCommand("click-main-icon", 0, [](Session& s, const Line&) {
    HWND icon = nullptr;
    for (HWND child = FindChild(s.main, "Static"); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) == "Static" && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        icon = child;
        break;
      }
    }
    Expect(icon != nullptr, "the main window shows no icon");
    RECT rect = Bounds(icon);
    ClickAt(s.main, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  });

  // expect-placed-on-main CAPTION: 50 pixels below the main window's top
  // edge, centred on it (outer bounds; the division truncates toward zero).
  RegisterCommand("expect-placed-on-main", 1, [](Session& s, const Line& l) {
    const RECT main = Bounds(s.main);
    const RECT dialog = Bounds(ShownWindow(s, l.args[0]));
    const long left = main.left + ((main.right - main.left) - (dialog.right - dialog.left)) / 2;
    const long top = main.top + 50;
    Expect(dialog.left == left && dialog.top == top,
           "the window is at " + std::to_string(dialog.left) + "," + std::to_string(dialog.top) + ", not " +
               std::to_string(left) + "," + std::to_string(top));
  });

  RegisterCommand("expect-centred", 1, [](Session& s, const Line& l) {
    const RECT r = Bounds(ShownWindow(s, l.args[0]));
    const long left = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const long top = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    Expect(r.left == left && r.top == top, "the window is at " + std::to_string(r.left) + "," + std::to_string(r.top));
  });

  // move-main X Y: moves the main window's outer top-left corner.
  RegisterCommand("move-main", 2, [](Session& s, const Line& l) {
    SetWindowPos(s.main, nullptr, ToInt(l.args[0]), ToInt(l.args[1]), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle(s.main);
  });

  RegisterCommand("set-clipboard", 1, [](Session&, const Line& l) {
    Expect(OpenClipboard(nullptr) != FALSE, "the clipboard cannot be opened");
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, l.args[0].size() + 1);
    memcpy(GlobalLock(block), l.args[0].c_str(), l.args[0].size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
  });

  // expect-clipboard TEXT: the clipboard holds TEXT, waited for up to 5 s
  // (the manager fills it once the box that asks has closed).
  RegisterCommand("expect-clipboard", 1, [](Session&, const Line& l) {
    std::string text;
    WaitUntil([&] { return (text = ClipboardText()) == l.args[0]; }, 5000);
    Expect(text == l.args[0], "the clipboard holds \"" + text + "\"");
  });

  // hold-clipboard / release-clipboard: the driver keeps the clipboard open,
  // as another program that holds it, until released. The clipboard commands
  // above would close it: not meanwhile.
  RegisterCommand("hold-clipboard", 0, [](Session&, const Line&) {
    Expect(OpenClipboard(nullptr) != FALSE, "the clipboard cannot be opened");
  });
  RegisterCommand("release-clipboard", 0, [](Session&, const Line&) { CloseClipboard(); });

  // expect-opened URL...: exactly these pages reached the browser so far, in order.
  RegisterCommand("expect-opened", 0, [](Session& s, const Line& l) {
    std::vector<std::string> pages;
    for (int i = 0; i < 100; ++i) {
      pages = OpenedPages(s);
      if (pages.size() >= l.args.size()) break;
      Sleep(100);
    }
    if (l.args.empty()) {
      Sleep(1500);  // the browser starts on its own time: give a wrong page the chance to show
      pages = OpenedPages(s);
    }
    std::string got;
    for (const auto& page : pages) got += " " + page;
    Expect(pages == l.args, "the browser was given:" + (got.empty() ? std::string(" nothing") : got));
  });

  // expect-folder-window TEXT [SHOT]: a window of another program (the file
  // manager) whose caption holds TEXT shows up; it is saved and closed.
  RegisterCommand("expect-folder-window", 1, [](Session& s, const Line& l) {
    HWND window = WaitFor([&] { return FindFolderWindow(s, l.args[0]); }, 15000);
    Expect(window != nullptr, "no window of another program shows \"" + l.args[0] + "\"");
    if (l.args.size() > 1) {
      ShowPainted(window);
      SaveScreenshot(window, s.shotDir + "\\" + l.args[1] + ".bmp");
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
  });

  // screenshot-window NAME CAPTION: saves that window as shots/NAME.png.
  RegisterCommand("screenshot-window", 2, [](Session& s, const Line& l) {
    HWND window = ShownWindow(s, l.args[1]);
    ShowPainted(window);
    SaveScreenshot(window, s.shotDir + "\\" + l.args[0] + ".bmp");
  });
  return true;
}();

}  // namespace

}  // namespace e2e
