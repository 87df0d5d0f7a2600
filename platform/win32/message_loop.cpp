#include "platform/win32/message_loop.h"

#include "platform/win32/barrier.h"

namespace platform::win32 {

namespace {

HWND gApplicationWindow = nullptr;
MessageFilter gFilter = nullptr;

void Dispatch(MSG& message) {
  // Window procedures have barriers of their own; this one covers the filter.
  try {
    if (gFilter != nullptr && gFilter(message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  } catch (...) {
    ReportCurrentException();
  }
}

}  // namespace

void SetApplicationWindow(HWND window) { gApplicationWindow = window; }

HWND ApplicationWindow() { return gApplicationWindow; }

void SetMessageFilter(MessageFilter filter) { gFilter = filter; }

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

bool ServeOneMessage() {
  MSG message;
  const BOOL got = GetMessageA(&message, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop
    return false;
  }
  Dispatch(message);
  return true;
}

void ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the main loop
      return;
    }
    Dispatch(message);
  }
}

}  // namespace platform::win32
