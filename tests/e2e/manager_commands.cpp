// Commands that start, read, drive and close the manager's main window.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/e2e/driver.h"

namespace e2e {

namespace {

constexpr const char* kMainCaption = "Download, install, execute or remove software ...";

// Whether lengths seen on the screen are those of the 96-dpi layout, scaled
// to the session's density (as MulDiv rounds) to within 2 pixels.
bool LayoutNear(const Session& s, const std::vector<long>& seen, const std::vector<int>& layout) {
  const long tolerance = s.layoutDpi == 96 ? 0 : 2;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    if (std::labs(seen[i] - MulDiv(layout[i], s.layoutDpi, 96)) > tolerance) return false;
  }
  return true;
}

// The buttons whose enabled states the directory field governs, in the order
// of expect-buttons.
constexpr const char* kGoverned[] = {"Select directory", "Download and install selected program",
                                     "Execute selected program", "Remove selected program",
                                     "Update && reset selected program"};

void Start(Session& session, const Line& line) {
  std::string commandLine = "\"" + session.managerPath + "\"";
  if (!line.raw.empty()) commandLine += " " + line.raw;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  Expect(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, session.managerDir.c_str(),
                        &startup, &session.process) != FALSE,
         "cannot start " + commandLine);
  CloseHandle(session.process.hThread);
  session.main = WaitFor([&] { return FindTopLevel(session, kMainCaption); }, 20000);
  Expect(session.main != nullptr, "no main window captioned \"" + std::string(kMainCaption) + "\"");
  // Let the first paint and the focus settle before reading or typing.
  WaitForInputIdle(session.process.hProcess, 5000);
}

HWND Combo(Session& session) { return Control(session, "ComboBox"); }
HWND Field(Session& session) { return Control(session, "Edit"); }

// Gives the field the keyboard focus as a click would.
void FocusField(Session& session) {
  HWND field = Field(session);
  const DWORD target = GetWindowThreadProcessId(field, nullptr);
  const DWORD self = GetCurrentThreadId();
  AttachThreadInput(self, target, TRUE);
  SetForegroundWindow(session.main);
  SetFocus(field);
  AttachThreadInput(self, target, FALSE);
  Expect(WaitFor(
             [&]() -> HWND {
               GUITHREADINFO info{};
               info.cbSize = sizeof info;
               return GetGUIThreadInfo(target, &info) && info.hwndFocus == field ? field : nullptr;
             },
             3000) != nullptr,
         "the field did not take the focus");
}

std::string Bits(Session& session) {
  std::string bits;
  for (const char* caption : kGoverned) bits += IsWindowEnabled(Control(session, "Button", caption)) ? '1' : '0';
  return bits;
}

const bool registered = [] {
  RegisterCommand("start", 0, Start);

  // scale-layout-to DPI: the layout's numbers below are those of 96 dpi, and
  // the windows show on a display of DPI.
  RegisterCommand("scale-layout-to", 1, [](Session& s, const Line& l) { s.layoutDpi = ToInt(l.args[0]); });

  RegisterCommand("expect-client-size", 2, [](Session& s, const Line& l) {
    RECT client;
    GetClientRect(s.main, &client);
    const std::string size = std::to_string(client.right) + "x" + std::to_string(client.bottom);
    Expect(LayoutNear(s, {client.right, client.bottom}, {ToInt(l.args[0]), ToInt(l.args[1])}),
           "client area is " + size);
  });

  // A control's place in its parent's client area and its size:
  // expect-rect CLASS CAPTION LEFT TOP WIDTH HEIGHT (caption "" for any).
  RegisterCommand("expect-rect", 6, [](Session& s, const Line& l) {
    HWND control = Control(s, l.args[0], l.args[1]);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    const std::string got = std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
                            std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
    Expect(LayoutNear(s, {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top},
                      {ToInt(l.args[2]), ToInt(l.args[3]), ToInt(l.args[4]), ToInt(l.args[5])}),
           l.args[0] + " \"" + l.args[1] + "\" is at " + got);
  });

  RegisterCommand("expect-items", 0, [](Session& s, const Line& l) {
    HWND combo = Combo(s);
    const auto count = static_cast<std::size_t>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    Expect(count == l.args.size(), "the list holds " + std::to_string(count) + " entries");
    for (std::size_t i = 0; i < count; ++i) {
      // Wine hands list texts across processes reliably only in UTF-16.
      wchar_t wide[512] = {};
      SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
      char item[512] = {};
      WideCharToMultiByte(CP_ACP, 0, wide, -1, item, sizeof item, nullptr, nullptr);
      Expect(item == l.args[i], "entry " + std::to_string(i) + " is \"" + item + "\"");
    }
  });

  RegisterCommand("expect-selected", 1, [](Session& s, const Line& l) {
    const auto index = SendMessageA(Combo(s), CB_GETCURSEL, 0, 0);
    Expect(index == ToInt(l.args[0]), "entry " + std::to_string(index) + " is selected");
  });

  // Picks an entry as the user does: the list reports the change to its parent.
  // A user cannot pick in a window that takes no input (a box, a download or
  // a started program disables it): nor can the scenario.
  RegisterCommand("select", 1, [](Session& s, const Line& l) {
    HWND combo = Combo(s);
    Expect(IsWindowEnabled(s.main) && IsWindowEnabled(combo), "the list takes no input now");
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(ToInt(l.args[0])), 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  });

  RegisterCommand("expect-field", 1, [](Session& s, const Line& l) {
    const std::string text = WindowText(Field(s));
    Expect(text == l.args[0], "the field shows \"" + text + "\"");
  });

  RegisterCommand("expect-field-enabled", 1, [](Session& s, const Line& l) {
    const bool enabled = IsWindowEnabled(Field(s)) != FALSE;
    Expect(enabled == (l.args[0] == "1"), std::string("the field is ") + (enabled ? "enabled" : "disabled"));
  });

  // Enabled states of Select directory, Download and install, Execute,
  // Remove and Update, as five digits.
  RegisterCommand("expect-buttons", 1, [](Session& s, const Line& l) {
    const std::string bits = Bits(s);
    Expect(bits == l.args[0], "the buttons are " + bits);
  });

  RegisterCommand("expect-enabled", 2, [](Session& s, const Line& l) {
    const bool enabled = IsWindowEnabled(Control(s, "Button", l.args[0])) != FALSE;
    Expect(enabled == (l.args[1] == "1"), "\"" + l.args[0] + "\" is " + (enabled ? "enabled" : "disabled"));
  });

  RegisterCommand("focus-field", 0, [](Session& s, const Line&) { FocusField(s); });

  // Types at the end of the field's text, one character at a time.
  RegisterCommand("type", 1, [](Session& s, const Line& l) {
    FocusField(s);
    HWND field = Field(s);
    SendMessageA(field, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageA(field, EM_SETSEL, 0x7FFF, 0x7FFF);
    for (const char c : l.args[0]) SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
  });

  // Selects the whole text and deletes it, as Ctrl+A and Backspace do.
  RegisterCommand("clear-field", 0, [](Session& s, const Line&) {
    FocusField(s);
    HWND field = Field(s);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SendMessageA(field, WM_CHAR, VK_BACK, 1);
  });

  RegisterCommand("key", 1, [](Session& s, const Line& l) {
    Expect(l.args[0] == "return", "only the Return key is known");
    FocusField(s);
    SendMessageA(Field(s), WM_CHAR, '\r', 1);
  });

  // The focus comes to rest on a control of that class (and caption): after a
  // box closes it passes through the box's owner while the main window is
  // activated again.
  RegisterCommand("expect-focus", 1, [](Session& s, const Line& l) {
    const std::string wanted = l.args[0] + (l.args.size() > 1 ? " \"" + l.args[1] + "\"" : "");
    std::string focused;
    WaitFor([&]() -> HWND {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      GetGUIThreadInfo(GetWindowThreadProcessId(s.main, nullptr), &info);
      focused = info.hwndFocus == nullptr ? "nothing"
                : l.args.size() > 1    ? ClassOf(info.hwndFocus) + " \"" + WindowText(info.hwndFocus) + "\""
                                       : ClassOf(info.hwndFocus);
      return focused == wanted ? info.hwndFocus : nullptr;
    }, 5000);
    Expect(focused == wanted, "the focus is on " + focused);
  });

  // Presses a button; posted, so that a modal box it opens does not block us.
  RegisterCommand("click", 1, [](Session& s, const Line& l) {
    PostMessageA(Control(s, "Button", l.args[0]), BM_CLICK, 0, 0);
  });

  RegisterCommand("close", 0, [](Session& s, const Line&) { PostMessageA(s.main, WM_CLOSE, 0, 0); });

  // end-session 1|0 [closeapp]: the system's end-of-session messages, as a
  // log-off sends them, or with closeapp as an installer's close request
  // through the restart manager sends them (the system goes on, the program
  // must end by itself): the question must be answered yes at once, then the
  // end (1) or its calling off (0) is told.
  RegisterCommand("end-session", 1, [](Session& s, const Line& l) {
    const bool closeApp = l.args.size() > 1 && l.args[1] == "closeapp";
    Expect(closeApp || l.args.size() == 1, "end-session: the second argument can only be closeapp");
    const LPARAM kind = closeApp ? ENDSESSION_CLOSEAPP : static_cast<LPARAM>(ENDSESSION_LOGOFF);
    DWORD_PTR agreed = 0;
    Expect(SendMessageTimeoutA(s.main, WM_QUERYENDSESSION, 0, kind, SMTO_ABORTIFHUNG, 5000, &agreed) != 0,
           "the manager did not answer the end of the session");
    Expect(agreed == TRUE, "the manager refused the end of the session");
    DWORD_PTR ignored = 0;
    Expect(SendMessageTimeoutA(s.main, WM_ENDSESSION, l.args[0] == "1", kind, SMTO_ABORTIFHUNG, 5000, &ignored) != 0,
           "the manager did not return from the end of the session");
  });

  RegisterCommand("expect-exit", 0, [](Session& s, const Line& l) {
    const int limit = l.args.empty() ? 10000 : ToInt(l.args[0]);
    Expect(WaitForSingleObject(s.process.hProcess, static_cast<DWORD>(limit)) == WAIT_OBJECT_0,
           "the manager did not end");
    CloseHandle(s.process.hProcess);
    s.process = PROCESS_INFORMATION{};
    s.main = nullptr;
  });

  RegisterCommand("expect-window-enabled", 1, [](Session& s, const Line& l) {
    const bool enabled = IsWindowEnabled(s.main) != FALSE;
    Expect(enabled == (l.args[0] == "1"), std::string("the main window is ") + (enabled ? "enabled" : "disabled"));
  });

  // wait-window-enabled 0|1 [MS]: waits until the main window takes input
  // (or takes none), 20 s unless given: after a started program has ended,
  // the manager enables it again.
  RegisterCommand("wait-window-enabled", 1, [](Session& s, const Line& l) {
    const bool wanted = l.args[0] == "1";
    const bool reached = WaitUntil([&] { return (IsWindowEnabled(s.main) != FALSE) == wanted; },
                                   l.args.size() > 1 ? ToInt(l.args[1]) : 20000);
    Expect(reached, std::string("the main window is still ") + (wanted ? "disabled" : "enabled"));
  });

  RegisterCommand("expect-running", 0, [](Session& s, const Line&) {
    Expect(WaitForSingleObject(s.process.hProcess, 500) == WAIT_TIMEOUT && IsWindow(s.main),
           "the manager has ended");
  });

  // The main window, or with a caption the manager's box of that caption,
  // together with the whole screen (where a box sits matters too).
  RegisterCommand("screenshot", 1, [](Session& s, const Line& l) {
    HWND window = s.main;
    if (l.args.size() > 1) {
      window = FindProcessDialog(s, l.args[1]);
      Expect(window != nullptr, "no box captioned \"" + l.args[1] + "\"");
    }
    ShowPainted(window);
    if (l.args.size() > 1) {
      SaveScreenshot(GetDesktopWindow(), s.shotDir + "\\" + l.args[0] + "-screen.bmp");
    }
    SaveScreenshot(window, s.shotDir + "\\" + l.args[0] + ".bmp");
  });

  RegisterCommand("sleep", 1, [](Session&, const Line& l) { Sleep(static_cast<DWORD>(ToInt(l.args[0]))); });
  return true;
}();

}  // namespace

}  // namespace e2e
