// Binds the toolkit to real windows: the application window, the filter
// that gives each form its dialog keys, and a window for every form the
// application creates, made when the form first needs one.
#pragma once

#include <windows.h>

namespace ui::win32 {

// Creates the application window and makes the toolkit give every form that
// the application creates its real window. Returns the application window.
HWND InstallWindowBinding(const char* title);

}  // namespace ui::win32
