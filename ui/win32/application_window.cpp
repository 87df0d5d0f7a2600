#include "ui/win32/application_window.h"

#include <algorithm>
#include <vector>

#include "platform/win32/barrier.h"
#include "platform/win32/message_loop.h"
#include "ui/win32/painting.h"

namespace ui::win32 {

namespace {

constexpr UINT kReleaseForm = WM_APP + 1;  // lParam: the TForm to destroy

std::vector<HWND> gFormWindows;  // in the order they were made
std::vector<HWND> gHiddenByMinimize;
HWND gActiveBeforeMinimize = nullptr;  // a modal window (the progress window) included

HWND AppWindow() { return platform::win32::ApplicationWindow(); }

bool MainWindowEnabled(const TForm& main) {
  HWND window = reinterpret_cast<HWND>(main.WindowHandle().value);
  return window != nullptr && IsWindowEnabled(window);
}

LRESULT ApplicationMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          MinimizeApplication();
          return 0;
        case SC_RESTORE:
          RestoreApplication();
          return 0;
        case SC_CLOSE:
          // While a box, a modal form or a started program keeps the main
          // window disabled, the task bar's close waits like its close box.
          if (TForm* main = Application.MainForm(); main != nullptr && MainWindowEnabled(*main)) main->Close();
          return 0;
        default:
          break;
      }
      break;
    case WM_ACTIVATE:
      // Activated through the task bar: the form last active takes over.
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(window)) {
        HWND popup = GetLastActivePopup(window);
        if (popup != window && IsWindowVisible(popup) && IsWindowEnabled(popup)) SetActiveWindow(popup);
        return 0;
      }
      break;
    case kReleaseForm: {
      auto* form = reinterpret_cast<TForm*>(lParam);
      if (Application.Owns(*form)) Application.Release(*form);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return platform::win32::Guarded<LRESULT>(0, [&] { return ApplicationMessage(window, message, wParam, lParam); });
}

}  // namespace

HWND MakeApplicationWindow(const char* title) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpfnWndProc = ApplicationProc;
  wc.lpszClassName = "TApplication";
  wc.hIcon = ProgramIcon();
  RegisterClassExA(&wc);
  // No size: it shows only as the task bar's button, in the screen's centre.
  HWND window = CreateWindowExA(0, wc.lpszClassName, title,
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                                nullptr, wc.hInstance, nullptr);
  ShowProgramIcon(window);  // the task bar's button shows it
  platform::win32::SetApplicationWindow(window);
  return window;
}

void ShowApplicationWindow() { ShowWindow(AppWindow(), SW_SHOWNOACTIVATE); }

void MinimizeApplication() {
  gActiveBeforeMinimize = GetActiveWindow();
  for (HWND form : gFormWindows) {
    if (IsWindowVisible(form)) {
      gHiddenByMinimize.push_back(form);
      ShowWindow(form, SW_HIDE);
    }
  }
  ShowWindow(AppWindow(), SW_MINIMIZE);
}

void RestoreApplication() {
  ShowWindow(AppWindow(), SW_RESTORE);
  std::vector<HWND> hidden;
  hidden.swap(gHiddenByMinimize);
  for (HWND window : hidden) {
    if (IsWindow(window)) ShowWindow(window, SW_SHOW);
  }
  // The window that was active comes back active: while an action runs that
  // is the progress window, owned by the disabled main window.
  HWND active = gActiveBeforeMinimize;
  gActiveBeforeMinimize = nullptr;
  if (active != nullptr && IsWindow(active) && IsWindowVisible(active) && IsWindowEnabled(active)) {
    SetForegroundWindow(active);
    return;
  }
  HWND popup = GetLastActivePopup(AppWindow());
  if (popup != AppWindow() && IsWindowVisible(popup)) SetForegroundWindow(popup);
}

void ReleaseLater(TForm& form) { PostMessageA(AppWindow(), kReleaseForm, 0, reinterpret_cast<LPARAM>(&form)); }

void AddFormWindow(HWND window) { gFormWindows.push_back(window); }

void RemoveFormWindow(HWND window) {
  gFormWindows.erase(std::remove(gFormWindows.begin(), gFormWindows.end(), window), gFormWindows.end());
}

bool IsFormWindow(HWND window) {
  return window != nullptr && std::find(gFormWindows.begin(), gFormWindows.end(), window) != gFormWindows.end();
}

}  // namespace ui::win32
