#include "ui/win32/panel_window.h"

#include "ui/win32/painting.h"

namespace ui::win32 {

WindowKind PanelWindow::MadeAs() const {
  return {.windowClass = kPanelClass,
          .style = WS_CLIPCHILDREN,
          .exStyle = panel_.ClientEdge ? static_cast<DWORD>(WS_EX_CLIENTEDGE) : 0u,
          .ownClass = true};
}

// A panel is clicked when the button goes up where it went down.
bool PanelWindow::OnMouse(UINT message, POINT /*at*/) {
  if (message == WM_LBUTTONDOWN) pressed_ = true;
  if (message == WM_LBUTTONUP && pressed_) {
    pressed_ = false;
    panel_.Click();
    return true;
  }
  return false;
}

bool PanelWindow::OnEraseBackground(HDC dc) {
  FillBackground(window_, dc, host_.Paint().BrushOf(panel_.Looks.color));
  return true;
}

bool PanelWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client;
  GetClientRect(window_, &client);
  DrawBevels(dc, client, panel_.Looks, host_.Dpi());
  EndPaint(window_, &paint);
  return true;
}

void PanelWindow::OnSize() {
  host_.AlignChildren(window_);
  InvalidateRect(window_, nullptr, TRUE);  // the bevels move with the edges
}

// A disabled child gets no mouse messages of its own: the panel looks for
// the control under the pointer, so that a disabled speed button still shows
// its hand, as graphic controls do.
const TControl* PanelWindow::PointerTarget(HWND under) {
  if (under != window_) return nullptr;
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(window_, &point);
  HWND child = ChildWindowFromPointEx(window_, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  const ControlWindow* found = child != window_ ? host_.FindByHandle(child) : nullptr;
  return found != nullptr ? &found->Control() : &panel_;
}

}  // namespace ui::win32
