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

  RegisterCommand("press", 1, [](Session& s, const Line& l) {
    static const std::map<std::string, WORD> keys = {
        {"down", VK_DOWN}, {"up", VK_UP}, {"return", VK_RETURN}, {"tab", VK_TAB}, {"escape", VK_ESCAPE}};
    const auto key = keys.find(l.args[0]);
    Expect(key != keys.end(), "unknown key " + l.args[0]);
    Press(s.main, key->second);
  });
  return true;
}();

}  // namespace

}  // namespace e2e
