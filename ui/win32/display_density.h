// The density of the display a window shows on. The program is per-monitor
// aware (its manifest): where the system can tell each window's density
// (Windows 10 1607 and later) it is asked for that; before, every window has
// the system's density, which the program is aware of.
#pragma once

#include <windows.h>

namespace ui::win32 {

// The density new windows get before they know their monitor.
int SystemDpi();
// The density of the monitor `window` shows on.
int WindowDpi(HWND window);
// Widens a client rectangle to the window's outer rectangle at `dpi`.
void AdjustFrame(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace ui::win32
