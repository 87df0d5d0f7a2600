#include "ui/win32/control_window.h"

#include <algorithm>

#include "platform/win32/barrier.h"
#include "ui/win32/bound_window.h"
#include "ui/win32/painting.h"

namespace ui::win32 {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

bool ControlWindow::Create(HWND parent, int id) {
  const WindowKind kind = MadeAs();
  if (kind.ownClass) {
    WNDCLASSEXA prototype{};
    prototype.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    prototype.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterBoundClass<ControlWindow>(kind.windowClass, prototype);
  }
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
  if (!control_.Enabled()) style |= WS_DISABLED;
  // An own class binds this object at WM_NCCREATE; a system control gets it
  // here, once, by subclassing.
  window_ = CreateWindowExA(kind.exStyle, kind.windowClass, control_.Text().c_str(), style, control_.Left,
                            control_.Top, control_.Width, kind.height != 0 ? kind.height : control_.Height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                            kind.ownClass ? this : nullptr);
  if (window_ == nullptr) return false;
  if (!kind.ownClass) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  }
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.Paint().FontFor(control_)), FALSE);
  Created();
  control_.SetPeer(this);
  return true;
}

ControlWindow::~ControlWindow() {
  if (IsWindow(window_)) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

void ControlWindow::TextChanged(const std::string& text) {
  settingText_ = true;
  SetWindowTextA(window_, text.c_str());
  settingText_ = false;
  TextShown();
}

void ControlWindow::EnabledChanged(bool enabled) { EnableWindow(window_, enabled ? TRUE : FALSE); }

void ControlWindow::Focus() { SetFocus(window_); }

LRESULT CALLBACK ControlWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return platform::win32::Guarded<LRESULT>(0, [&] { return self->Message(message, wParam, lParam); });
}

LRESULT ControlWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  if (original_ == nullptr) return DefWindowProcA(window_, message, wParam, lParam);
  return CallWindowProcA(original_, window_, message, wParam, lParam);
}

LRESULT ControlWindow::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  if (detached_) return Default(message, wParam, lParam);
  LRESULT result = 0;
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_DRAWITEM:
      // Our controls on a panel report to it; everything else (a combo
      // box's list talking to the combo box) goes on as usual.
      if (ReflectToChild(host_, message, wParam, lParam, result)) return result;
      break;
    case WM_SETCURSOR:
      if (SetCursorOver(reinterpret_cast<HWND>(wParam), static_cast<short>(LOWORD(lParam)))) return TRUE;
      break;
    case WM_SETFOCUS: {
      result = Default(message, wParam, lParam);
      if (TWinControl* windowed = control_.AsWinControl()) host_.Form().FocusMovedTo(windowed);
      return result;
    }
    case WM_CHAR: {
      char key = static_cast<char>(wParam);
      if (!OnChar(key)) return 0;
      wParam = static_cast<unsigned char>(key);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (OnMouse(message, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))})) return 0;
      break;
    case WM_ERASEBKGND:
      if (OnEraseBackground(reinterpret_cast<HDC>(wParam))) return 1;
      break;
    case WM_PAINT:
      if (OnPaint()) return 0;
      break;
    case WM_SIZE:
      OnSize();
      break;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

const TControl* ControlWindow::PointerTarget(HWND under) { return under == window_ ? &control_ : nullptr; }

// The pointer a control asks for (a disabled child gets no mouse messages of
// its own, so its parent looks for it: see PanelWindow::PointerTarget).
bool ControlWindow::SetCursorOver(HWND under, int hitTest) {
  if (hitTest != HTCLIENT && hitTest != HTERROR) return false;
  const TControl* target = PointerTarget(under);
  if (target == nullptr) return false;
  HCURSOR cursor = CursorOf(target->Looks.cursor);
  if (cursor == nullptr) return false;
  SetCursor(cursor);
  return true;
}

bool ReflectToChild(const ControlHost& host, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (ControlWindow* child = host.FindByHandle(reinterpret_cast<HWND>(lParam))) {
        child->Notified(HIWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC:
      if (ControlWindow* child = host.FindByHandle(reinterpret_cast<HWND>(lParam))) {
        result = reinterpret_cast<LRESULT>(child->Colours(reinterpret_cast<HDC>(wParam)));
        return true;
      }
      return false;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (ControlWindow* child = host.FindByHandle(item->hwndItem)) {
        child->Draw(*item);
        result = TRUE;
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

}  // namespace ui::win32
