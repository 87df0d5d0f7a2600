// The end-to-end driver: a Win32 program that starts the real manager under
// Wine and drives it as a user would, through standard window messages, line
// by line from a scenario file. See tests/e2e/README.md for the commands.
#pragma once

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

struct Session {
  std::string managerPath;  // Windows path of the manager's executable
  std::string managerDir;   // its directory, without a trailing backslash
  std::string shotDir;      // where screenshots are saved
  PROCESS_INFORMATION process{};
  HWND main = nullptr;  // the manager's main window while it runs
  // The density that places and sizes of the 96-dpi layout are scaled to
  // (scale-layout-to), each to within 2 pixels where it is not 96.
  int layoutDpi = 96;
};

// A scenario line: the command's arguments (quotes removed, %XX decoded,
// {manager} and {dir} replaced) and the raw text after the command word.
struct Line {
  std::vector<std::string> args;
  std::string raw;
};

using Command = std::function<void(Session&, const Line&)>;

// A failed expectation; the scenario stops with its text.
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Registers a command; source files of the driver call this from a static
// initialiser: `static const bool registered = e2e::RegisterCommand(...)`.
bool RegisterCommand(const std::string& name, std::size_t minArgs, Command command);

void Expect(bool condition, const std::string& what);
int ToInt(const std::string& text);

// Polls `holds` until it is true (then true) or `milliseconds` have passed.
bool WaitUntil(const std::function<bool()>& holds, int milliseconds);
// Polls `find` until it gives a window or `milliseconds` have passed.
HWND WaitFor(const std::function<HWND()>& find, int milliseconds);

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// The first descendant of `parent` with that class (case-insensitive) and,
// unless `caption` is empty, that window text.
HWND FindChild(HWND parent, const std::string& className, const std::string& caption = {});
// The main window's control; a missing control fails the scenario.
HWND Control(Session& session, const std::string& className, const std::string& caption = {});
// A visible top-level window of the manager's process with that caption
// (empty: any) and class (empty: any).
HWND FindTopLevel(const Session& session, const std::string& caption, const std::string& className = {});
// A visible top-level dialog ("#32770") of the manager's process with that caption.
HWND FindProcessDialog(const Session& session, const std::string& caption);
// The manager's window with that caption, waited for up to 5 s; none fails the scenario.
HWND ShownWindow(Session& session, const std::string& caption);

// The window to the front: input from this process reaches it.
void BringToFront(HWND window);
// Real input, as a user gives it, with the window's top-level window in
// front: a left click at a point of the screen, a key pressed and released.
// Each pauses for the input to arrive and returns once the window's thread
// has handled it.
void ClickAt(HWND window, POINT point);
void Press(HWND window, WORD key);
// Gives the input to the program that owns `window`, brought to the front;
// returns once its thread has handled it.
void GiveInput(HWND window, INPUT* inputs, UINT count);
// Returns once the window's thread has handled the message it was on.
void Settle(HWND window);

// The screen's pixels of `area` of `window`'s client area, row by row.
std::vector<COLORREF> ScreenPixels(HWND window, RECT area);
// Brings the window's top-level window to the front, has it repaint itself
// and waits until the screen shows the result.
void ShowPainted(HWND window);

// Saves what the screen shows of `window` as a 24-bit BMP file.
void SaveScreenshot(HWND window, const std::string& path);

}  // namespace e2e
