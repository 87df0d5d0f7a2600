// The Win32 tests run with the application's window, title and error box,
// as the manager does; errors that reach a barrier are collected for the
// tests to read.
#include <gtest/gtest.h>

#include "platform/win32/barrier.h"
#include "tests/win32/win32_test_support.h"
#include "ui/forms.h"
#include "ui/win32/window_binding.h"

namespace win32_tests {

std::vector<std::string> gReportedErrors;

void RecordError(const std::string& message) {
  gReportedErrors.push_back(message);
  if (ui::Application.ShowException) ui::Application.ShowException(ui::ErrorBoxText(message));
}

}  // namespace win32_tests

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ui::Application.Title = "Vandrel download manager";
  ui::win32::InstallWindowBinding(ui::Application.Title.c_str());
  platform::win32::SetErrorReporter(win32_tests::RecordError);
  return RUN_ALL_TESTS();
}
