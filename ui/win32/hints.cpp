#include "ui/win32/hints.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace ui::win32 {

namespace {

bool CommonControlsReady() {
  static const bool ready = [] {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  return ready;
}

}  // namespace

HintWindow::~HintWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

void HintWindow::Add(HWND owner, HWND control, const std::string& text) {
  if (window_ == nullptr) {
    if (!CommonControlsReady()) return;
    // Shown also while the form is not the active window, as hints are.
    window_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (window_ == nullptr) return;
  }
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.hinst = GetModuleHandleA(nullptr);
  tool.lpszText = const_cast<char*>(text.c_str());  // the tooltip keeps a copy
  SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void HintWindow::Relay(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window_ == nullptr) return;
  MSG relayed{};
  relayed.hwnd = control;
  relayed.message = message;
  relayed.wParam = wParam;
  relayed.lParam = lParam;
  relayed.time = static_cast<DWORD>(GetMessageTime());
  relayed.pt.x = static_cast<short>(LOWORD(GetMessagePos()));
  relayed.pt.y = static_cast<short>(HIWORD(GetMessagePos()));
  SendMessageA(window_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

}  // namespace ui::win32
