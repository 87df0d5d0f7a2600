#include "platform/win32/modal_section.h"

#include <exception>

#include "platform/win32/message_loop.h"

namespace platform::win32 {

namespace {

struct CollectContext {
  HWND keep;
  std::vector<HWND>* windows;
  std::exception_ptr error;  // raised while collecting
};

// The error is kept and raised again once the enumeration has returned, in
// our own frames: this runs while a box is being shown, the error box too,
// and reporting from here would show another box from inside that one.
BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM context) noexcept {
  auto& collect = *reinterpret_cast<CollectContext*>(context);
  try {
    // The hidden application window is the task bar's button: it stays
    // enabled, so that the user can minimise and restore the program while
    // it waits (its forms are disabled, so nothing else takes input).
    if (window != collect.keep && window != ApplicationWindow() && IsWindowVisible(window) &&
        IsWindowEnabled(window)) {
      collect.windows->push_back(window);
    }
    return TRUE;
  } catch (...) {
    collect.error = std::current_exception();
    return FALSE;
  }
}

bool TakesInput(HWND window) {
  return window != nullptr && IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

}  // namespace

ModalSection::ModalSection(HWND keep) : active_(GetActiveWindow()) {
  CollectContext context{keep, &disabled_, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&context));
  if (context.error) std::rethrow_exception(context.error);  // before any window was disabled
  for (HWND window : disabled_) EnableWindow(window, FALSE);
}

void ModalSection::Leave() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabled_.clear();
  if (!TakesInput(active_)) return;
  // A program the user turned to meanwhile (or one an action started) keeps
  // the foreground: the activation is given back only within this program.
  HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) {
    SetForegroundWindow(active_);
  } else if (GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId()) {
    SetActiveWindow(active_);
  }
}

ModalSection::~ModalSection() { Leave(); }

HWND BoxOwner() {
  HWND application = ApplicationWindow();
  HWND active = GetActiveWindow();
  if (active != nullptr && active != application) return active;
  if (application == nullptr) return active;
  HWND popup = GetLastActivePopup(application);
  return popup != nullptr && IsWindowVisible(popup) ? popup : application;
}

// Boxes used to belong to the hidden application window, with every window
// disabled around them. The system enabled none of them before the box went,
// so the activation could leave the program when it closed. Owned by the active
// window, the box hands the activation back to it, as the dialog manager
// enables the owner before the box hides; the section takes the others.
int ShowModalBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
  if (owner == nullptr || owner == ApplicationWindow()) owner = BoxOwner();
  const ModalSection modal(owner);
  return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

}  // namespace platform::win32
