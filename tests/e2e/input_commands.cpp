// Real mouse and keyboard input (SendInput), for what only the real input
// path shows: a click that must not take the focus, a list opened and picked
// with the keyboard.
#include <map>

#include "tests/e2e/driver.h"

namespace e2e {

namespace {

void BringToFront(Session& session) {
  const DWORD target = GetWindowThreadProcessId(session.main, nullptr);
  const DWORD self = GetCurrentThreadId();
  AttachThreadInput(self, target, TRUE);
  SetForegroundWindow(session.main);
  AttachThreadInput(self, target, FALSE);
}

void MouseClickAt(POINT point) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = point.x * 65535 / (width - 1);
    input.mi.dy = point.y * 65535 / (height - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
  }
  inputs[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
}

void PressKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// Lets the manager handle what the input caused before the next line.
void Settle(Session& session) {
  Sleep(200);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(session.main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

const bool registered = [] {
  // Clicks the middle of the main window's control of that class (and caption).
  RegisterCommand("mouse-click", 1, [](Session& s, const Line& l) {
    HWND control = Control(s, l.args[0], l.args.size() > 1 ? l.args[1] : std::string());
    BringToFront(s);
    RECT rect;
    GetWindowRect(control, &rect);
    MouseClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    Settle(s);
  });

  RegisterCommand("press", 1, [](Session& s, const Line& l) {
    static const std::map<std::string, WORD> keys = {
        {"down", VK_DOWN}, {"up", VK_UP}, {"return", VK_RETURN}, {"tab", VK_TAB}, {"escape", VK_ESCAPE}};
    const auto key = keys.find(l.args[0]);
    Expect(key != keys.end(), "unknown key " + l.args[0]);
    BringToFront(s);
    PressKey(key->second);
    Settle(s);
  });
  return true;
}();

}  // namespace

}  // namespace e2e
