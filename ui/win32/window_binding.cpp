#include "ui/win32/window_binding.h"

#include <memory>

#include "platform/win32/message_loop.h"
#include "ui/win32/application_window.h"
#include "ui/win32/form_window.h"

namespace ui::win32 {

namespace {

bool FilterMessage(MSG& message) {
  FormWindow* form = FormWindow::Containing(message.hwnd);
  return form != nullptr && form->PreTranslate(message);
}

}  // namespace

HWND InstallWindowBinding(const char* title) {
  HWND window = MakeApplicationWindow(title);
  platform::win32::SetMessageFilter(FilterMessage);
  Application.CreateFormPeer = [](TForm& form) -> std::unique_ptr<FormPeer> {
    return std::make_unique<FormWindow>(form);
  };
  return window;
}

}  // namespace ui::win32
