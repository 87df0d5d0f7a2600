// The main routine: the application title, the three windows (the main
// window first, then the About box and the disclaimer, hidden), the message
// loop until the main window closes.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "manager/downloader1.h"
#include "manager/downloader2.h"
#include "manager/downloader3.h"
#include "platform/win32/barrier.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/application.h"

namespace {

// Errors no handler caught: the standard error box, modal to the whole
// application like every box of ours; the program goes on running.
void ShowErrorBox(const std::string& text) {
  if (ui::Application.ShowException) ui::Application.ShowException(ui::ErrorBoxText(text));
}

int Run() {
  platform::Win32Platform os;
  ui::Application.Title = "Vandrel download manager";
  ui::win32::InstallWindowBinding(ui::Application.Title.c_str());
  ui::Application.ShowException = [&os](const std::string& message) {
    os.ApplicationMessageBox(message, ui::Application.Title, platform::kErrorBox);
  };
  platform::win32::SetErrorReporter(ShowErrorBox);

  ui::TForm& form1 = ui::Application.CreateForm<manager::TForm1>(nullptr, os);  // runs FormCreate
  manager::AboutBox = &ui::Application.CreateForm<manager::TAboutBox>(nullptr, os);
  manager::Form2 = &ui::Application.CreateForm<manager::TForm2>(nullptr);
  ui::win32::ShowApplicationWindow();
  form1.Show();
  const int exitCode = platform::win32::RunMessageLoop();
  ui::Application.DestroyForms();
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  // The shell's folder browser and the URL download service are COM objects.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int exitCode = 1;
  try {
    exitCode = Run();
  } catch (...) {
    // Before the loop runs (the main window's creation) or after it ended.
    platform::win32::ReportCurrentException();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
