// The program's start with a main window that cannot be made: the error is
// shown in the standard error box while the platform it is shown through
// still exists, the run ends, and a later error is not shown at all. A
// program of its own: the run installs the application window and the
// error box as the manager does.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "app/start.h"
#include "platform/win32/barrier.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/dialog_robot.h"

namespace {

using namespace win32_tests;

// Records the boxes shown through it; shows them only while `real`.
struct RecordingPlatform : platform::Win32Platform {
  platform::BoxAnswer ApplicationMessageBox(const std::string& text, const std::string& caption,
                                            platform::BoxStyle style) override {
    shown.push_back(text);
    return real ? Win32Platform::ApplicationMessageBox(text, caption, style) : platform::BoxAnswer::None;
  }
  bool real = true;
  std::vector<std::string> shown;
};

TEST(Start, AMainWindowThatCannotBeMadeEndsTheRunThroughTheErrorBox) {
  RecordingPlatform os;
  std::string boxText;
  int exitCode = 0;
  {
    DialogRobot robot({[&] {
      HWND box = FindThreadDialog("Vandrel download manager");
      if (box == nullptr) return false;
      boxText = TextOf(GetDlgItem(box, 0xFFFF));
      Press(FindChildWindow(box, "Button"));
      return true;
    }});
    exitCode = app::Run(os, [](const platform::Platform&) -> ui::TForm& {
      throw std::runtime_error("The main window could not be made");
    });
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(boxText, "The main window could not be made.");
  EXPECT_EQ(os.shown, (std::vector<std::string>{"The main window could not be made."}));
  EXPECT_EQ(ui::Application.MainForm(), nullptr);

  // After the run nothing leads to the platform any more: an error that
  // reaches a barrier now ends quietly.
  os.real = false;
  try {
    throw std::runtime_error("Too late");
  } catch (...) {
    platform::win32::ReportCurrentException();
  }
  EXPECT_EQ(os.shown.size(), 1u);
}

TEST(Start, TheRunFailsCriticalErrorsQuietlyAndKeepsTheFlagsAlreadySet) {
  const UINT before = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  RecordingPlatform os;
  os.real = false;  // the failed start's box is only recorded
  app::Run(os, [](const platform::Platform&) -> ui::TForm& { throw std::runtime_error("No window"); });
  const UINT mode = GetErrorMode();
  SetErrorMode(before);
  EXPECT_EQ(mode & SEM_FAILCRITICALERRORS, static_cast<UINT>(SEM_FAILCRITICALERRORS));
  EXPECT_EQ(mode & SEM_NOOPENFILEERRORBOX, static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
}

}  // namespace
