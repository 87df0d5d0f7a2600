#include "ui/win32/control_window.h"

// clang-format off
#include <windows.h>
#include <richedit.h>
// clang-format on

#include <algorithm>

#include "platform/win32/barrier.h"
#include "ui/forms.h"
#include "ui/win32/button_painting.h"
#include "ui/win32/form_window.h"
#include "ui/win32/glyph.h"
#include "ui/win32/painting.h"

namespace ui::win32 {

namespace {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

void RegisterPanelClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(wc.hInstance, kPanelClass, &wc)) return;
  wc.lpfnWndProc = DefWindowProcA;  // replaced per window, like every control's
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPanelClass;
  RegisterClassExA(&wc);
}

// The rich-edit control lives in a library of its own, loaded on first use.
const char* RichEditClass() {
  static const bool loaded = LoadLibraryA("riched20.dll") != nullptr;
  return loaded ? RICHEDIT_CLASSA : "Edit";
}

// The closed field of a drop-down list is as high as its font makes it; the
// field's item height is adjusted until the whole control has the layout's
// height. The value read back is not always the value set (Wine adds 2), so
// each step corrects the value set last by what the height still lacks.
void FitClosedHeight(HWND combo, int height) {
  auto field = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int attempt = 0; attempt < 4 && field > 0; ++attempt) {
    RECT closed;
    GetWindowRect(combo, &closed);
    const int difference = height - static_cast<int>(closed.bottom - closed.top);
    if (difference == 0 || field + difference <= 0) return;
    field += difference;
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  }
}

struct WindowKind {
  const char* windowClass = "Static";
  DWORD style = 0;
  DWORD exStyle = 0;
  int height = 0;
};

WindowKind KindOf(const TControl& control) {
  WindowKind kind;
  kind.height = control.Height;
  const bool centred = control.Alignment == TAlignment::taCenter;
  if (const auto* panel = dynamic_cast<const TPanel*>(&control)) {
    kind.windowClass = kPanelClass;
    kind.style = WS_CLIPCHILDREN;
    if (panel->ClientEdge) kind.exStyle = WS_EX_CLIENTEDGE;
  } else if (dynamic_cast<const TComboBox*>(&control) != nullptr) {
    kind.windowClass = "ComboBox";
    kind.style = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    kind.height = 400;  // the height of the open list; the closed field follows the item height
  } else if (dynamic_cast<const TEdit*>(&control) != nullptr) {
    kind.windowClass = "Edit";
    kind.style = ES_AUTOHSCROLL | WS_TABSTOP;
    kind.exStyle = WS_EX_CLIENTEDGE;
  } else if (dynamic_cast<const TSpeedButton*>(&control) != nullptr) {
    kind.windowClass = "Button";
    kind.style = BS_OWNERDRAW;  // still a button with its caption: automation presses it
  } else if (dynamic_cast<const TCheckBox*>(&control) != nullptr) {
    kind.windowClass = "Button";
    kind.style = BS_AUTOCHECKBOX | WS_TABSTOP;
  } else if (dynamic_cast<const TBitBtn*>(&control) != nullptr) {
    kind.windowClass = "Button";
    kind.style = BS_OWNERDRAW | WS_TABSTOP;  // the default button's frame is drawn by Draw
  } else if (const auto* rich = dynamic_cast<const TRichEdit*>(&control)) {
    kind.windowClass = RichEditClass();
    kind.style = ES_MULTILINE | (rich->ReadOnly ? ES_READONLY : 0) | (centred ? ES_CENTER : 0) | WS_TABSTOP;
    kind.exStyle = WS_EX_CLIENTEDGE;
  } else if (dynamic_cast<const TImage*>(&control) != nullptr) {
    kind.style = SS_ICON | SS_NOTIFY;
  } else {  // a label
    kind.style = SS_NOTIFY | (centred ? SS_CENTER : control.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
  }
  return kind;
}

}  // namespace

std::unique_ptr<ControlWindow> ControlWindow::Create(FormWindow& form, TControl& control, HWND parent, int id) {
  RegisterPanelClass();
  const WindowKind kind = KindOf(control);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
  if (!control.Enabled()) style |= WS_DISABLED;
  std::unique_ptr<ControlWindow> peer(new ControlWindow(form, control));
  peer->window_ = CreateWindowExA(kind.exStyle, kind.windowClass, control.Text().c_str(), style, control.Left,
                                  control.Top, control.Width, kind.height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (peer->window_ == nullptr) return nullptr;
  SetWindowLongPtrA(peer->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer.get()));
  peer->original_ =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(peer->window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));

  HWND window = peer->window_;
  peer->glyph_ = Glyph::Load(control.Looks.glyph, control.Looks.numGlyphs);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(form.FontFor(control)), FALSE);
  if (auto* combo = dynamic_cast<TComboBox*>(&control)) {
    for (const auto& item : combo->Items) SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(window, CB_SETITEMHEIGHT, 0, 15);
    FitClosedHeight(window, control.Height);
    SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(combo->ItemIndex()), 0);
  } else if (dynamic_cast<TImage*>(&control) != nullptr) {
    SendMessageA(window, STM_SETICON, reinterpret_cast<WPARAM>(ProgramIcon()), 0);
  } else if (auto* box = dynamic_cast<TCheckBox*>(&control)) {
    SendMessageA(window, BM_SETCHECK, box->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (dynamic_cast<TRichEdit*>(&control) != nullptr) {
    peer->CentreLines();
  }
  control.SetPeer(peer.get());
  return peer;
}

ControlWindow::~ControlWindow() {
  if (IsWindow(window_)) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

void ControlWindow::TextChanged(const std::string& text) {
  settingText_ = true;  // the edit's own change notification is not a user change
  SetWindowTextA(window_, text.c_str());
  settingText_ = false;
  if (dynamic_cast<TRichEdit*>(&control_) != nullptr) CentreLines();
}

void ControlWindow::EnabledChanged(bool enabled) { EnableWindow(window_, enabled ? TRUE : FALSE); }

void ControlWindow::ItemIndexChanged(int index) {
  SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ControlWindow::CheckedChanged(bool checked) {
  SendMessageA(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ControlWindow::Focus() { SetFocus(window_); }

// Every paragraph of a rich text box centred, as its alignment asks.
void ControlWindow::CentreLines() {
  if (control_.Alignment != TAlignment::taCenter) return;
  PARAFORMAT format{};
  format.cbSize = sizeof format;
  format.dwMask = PFM_ALIGNMENT;
  format.wAlignment = PFA_CENTER;
  CHARRANGE all{0, -1};
  SendMessageA(window_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  SendMessageA(window_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  CHARRANGE start{0, 0};
  SendMessageA(window_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
}

void ControlWindow::Notified(WORD code) {
  if (auto* combo = dynamic_cast<TComboBox*>(&control_)) {
    if (code == CBN_SELCHANGE) combo->UserSelected(static_cast<int>(SendMessageA(window_, CB_GETCURSEL, 0, 0)));
  } else if (dynamic_cast<TEdit*>(&control_) != nullptr) {
    if (code == EN_CHANGE && !settingText_) control_.UserChangedText(WindowText(window_));
  } else if (auto* box = dynamic_cast<TCheckBox*>(&control_)) {
    if (code == BN_CLICKED) box->UserSetChecked(SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED);
  } else if (code == BN_CLICKED || code == STN_CLICKED) {
    control_.Click();  // buttons, labels and images
  }
}

LRESULT CALLBACK ControlWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return platform::win32::Guarded<LRESULT>(0, [&] { return self->Message(message, wParam, lParam); });
}

LRESULT ControlWindow::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(original_, window_, message, wParam, lParam);
}

LRESULT ControlWindow::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  if (detached_) return CallOriginal(message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      // Notifications of our own controls to their panel; everything else
      // (a combo box's list talking to the combo box) goes on as usual.
      if (ControlWindow* child = form_.FindByHandle(reinterpret_cast<HWND>(lParam))) {
        child->Notified(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (ControlWindow* child = form_.FindByHandle(reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(form_.LabelColours(child->Control(), reinterpret_cast<HDC>(wParam)));
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (ControlWindow* child = form_.FindByHandle(item->hwndItem)) {
        child->Draw(*item);
        return TRUE;
      }
      break;
    }
    case WM_SETCURSOR:
      if (SetCursorOver(reinterpret_cast<HWND>(wParam), static_cast<short>(LOWORD(lParam)))) return TRUE;
      break;
    case WM_ERASEBKGND:
      if (dynamic_cast<TPanel*>(&control_) != nullptr) {
        FillBackground(window_, reinterpret_cast<HDC>(wParam), form_.BrushOf(control_.Looks.color));
        return 1;
      }
      break;
    case WM_PAINT:
      if (dynamic_cast<TPanel*>(&control_) != nullptr) {
        PaintPanel();
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = CallOriginal(message, wParam, lParam);
      if (auto* windowed = dynamic_cast<TWinControl*>(&control_)) form_.Form().FocusMovedTo(windowed);
      return result;
    }
    case WM_CHAR:
      if (auto* edit = dynamic_cast<TEdit*>(&control_)) {
        const char key = edit->KeyPress(static_cast<char>(wParam));
        if (key == '\0') return 0;
        wParam = static_cast<unsigned char>(key);
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dynamic_cast<TSpeedButton*>(&control_) != nullptr) return SpeedButtonMouse(message, lParam);
      if (dynamic_cast<TPanel*>(&control_) != nullptr) {
        // A panel is clicked when the button goes up where it went down.
        if (message == WM_LBUTTONDOWN) pressed_ = true;
        if (message == WM_LBUTTONUP && pressed_) {
          pressed_ = false;
          control_.Click();
          return 0;
        }
      }
      break;
    case WM_SIZE:
      if (dynamic_cast<TPanel*>(&control_) != nullptr) {
        form_.AlignChildren(window_);
        InvalidateRect(window_, nullptr, TRUE);  // the bevels move with the edges
      }
      break;
    default:
      break;
  }
  return CallOriginal(message, wParam, lParam);
}

// Speed buttons take no focus: the mouse is tracked here instead of by the
// button itself, which would move the focus to it. A release over the button
// reports BN_CLICKED to the parent like any button (BM_CLICK comes this way too).
LRESULT ControlWindow::SpeedButtonMouse(UINT message, LPARAM lParam) {
  RECT client;
  GetClientRect(window_, &client);
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const bool inside = PtInRect(&client, point) != FALSE;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      tracking_ = true;
      SetCapture(window_);
      SendMessageA(window_, BM_SETSTATE, TRUE, 0);
      break;
    case WM_MOUSEMOVE:
      if (tracking_) SendMessageA(window_, BM_SETSTATE, inside ? TRUE : FALSE, 0);
      break;
    case WM_LBUTTONUP:
      if (tracking_) {
        tracking_ = false;
        if (GetCapture() == window_) ReleaseCapture();
        SendMessageA(window_, BM_SETSTATE, FALSE, 0);
        if (inside && IsWindowEnabled(window_)) {
          SendMessageA(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED),
                       reinterpret_cast<LPARAM>(window_));
        }
      }
      break;
    case WM_CAPTURECHANGED:
      if (tracking_) {
        tracking_ = false;
        SendMessageA(window_, BM_SETSTATE, FALSE, 0);
      }
      break;
    default:
      break;
  }
  return 0;
}

void ControlWindow::Draw(const DRAWITEMSTRUCT& item) {
  const bool speed = dynamic_cast<TSpeedButton*>(&control_) != nullptr;
  const auto* glyphButton = dynamic_cast<TBitBtn*>(&control_);
  if (!speed && glyphButton == nullptr) return;
  // The window's own caption and state: automation may have changed either.
  const std::string caption = WindowText(window_);
  ButtonFace face{.caption = caption,
                  .glyph = glyph_.get(),
                  .layout = control_.Looks.layout,
                  .pressed = (item.itemState & ODS_SELECTED) != 0,
                  .disabled = (item.itemState & ODS_DISABLED) != 0 || !IsWindowEnabled(window_),
                  .focused = (item.itemState & ODS_FOCUS) != 0};
  HGDIOBJ oldFont = SelectObject(item.hDC, form_.FontFor(control_));
  if (speed) {
    DrawSpeedButton(item.hDC, item.rcItem, face);
  } else {
    // The default button shows its frame unless another glyph button has the focus.
    const ControlWindow* focused = form_.FindByHandle(GetFocus());
    const bool otherHasFocus = focused != nullptr && focused != this &&
                               dynamic_cast<TBitBtn*>(&focused->Control()) != nullptr;
    face.defaultFrame = glyphButton->Default && !otherHasFocus;
    DrawGlyphButton(item.hDC, item.rcItem, face);
  }
  SelectObject(item.hDC, oldFont);
}

// The pointer a control asks for. A disabled child gets no mouse messages of
// its own, so its parent looks for it under the pointer: a disabled speed
// button still shows its hand, as graphic controls do.
bool ControlWindow::SetCursorOver(HWND under, int hitTest) {
  if (hitTest != HTCLIENT && hitTest != HTERROR) return false;
  const TControl* target = nullptr;
  if (under == window_) {
    target = &control_;
    if (dynamic_cast<TPanel*>(&control_) != nullptr) {
      POINT point;
      GetCursorPos(&point);
      ScreenToClient(window_, &point);
      HWND child = ChildWindowFromPointEx(window_, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
      const ControlWindow* found = child != window_ ? form_.FindByHandle(child) : nullptr;
      if (found != nullptr) target = &found->Control();
    }
  }
  if (target == nullptr) return false;
  HCURSOR cursor = CursorOf(target->Looks.cursor);
  if (cursor == nullptr) return false;
  SetCursor(cursor);
  return true;
}

void ControlWindow::PaintPanel() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client;
  GetClientRect(window_, &client);
  DrawBevels(dc, client, control_.Looks);
  EndPaint(window_, &paint);
}

}  // namespace ui::win32
