// The system's numbers for what the portable core names: windows, shell
// folders, message box styles and answers, show commands, wait results and
// the folder browser's notifications.
#pragma once

#include <windows.h>
#include <shtypes.h>

#include "platform/platform.h"

namespace platform::win32 {

inline HWND AsWindow(WindowHandle handle) { return reinterpret_cast<HWND>(handle.value); }
inline WindowHandle FromWindow(HWND window) { return WindowHandle{reinterpret_cast<std::uintptr_t>(window)}; }

// The shell's folder id (CSIDL); -1, which no shell knows, for a value
// outside the enumeration.
int ShellFolderId(SpecialFolder folder);
// The folder's KNOWNFOLDERID, for the folders that have no CSIDL; nullptr
// for the others.
const KNOWNFOLDERID* KnownFolderId(SpecialFolder folder);

UINT MessageBoxStyle(BoxStyle style);
BoxAnswer MessageBoxAnswer(int result);

int ShowWindowCommand(ShowCommand show);

WaitResult WaitResultOf(DWORD result);

BrowserEvent BrowserEventOf(UINT notification);

}  // namespace platform::win32
