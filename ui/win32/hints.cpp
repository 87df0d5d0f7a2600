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
  pending_.push_back({owner, control, text});
}

void HintWindow::Install() {
  if (installed_ || pending_.empty()) return;
  installed_ = true;
  if (!CommonControlsReady()) return;
  // Shown also while the form is not the active window, as hints are.
  window_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pending_.front().owner, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) return;
  for (const Hint& hint : pending_) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(hint.control);
    tool.uId = reinterpret_cast<UINT_PTR>(hint.control);
    tool.hinst = GetModuleHandleA(nullptr);
    tool.lpszText = const_cast<char*>(hint.text.c_str());  // the tooltip keeps a copy
    SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  pending_.clear();
}

}  // namespace ui::win32
