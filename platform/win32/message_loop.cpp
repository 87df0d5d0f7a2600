#include "platform/win32/message_loop.h"

#include <exception>

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

struct CollectContext {
  HWND except;
  std::vector<HWND>* windows;
  std::exception_ptr error;  // raised while collecting
};

// The error is kept and raised again once the enumeration has returned, in
// our own frames: this runs while a box is being shown, the error box too,
// and reporting from here would show another box from inside that one.
BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM context) noexcept {
  auto& collect = *reinterpret_cast<CollectContext*>(context);
  try {
    if (window != collect.except && IsWindowVisible(window) && IsWindowEnabled(window)) {
      collect.windows->push_back(window);
    }
    return TRUE;
  } catch (...) {
    collect.error = std::current_exception();
    return FALSE;
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

TaskWindowsDisabled::TaskWindowsDisabled(HWND except) : active_(GetActiveWindow()) {
  CollectContext context{except, &disabled_, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&context));
  if (context.error) std::rethrow_exception(context.error);  // before any window was disabled
  for (HWND window : disabled_) EnableWindow(window, FALSE);
}

TaskWindowsDisabled::~TaskWindowsDisabled() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  if (active_ != nullptr && IsWindow(active_)) SetActiveWindow(active_);
}

}  // namespace platform::win32
