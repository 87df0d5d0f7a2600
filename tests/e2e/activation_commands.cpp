// Commands about which window is active: the manager's after its boxes,
// dialogs and modal windows have gone, with another program's window on the
// screen that the system could hand the activation to instead.
#include "tests/e2e/driver.h"

namespace e2e {

namespace {

constexpr const char* kOtherCaption = "Another program";

// A plain window in a thread of the driver (another process than the
// manager's), served until the driver ends.
DWORD WINAPI OtherProgram(LPVOID ready) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "E2EOtherProgram";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, kOtherCaption, WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr,
                                nullptr, wc.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetEvent(static_cast<HANDLE>(ready));
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

std::string Named(HWND window) {
  return window == nullptr ? std::string("none") : "\"" + WindowText(window) + "\" (" + ClassOf(window) + ")";
}

const bool registered = [] {
  // other-window: a visible, enabled window of another program below the
  // manager's windows, as the user's other programs are.
  RegisterCommand("other-window", 0, [](Session&, const Line&) {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, OtherProgram, ready, 0, nullptr);
    Expect(thread != nullptr && WaitForSingleObject(ready, 5000) == WAIT_OBJECT_0, "no window of another program");
    CloseHandle(thread);
    CloseHandle(ready);
  });

  // expect-active WINDOW: that window (its caption or class) is the active
  // window of the manager's thread and the foreground window, waited for up
  // to 5 s.
  RegisterCommand("expect-active", 1, [](Session& s, const Line& l) {
    const DWORD thread = GetWindowThreadProcessId(s.main, nullptr);
    HWND active = nullptr;
    HWND foreground = nullptr;
    const auto holds = [&] {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      active = GetGUIThreadInfo(thread, &info) ? info.hwndActive : nullptr;
      foreground = GetForegroundWindow();
      return active != nullptr && active == foreground &&
             (WindowText(active) == l.args[0] || ClassOf(active) == l.args[0]);
    };
    Expect(WaitUntil(holds, 5000),
           "the manager's active window is " + Named(active) + ", the foreground window " + Named(foreground));
  });
  return true;
}();

}  // namespace

}  // namespace e2e
