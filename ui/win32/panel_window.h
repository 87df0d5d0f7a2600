// The window of a panel, a class of our own ("TPanel") bound at birth: its
// colour and bevels, a click where the mouse went down and up, children
// that fill it, and the pointers of the controls on it.
#pragma once

#include "ui/win32/control_window.h"

namespace ui::win32 {

inline constexpr const char* kPanelClass = "TPanel";

class PanelWindow final : public ControlWindow {
 public:
  PanelWindow(ControlHost& host, TPanel& panel) : ControlWindow(host, panel), panel_(panel) {}

 private:
  WindowKind MadeAs() const override;
  bool OnMouse(UINT message, POINT at) override;
  bool OnEraseBackground(HDC dc) override;
  bool OnPaint() override;
  void OnSize() override;
  const TControl* PointerTarget(HWND under) override;

  TPanel& panel_;
  bool pressed_ = false;  // the mouse went down on the panel itself
};

}  // namespace ui::win32
