// The main routine: the three windows (the main window first, then the About
// box and the disclaimer, hidden) on the real platform, run by app::Run.
#include <windows.h>
#include <objbase.h>

#include "app/start.h"
#include "manager/about_box.h"
#include "manager/disclaimer.h"
#include "manager/main_window.h"
#include "platform/win32/win32_platform.h"

namespace {

ui::TForm& MakeForms(const platform::Platform& os) {
  ui::TForm& form1 = ui::Application.CreateForm<manager::TForm1>(nullptr, os);  // runs FormCreate
  manager::AboutBox = &ui::Application.CreateForm<manager::TAboutBox>(nullptr, os.opener);
  manager::Form2 = &ui::Application.CreateForm<manager::TForm2>(nullptr);
  return form1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  // The shell's folder browser is a COM object.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // The platform outlives the run and every box it shows; app::Run lets
  // nothing escape.
  platform::Win32Platform os;
  const int exitCode = app::Run(os, MakeForms);
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
