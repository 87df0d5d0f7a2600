// Finding another program's windows: the end-to-end driver's and the
// start-up benchmark's one search of the screen's top-level windows.
#pragma once

#include <windows.h>

#include <functional>

namespace win32_tests {

// The first visible top-level window that `matches` accepts, given the
// window and its process; nullptr when there is none.
HWND FindVisibleWindow(const std::function<bool(HWND window, DWORD process)>& matches);

// The first visible top-level window of the process that `matches` accepts
// (any, when it is empty); nullptr when there is none.
HWND FindProcessWindow(DWORD process, const std::function<bool(HWND window)>& matches = {});

}  // namespace win32_tests
