// The keys a form sees before its controls, as in a dialog: Tab and
// Shift+Tab move between the enabled tab stops in tab order (and show the
// focus rectangle from then on: the system's keyboard cues), Enter presses
// the focused button or else the default button, Esc the cancel button, F1
// asks the form for help; on a key-preview form every typed character goes
// to the form first.
#pragma once

#include <windows.h>

#include "ui/forms.h"
#include "ui/win32/control_window.h"

namespace ui::win32 {

class DialogKeys {
 public:
  DialogKeys(TForm& form, const ControlHost& host, const ControlWindows& controls)
      : form_(form), host_(host), controls_(controls) {}

  // Looks at a message for the form's window `window` (or one of its
  // controls) before it is dispatched; true when the key was handled here.
  bool PreTranslate(HWND window, MSG& message);

  // The enabled tab stop first in tab order, or nullptr.
  TWinControl* FirstTabStop() const;

 private:
  bool Tab(HWND window, const MSG& message);
  bool EnterOrEscape(HWND window, WPARAM key);

  TForm& form_;
  const ControlHost& host_;
  const ControlWindows& controls_;
};

}  // namespace ui::win32
