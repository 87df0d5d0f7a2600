// Message boxes on the real platform.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include "platform/win32/modal_section.h"
#include "platform/win32/system_codes.h"

namespace platform {

using win32::AsWindow;

BoxAnswer Win32Platform::SystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                          BoxStyle style) {
  return win32::MessageBoxAnswer(win32::ShowModalBox(AsWindow(owner), text, caption, win32::MessageBoxStyle(style)));
}

BoxAnswer Win32Platform::ApplicationMessageBox(const std::string& text, const std::string& caption, BoxStyle style) {
  return win32::MessageBoxAnswer(win32::ShowModalBox(nullptr, text, caption, win32::MessageBoxStyle(style)));
}

void Win32Platform::ShowMessageDialog(const std::string& text, const std::string& caption) {
  ApplicationMessageBox(text, caption, BoxStyle{});
}

}  // namespace platform
