// The main routine: application title, the main window, the message loop.
#include <windows.h>
#include <objbase.h>

#include "manager/downloader1.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/form_window.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  // The shell's folder browser and the URL download service are COM objects.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  ui::Application.Title = "Vandrel download manager";
  ui::win32::CreateApplicationWindow(ui::Application.Title.c_str());
  platform::Win32Platform os;
  // Errors no handler caught: the standard error box, modal to the whole
  // application like every box of ours; the program goes on running.
  ui::Application.ShowException = [&os](const std::string& message) {
    os.ApplicationMessageBox(message, ui::Application.Title, MB_OK | MB_ICONERROR);
  };

  int exitCode = 0;
  {
    manager::TForm1 form1(nullptr, os);  // runs FormCreate
    ui::win32::FormWindow window1(form1);
    window1.ShowCentered();
    exitCode = ui::win32::RunMessageLoop();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
