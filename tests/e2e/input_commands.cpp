// Real mouse and keyboard input (SendInput), for what only the real input
// path shows: a click that must not take the focus, a list opened and picked
// with the keyboard.
#include <map>

#include "tests/e2e/driver.h"

namespace e2e {

namespace {

const bool registered = [] {
  // Clicks the middle of the main window's control of that class (and caption).
  RegisterCommand("mouse-click", 1, [](Session& s, const Line& l) {
    HWND control = Control(s, l.args[0], l.args.size() > 1 ? l.args[1] : std::string());
    RECT rect;
    GetWindowRect(control, &rect);
    ClickAt(s.main, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  });

  // press KEY, or press shift KEY: a key (with Shift held) as the user types it.
  RegisterCommand("press", 1, [](Session& s, const Line& l) {
    static const std::map<std::string, WORD> keys = {
        {"down", VK_DOWN},     {"up", VK_UP},       {"return", VK_RETURN}, {"tab", VK_TAB},
        {"escape", VK_ESCAPE}, {"space", VK_SPACE}, {"f1", VK_F1}};
    const bool shifted = l.args[0] == "shift" && l.args.size() > 1;
    const auto key = keys.find(l.args[shifted ? 1 : 0]);
    Expect(key != keys.end(), "unknown key " + l.args.back());
    if (!shifted) return Press(s.main, key->second);
    INPUT inputs[4] = {};
    for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[3].ki.wVk = VK_SHIFT;
    inputs[1].ki.wVk = inputs[2].ki.wVk = key->second;
    inputs[2].ki.dwFlags = inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    GiveInput(s.main, inputs, 4);
  });
  return true;
}();

}  // namespace

}  // namespace e2e
