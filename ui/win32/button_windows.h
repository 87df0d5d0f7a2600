// The windows of the three kinds of button: speed buttons and glyph buttons,
// owner-drawn "Button" windows that share their drawing, and check boxes.
#pragma once

#include <memory>

#include "ui/win32/button_painting.h"
#include "ui/win32/control_window.h"
#include "ui/win32/glyph.h"

namespace ui::win32 {

// An owner-drawn button: still a "Button" window with its caption as window
// text, so automation finds and presses it (BM_CLICK too). It draws its glyph
// and caption with the window's own text and state, which automation may
// have changed.
class ButtonWindow : public ControlWindow {
 public:
  void Notified(WORD code) override;
  void Draw(const DRAWITEMSTRUCT& item) override;
  bool IsButton() const override { return true; }

 protected:
  using ControlWindow::ControlWindow;
  void Created() override;
  void Rescaled() override { Created(); }
  virtual void DrawFace(HDC dc, const RECT& bounds, ButtonFace& face) = 0;

 private:
  std::unique_ptr<Glyph> glyph_;
};

// A flat button that a click leaves without the focus: the mouse is tracked
// here instead of by the button itself, which would move the focus to it.
// The keyboard reaches it as a tab stop, and Space presses it as any button.
class SpeedButtonWindow final : public ButtonWindow {
 public:
  SpeedButtonWindow(ControlHost& host, TSpeedButton& button) : ButtonWindow(host, button) {}

 private:
  WindowKind MadeAs() const override;
  bool OnMouse(UINT message, POINT at) override;
  void DrawFace(HDC dc, const RECT& bounds, ButtonFace& face) override;

  bool tracking_ = false;  // held down with the mouse
};

// A push button with a glyph; it takes the focus, and Enter or Esc may press
// it (dialog_keys.h).
class GlyphButtonWindow final : public ButtonWindow {
 public:
  GlyphButtonWindow(ControlHost& host, TBitBtn& button) : ButtonWindow(host, button), button_(button) {}
  TBitBtn* DialogButton() override { return &button_; }

 private:
  WindowKind MadeAs() const override;
  void DrawFace(HDC dc, const RECT& bounds, ButtonFace& face) override;

  TBitBtn& button_;
};

class CheckBoxWindow final : public ControlWindow {
 public:
  CheckBoxWindow(ControlHost& host, TCheckBox& box) : ControlWindow(host, box), box_(box) {}
  void Notified(WORD code) override;
  void CheckedChanged(bool checked) override;

 private:
  WindowKind MadeAs() const override;
  void Created() override;

  TCheckBox& box_;
};

}  // namespace ui::win32
