#include "ui/win32/dialog_keys.h"

#include <algorithm>
#include <vector>

namespace ui::win32 {

namespace {

bool IsTabStop(const TWinControl* control) {
  return control != nullptr && control->TabOrder >= 0 && control->Enabled();
}

}  // namespace

bool DialogKeys::PreTranslate(HWND window, MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB) return Tab(window, message);
  if (message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
    return EnterOrEscape(window, message.wParam);
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_F1 && form_.OnHelp) {
    form_.OnHelp(&form_);
    return true;
  }
  if (message.message == WM_CHAR && form_.KeyPreview && message.hwnd != window) {
    const char key = form_.KeyPress(static_cast<char>(message.wParam));
    if (key == '\0') return true;
    message.wParam = static_cast<unsigned char>(key);
  }
  return false;
}

TWinControl* DialogKeys::FirstTabStop() const {
  TWinControl* first = nullptr;
  for (const auto& control : controls_) {
    TWinControl* windowed = control->Control().AsWinControl();
    if (IsTabStop(windowed) && (first == nullptr || windowed->TabOrder < first->TabOrder)) first = windowed;
  }
  return first;
}

bool DialogKeys::Tab(HWND window, const MSG& message) {
  if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
  std::vector<TWinControl*> stops;
  for (const auto& control : controls_) {
    TWinControl* windowed = control->Control().AsWinControl();
    if (IsTabStop(windowed)) stops.push_back(windowed);
  }
  // The keyboard is in use: focus rectangles show in this window from now on.
  SendMessageA(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  if (stops.empty()) return true;
  std::stable_sort(stops.begin(), stops.end(), [](auto* a, auto* b) { return a->TabOrder < b->TabOrder; });
  const ControlWindow* focused = host_.FindByHandle(GetFocus());
  auto current = std::find_if(stops.begin(), stops.end(),
                              [&](TWinControl* stop) { return focused != nullptr && &focused->Control() == stop; });
  const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  std::size_t next = 0;
  if (current != stops.end()) {
    const auto at = static_cast<std::size_t>(current - stops.begin());
    next = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  }
  stops[next]->SetFocus();
  return true;
}

// A disabled button stays unpressed, and the key goes nowhere else.
bool DialogKeys::EnterOrEscape(HWND window, WPARAM key) {
  ControlWindow* focused = host_.FindByHandle(GetFocus());
  if (key == VK_RETURN && focused != nullptr && focused->DialogButton() == nullptr && focused->IsButton()) {
    if (IsWindowVisible(window)) focused->Control().Click();
    return true;
  }
  TBitBtn* target = nullptr;
  for (const auto& control : controls_) {
    TBitBtn* button = control->DialogButton();
    if (button == nullptr) continue;
    if (key == VK_RETURN) {
      if (focused == control.get()) {
        target = button;
        break;
      }
      if (button->Default) target = button;
    } else if (button->Cancel) {
      target = button;
      break;
    }
  }
  if (target != nullptr && target->Enabled() && IsWindowVisible(window)) target->Click();
  return target != nullptr;
}

}  // namespace ui::win32
