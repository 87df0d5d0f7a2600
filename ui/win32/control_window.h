// One real child window behind one toolkit control: it mirrors the control's
// state into the window (its window text is the caption, so automation and
// screen readers find and press it) and turns the window's messages into the
// control's events. Each kind of control has a small class of its own
// (button_windows.h, text_windows.h, combo_box_window.h, panel_window.h),
// picked once by MakeControlWindow (control_factory.h); this base turns the
// messages into calls of named handlers, which a kind overrides where it
// cares.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/win32/paint_resources.h"

namespace ui::win32 {

class ControlWindow;
using ControlWindows = std::vector<std::unique_ptr<ControlWindow>>;

// What the control windows of a form ask of it (the form window is the host).
class ControlHost {
 public:
  virtual TCustomForm& Form() const = 0;
  virtual PaintResources& Paint() = 0;
  // The window of one of the form's controls, or nullptr.
  virtual ControlWindow* FindByHandle(HWND window) const = 0;
  // Children of `parent` that fill it follow its new size.
  virtual void AlignChildren(HWND parent) = 0;
  // Whether the focus shows its rectangle: only once the keyboard was used
  // in the window (the system's keyboard cues).
  virtual bool FocusCuesShown() const = 0;
  // The density of the display the form shows on.
  virtual int Dpi() const = 0;
  // A mouse message of one of the form's controls, for its hints.
  virtual void RelayToHints(HWND control, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~ControlHost() = default;
};

// The class and styles of a control's window.
struct WindowKind {
  const char* windowClass = "Static";
  DWORD style = 0;
  DWORD exStyle = 0;
  int height = 0;  // 0: the control's height
  bool ownClass = false;  // one of our classes, bound at birth; else a system control, subclassed
};

class ControlWindow : public ControlPeer {
 public:
  ~ControlWindow() override;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  // Makes the window inside `parent` from the control's current state and
  // becomes the control's peer; false when the system refuses the window.
  bool Create(HWND parent, int id);
  // The form moved to a display of another density: place, size, font and
  // pictures follow it.
  void Rescale();

  HWND Handle() const { return window_; }
  TControl& Control() const { return control_; }
  // The control is going away: from now on the window only does what its
  // class does, and reaches no toolkit object.
  void Detach() { detached_ = true; }

  // ControlPeer: what every kind mirrors.
  void TextChanged(const std::string& text) override;
  void EnabledChanged(bool enabled) override;
  void Focus() override;

  // What the parent window receives for this control: a notification
  // (WM_COMMAND code), a request to paint an owner-drawn button
  // (WM_DRAWITEM) and the colours of a static text (WM_CTLCOLORSTATIC).
  virtual void Notified(WORD /*code*/) {}
  virtual void Draw(const DRAWITEMSTRUCT& /*item*/) {}
  HBRUSH Colours(HDC dc) { return host_.Paint().LabelColours(control_, dc); }

  // The glyph button that Enter and Esc may press; nullptr for other kinds.
  virtual TBitBtn* DialogButton() { return nullptr; }
  // A button of any kind: Enter presses it when it has the focus.
  virtual bool IsButton() const { return false; }

 protected:
  ControlWindow(ControlHost& host, TControl& control) : host_(host), control_(control) {}

  virtual WindowKind MadeAs() const = 0;
  // The window exists: what its class cannot take at creation (items, icon, state).
  virtual void Created() {}
  // The window has its place and font at the form's new density: what else
  // depends on it (pictures, measured sizes).
  virtual void Rescaled() {}
  // A length of the 96-dpi layout at the form's density.
  int Scaled(int pixels) const;
  // The program changed the text and the window shows it now.
  virtual void TextShown() {}

  // Handlers of the window's own messages; each returns true when it handled
  // the message, false to leave it to the window's class.
  virtual bool OnMouse(UINT /*message*/, POINT /*at*/) { return false; }
  // A typed character; false drops it, true passes on `key` (maybe replaced).
  virtual bool OnChar(char& /*key*/) { return true; }
  virtual bool OnEraseBackground(HDC /*dc*/) { return false; }
  virtual bool OnPaint() { return false; }
  virtual void OnSize() {}
  // The control whose pointer shows when the mouse is over `under`.
  virtual const TControl* PointerTarget(HWND under);

  // The window's class's own handling of a message.
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  // True while the program sets the text (the window's own change
  // notification is no change by the user).
  bool SettingText() const { return settingText_; }

  ControlHost& host_;
  TControl& control_;
  HWND window_ = nullptr;

 private:
  template <class T>
  friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void Bind(HWND window) { window_ = window; }
  void RemoveSubclass();
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  bool SetCursorOver(HWND under, int hitTest);

  bool subclassed_ = false;  // a system control that our procedure still sends here
  WNDPROC classProc_ = nullptr;  // the procedure ours stands in front of
  bool detached_ = false;
  bool settingText_ = false;
};

// The text a window shows.
std::string WindowText(HWND window);

// A typed character (WM_CHAR's wParam) as the key handlers take it, one
// character of the ANSI code page; none for a double-byte character.
// `unicode`: the window's procedure takes UTF-16 (IsWindowUnicode).
std::optional<char> TypedKey(WPARAM typed, bool unicode);
// The wParam of WM_CHAR that types `key` into such a window.
WPARAM TypedParam(char key, bool unicode);

// Notifications, colours and owner drawing that a parent window receives for
// one of the form's control windows go to that control window. True (with
// the message's result) when `message` was one of them.
bool ReflectToChild(const ControlHost& host, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace ui::win32
