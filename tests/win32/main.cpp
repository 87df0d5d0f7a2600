// The Win32 tests run with the application's hidden window and title, as the
// manager does.
#include <gtest/gtest.h>

#include "ui/controls.h"
#include "ui/win32/form_window.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ui::Application.Title = "Vandrel download manager";
  ui::win32::CreateApplicationWindow(ui::Application.Title.c_str());
  return RUN_ALL_TESTS();
}
