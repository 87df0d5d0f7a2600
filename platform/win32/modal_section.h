// One way to be modal, for every box, dialog and form of the program and for
// the time an action waits on another program: the other windows of this
// thread take no input meanwhile, and afterwards the window that was active
// before is active again.
//
// The order is the one Windows needs: the other windows take input again and
// the window active before takes the activation back while the modal window
// is still shown; only then does the modal window hide or go. A modal window
// that hides while it is active hands the activation to the next window of
// the z-order that can take it (Wine tries the owner first only for pop-up
// windows), and with ours still disabled that is another program's.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::win32 {

class ModalSection final : public platform::ModalSection {
 public:
  // Remembers the active window and disables the visible, enabled top-level
  // windows of this thread but the application window (the task bar's
  // button, which minimises and restores the program meanwhile) and `keep`:
  // the owner of a system dialog or box,
  // which the system's dialog manager disables and enables itself, in the
  // right order. When the windows cannot be collected (out of memory) it
  // throws, and nothing has been disabled.
  explicit ModalSection(HWND keep = nullptr);
  // Leaves it again: for a system dialog or box, which is gone by then.
  ~ModalSection() override;
  ModalSection(const ModalSection&) = delete;
  ModalSection& operator=(const ModalSection&) = delete;

  // Enables the windows (once) and makes the window that was active before
  // active again, unless another program has taken the foreground meanwhile
  // or that window can take no input. Before a modal window of ours hides.
  void Leave() override;

 private:
  std::vector<HWND> disabled_;
  HWND active_;
};

// The window a box of ours belongs to: the active window of this thread; when
// none is (or the hidden application window is), the window last active
// under the application window; the application window when none is shown.
HWND BoxOwner();

// MessageBoxA in a modal section, owned by `owner`, or by BoxOwner() when
// `owner` is none or the hidden application window.
int ShowModalBox(HWND owner, const std::string& text, const std::string& caption, UINT style);

}  // namespace platform::win32
