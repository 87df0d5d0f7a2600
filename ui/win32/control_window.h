// One real child window behind one toolkit control: it mirrors the control's
// state into the window (its window text is the caption, so automation and
// screen readers find and press it) and turns the window's notifications
// into the control's events.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/controls.h"
#include "ui/win32/glyph.h"

namespace ui::win32 {

class FormWindow;


class ControlWindow final : public ControlPeer {
 public:
  // Creates the window inside `parent` from the control's current state.
  // Returns nullptr when the system refuses the window.
  static std::unique_ptr<ControlWindow> Create(FormWindow& form, TControl& control, HWND parent, int id);
  ~ControlWindow() override;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  void TextChanged(const std::string& text) override;
  void EnabledChanged(bool enabled) override;
  void ItemIndexChanged(int index) override;
  void CheckedChanged(bool checked) override;
  void Focus() override;

  HWND Handle() const { return window_; }
  TControl& Control() const { return control_; }
  // The control is going away: from now on the window only does what its
  // class does, and reaches no toolkit object.
  void Detach() { detached_ = true; }

  // A notification (WM_COMMAND code) of this window to its parent.
  void Notified(WORD code);
  // Paints an owner-drawn button (WM_DRAWITEM of this window to its parent).
  void Draw(const DRAWITEMSTRUCT& item);

 private:
  ControlWindow(FormWindow& form, TControl& control) : form_(form), control_(control) {}
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT SpeedButtonMouse(UINT message, LPARAM lParam);
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);
  void CentreLines();
  bool SetCursorOver(HWND under, int hitTest);
  void PaintPanel();

  FormWindow& form_;
  TControl& control_;
  HWND window_ = nullptr;
  std::unique_ptr<Glyph> glyph_;
  WNDPROC original_ = DefWindowProcA;
  bool detached_ = false;
  bool settingText_ = false;
  bool tracking_ = false;  // a speed button held down with the mouse
  bool pressed_ = false;   // a panel under a held mouse button
};

// The window class of panels.
inline constexpr const char* kPanelClass = "TPanel";

}  // namespace ui::win32
