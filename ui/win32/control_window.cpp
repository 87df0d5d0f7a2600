#include "ui/win32/control_window.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>

#include "platform/win32/barrier.h"
#include "ui/scaling.h"
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
  // here, once, in its user data, with our procedure in front of its class's.
  window_ = CreateWindowExA(kind.exStyle, kind.windowClass, control_.Text().c_str(), style, Scaled(control_.Left),
                            Scaled(control_.Top), Scaled(control_.Width),
                            Scaled(kind.height != 0 ? kind.height : control_.Height), parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                            kind.ownClass ? this : nullptr);
  if (window_ == nullptr) return false;
  if (!kind.ownClass) {
    // The window's own procedure, not comctl32's subclass chain: that one
    // looks its chain up in a window property for every message, which under
    // Wine is a round trip to the server (hundreds while the window first
    // shows). A control whose messages never reach its object would look
    // alive and do nothing.
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    classProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindow::SubclassProc)));
    if (classProc_ == nullptr) {
      DestroyWindow(window_);
      window_ = nullptr;
      return false;
    }
    subclassed_ = true;
  }
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.Paint().FontFor(control_)), FALSE);
  Created();
  control_.SetPeer(this);
  return true;
}

int ControlWindow::Scaled(int pixels) const { return ui::Scaled(pixels, host_.Dpi()); }

// A control that fills its parent follows the parent's size instead.
void ControlWindow::Rescale() {
  if (control_.Align == TAlign::alNone) {
    const int height = MadeAs().height != 0 ? MadeAs().height : control_.Height;
    SetWindowPos(window_, nullptr, Scaled(control_.Left), Scaled(control_.Top), Scaled(control_.Width), Scaled(height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.Paint().FontFor(control_)), TRUE);
  Rescaled();
}

// Nothing reaches a gone object: its own class's window forgets it, a system
// control loses our subclass (unless the window went first).
ControlWindow::~ControlWindow() {
  if (subclassed_) {
    RemoveSubclass();
  } else {
    Unbind(window_);
  }
}

void ControlWindow::RemoveSubclass() {
  subclassed_ = false;
  // Nothing of ours stays in front of the class's procedure; a window that
  // is gone already has nothing to restore.
  if (GetWindowLongPtrA(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ControlWindow::SubclassProc)) {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc_));
  }
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

LRESULT CALLBACK ControlWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) {
    // Our procedure could not be taken out (another subclass came after it):
    // the class does the rest.
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC)), window, message,
                           wParam, lParam);
  }
  ControlWindow& control = *self;
  const LRESULT result = platform::win32::Guarded<LRESULT>(0, [&] { return control.Message(message, wParam, lParam); });
  // The window's last message: the subclass goes with it.
  if (message == WM_NCDESTROY) control.RemoveSubclass();
  return result;
}

LRESULT ControlWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!subclassed_) return DefWindowProcA(window_, message, wParam, lParam);
  return CallWindowProcA(classProc_, window_, message, wParam, lParam);
}

LRESULT ControlWindow::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  if (detached_) return Default(message, wParam, lParam);
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) host_.RelayToHints(window_, message, wParam, lParam);
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
      // Windows' comctl32 turns a subclassed window into one that takes
      // UTF-16 (Wine 8's keeps it ANSI); the key handlers take ANSI.
      const bool unicode = IsWindowUnicode(window_) != FALSE;
      std::optional<char> key = TypedKey(wParam, unicode);
      if (!key) break;  // a double-byte character: none of our handlers looks for one
      const char typed = *key;
      if (!OnChar(*key)) return 0;
      if (*key != typed) wParam = TypedParam(*key, unicode);
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

std::optional<char> TypedKey(WPARAM typed, bool unicode) {
  if (!unicode) return static_cast<char>(typed);
  // As the system turns it for a window that takes ANSI: a character the
  // code page lacks becomes its default character.
  const auto unit = static_cast<wchar_t>(typed);
  char bytes[2] = {};
  if (WideCharToMultiByte(CP_ACP, 0, &unit, 1, bytes, sizeof bytes, nullptr, nullptr) != 1) return std::nullopt;
  return bytes[0];
}

WPARAM TypedParam(char key, bool unicode) {
  wchar_t unit = 0;
  if (!unicode || MultiByteToWideChar(CP_ACP, 0, &key, 1, &unit, 1) != 1) return static_cast<unsigned char>(key);
  return unit;
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
