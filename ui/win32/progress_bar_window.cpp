#include "ui/win32/progress_bar_window.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace ui::win32 {

WindowKind ProgressBarWindow::MadeAs() const {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS;
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;  // without it the window cannot be made, and the control has none
  return {.windowClass = PROGRESS_CLASSA};
}

void ProgressBarWindow::Created() {
  SendMessageA(window_, PBM_SETRANGE32, 0, TProgressBar::kMax);
  PositionChanged(bar_.Position());
}

void ProgressBarWindow::PositionChanged(int position) { SendMessageA(window_, PBM_SETPOS, position, 0); }

}  // namespace ui::win32
