// The binding of toolkit forms to real Win32 windows: every control becomes a
// child window whose window text is its caption, so that automation and
// screen readers find, read and press it; window notifications become the
// controls' events.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/controls.h"

namespace ui::win32 {

struct ControlWindow;

class FormWindow {
 public:
  // Creates the form's window (class "T" + form name) and all its controls
  // from their current state. The window is not shown yet.
  explicit FormWindow(TForm& form);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND Handle() const { return window_; }
  TForm& Form() const { return form_; }
  // Shows the window in the centre of the screen.
  void ShowCentered();

  // Tab and Shift+Tab move the focus between the form's tab stops.
  bool HandleTabKey(const MSG& message);
  // The binding of one of this form's control windows, or nullptr.
  ControlWindow* FindByHandle(HWND window) const;

 private:
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();

  TForm& form_;
  HWND window_ = nullptr;
  HFONT regularFont_ = nullptr;
  HFONT boldFont_ = nullptr;
  std::vector<std::unique_ptr<ControlWindow>> controls_;
};

// The hidden application window: it carries the application title and owns
// the message boxes.
HWND CreateApplicationWindow(const char* title);
HWND ApplicationWindow();

// Runs the message loop until the main window has closed.
int RunMessageLoop();
// Serves every message waiting in the queue and returns.
void ProcessMessages();

}  // namespace ui::win32
