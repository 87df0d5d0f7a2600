// Picks the window class of a control once, by its kind, where its window is made.
#pragma once

#include <memory>

#include "ui/win32/control_window.h"

namespace ui::win32 {

// The window of `control` inside `parent`, made from the control's current
// state; nullptr for a control of no kind the binding knows, or when the
// system refuses the window.
std::unique_ptr<ControlWindow> MakeControlWindow(ControlHost& host, TControl& control, HWND parent, int id);

}  // namespace ui::win32
