// The main routine: application title, the main window, the message loop.
#include <windows.h>

#include "manager/downloader1.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/form_window.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  ui::Application.Title = "Vandrel download manager";
  HWND applicationWindow = ui::win32::CreateApplicationWindow(ui::Application.Title.c_str());
  ui::Application.ShowException = [applicationWindow](const std::string& message) {
    MessageBoxA(applicationWindow, message.c_str(), ui::Application.Title.c_str(), MB_OK | MB_ICONERROR);
  };

  platform::Win32Platform os;
  manager::TForm1 form1(nullptr, os);  // runs FormCreate
  ui::win32::FormWindow window1(form1);
  window1.ShowCentered();
  return ui::win32::RunMessageLoop();
}
