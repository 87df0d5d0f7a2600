#include "app/start.h"

#include <windows.h>

#include <string>

#include "platform/win32/barrier.h"
#include "platform/win32/message_loop.h"
#include "ui/win32/application_window.h"
#include "ui/win32/window_binding.h"

namespace app {

namespace {

// Errors no handler caught: the standard error box, modal to the whole
// application like every box of ours; the program goes on running.
void ShowErrorBox(const std::string& text) {
  if (ui::Application.ShowException) ui::Application.ShowException(ui::ErrorBoxText(text));
}

// The error box reaches the platform only while Run holds it.
struct ErrorBox {
  explicit ErrorBox(platform::Boxes& boxes) {
    ui::Application.ShowException = [&boxes](const std::string& message) {
      boxes.ApplicationMessageBox(message, ui::Application.Title, platform::kErrorBox);
    };
    platform::win32::SetErrorReporter(ShowErrorBox);
  }
  ~ErrorBox() { ui::Application.ShowException = nullptr; }
  ErrorBox(const ErrorBox&) = delete;
  ErrorBox& operator=(const ErrorBox&) = delete;
};

}  // namespace

int Run(const platform::Platform& os, const FormMaker& makeForms) noexcept {
  // A drive without a disk (an empty card reader) answers a look at it with
  // an error, not with the system's "No disk" box: the removal's guard and
  // the folder picker look at every drive. The flags already set stay.
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS);
  int exitCode = 1;
  try {
    const ErrorBox errorBox(os.boxes);
    try {
      ui::Application.Title = "Vandrel download manager";
      ui::win32::InstallWindowBinding(ui::Application.Title.c_str());
      ui::TForm& mainForm = makeForms(os);  // the main window's FormCreate runs here
      ui::win32::ShowApplicationWindow();
      mainForm.Show();
      exitCode = platform::win32::RunMessageLoop();
    } catch (...) {
      // The main window could not be made, or the loop failed: the program ends.
      platform::win32::ReportCurrentException();
    }
    try {
      ui::Application.DestroyForms();
    } catch (...) {
      platform::win32::ReportCurrentException();
    }
  } catch (...) {
    // The error box could not be set up (out of memory): the program ends quietly.
  }
  return exitCode;
}

}  // namespace app
