// The application's message queue and its hidden application window, below
// both the real platform and the window binding: the binding installs the
// window and a filter for keys; the platform serves the queue while it waits.
#pragma once

#include <windows.h>

namespace platform::win32 {

// The hidden application window: it carries the application title and owns
// the forms (the message boxes belong to the active window: modal_section.h).
void SetApplicationWindow(HWND window);
HWND ApplicationWindow();

// Looks at every message before it is dispatched; true when it handled it.
using MessageFilter = bool (*)(MSG& message);
void SetMessageFilter(MessageFilter filter);

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();
// Waits for one message and serves it; false at WM_QUIT, which stays posted
// for the main loop.
bool ServeOneMessage();
// Serves every message waiting in the queue and returns.
void ProcessMessages();

}  // namespace platform::win32
