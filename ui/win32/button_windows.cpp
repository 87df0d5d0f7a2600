#include "ui/win32/button_windows.h"

#include "platform/win32/scoped.h"

namespace ui::win32 {

void ButtonWindow::Created() { glyph_ = Glyph::Load(control_.Looks.glyph, control_.Looks.numGlyphs, host_.Dpi()); }

void ButtonWindow::Notified(WORD code) {
  if (code == BN_CLICKED) control_.Click();
}

void ButtonWindow::Draw(const DRAWITEMSTRUCT& item) {
  const std::string caption = WindowText(window_);
  ButtonFace face{.caption = caption,
                  .glyph = glyph_.get(),
                  .layout = control_.Looks.layout,
                  .pressed = (item.itemState & ODS_SELECTED) != 0,
                  .disabled = (item.itemState & ODS_DISABLED) != 0 || !IsWindowEnabled(window_),
                  .focused = (item.itemState & ODS_FOCUS) != 0 && host_.FocusCuesShown(),
                  .dpi = host_.Dpi()};
  const platform::win32::Selection font(item.hDC, host_.Paint().FontFor(control_));
  DrawFace(item.hDC, item.rcItem, face);
}

WindowKind SpeedButtonWindow::MadeAs() const {
  return {.windowClass = "Button", .style = BS_OWNERDRAW | WS_TABSTOP};
}

// A release over the button reports BN_CLICKED to the parent like any button.
bool SpeedButtonWindow::OnMouse(UINT message, POINT at) {
  RECT client;
  GetClientRect(window_, &client);
  const bool inside = PtInRect(&client, at) != FALSE;
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
      // Space held down captures the mouse too: then the button's own handling.
      if (!tracking_) return false;
      tracking_ = false;
      SendMessageA(window_, BM_SETSTATE, FALSE, 0);
      break;
    default:
      break;
  }
  return true;
}

void SpeedButtonWindow::DrawFace(HDC dc, const RECT& bounds, ButtonFace& face) { DrawSpeedButton(dc, bounds, face); }

WindowKind GlyphButtonWindow::MadeAs() const {
  return {.windowClass = "Button", .style = BS_OWNERDRAW | WS_TABSTOP};  // DrawFace draws the default frame
}

// The default button shows its frame unless another glyph button has the focus.
void GlyphButtonWindow::DrawFace(HDC dc, const RECT& bounds, ButtonFace& face) {
  ControlWindow* focused = host_.FindByHandle(GetFocus());
  const bool otherHasFocus = focused != nullptr && focused != this && focused->DialogButton() != nullptr;
  face.defaultFrame = button_.Default && !otherHasFocus;
  DrawGlyphButton(dc, bounds, face);
}

WindowKind CheckBoxWindow::MadeAs() const { return {.windowClass = "Button", .style = BS_AUTOCHECKBOX | WS_TABSTOP}; }

void CheckBoxWindow::Created() { CheckedChanged(box_.Checked()); }

void CheckBoxWindow::Notified(WORD code) {
  if (code == BN_CLICKED) box_.UserSetChecked(SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

void CheckBoxWindow::CheckedChanged(bool checked) {
  SendMessageA(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace ui::win32
