// Drives the modal dialogs of this thread as a user would, from a timer that
// the dialogs' own message loops serve: no second thread touches them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win32_tests {

// A visible "#32770" window of this thread with that caption, other than
// `except`; nullptr when there is none.
HWND FindThreadDialog(const std::string& caption, HWND except = nullptr);
std::string TextOf(HWND window);
// The first child with that class and, unless empty, that text.
HWND FindChildWindow(HWND parent, const std::string& className, const std::string& text = {});
// Presses a button the way the message loop of its dialog will see it.
void Press(HWND button);

// Runs its steps in order, one at a time, every 50 ms; a step returns false
// while what it waits for is not there yet and is tried again. Steps that
// are not done in time fail the test: the robot then cancels every dialog
// of the thread so that the modal call under test returns.
class DialogRobot {
 public:
  explicit DialogRobot(std::vector<std::function<bool()>> steps, DWORD limitMilliseconds = 20000);
  ~DialogRobot();
  DialogRobot(const DialogRobot&) = delete;
  DialogRobot& operator=(const DialogRobot&) = delete;

  // True when every step ran; otherwise says which step was left.
  ::testing::AssertionResult Finished() const;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Step();

  std::vector<std::function<bool()>> steps_;
  std::size_t next_ = 0;
  DWORD start_;
  DWORD limit_;
  UINT_PTR timer_;
  bool running_ = false;
  bool timedOut_ = false;
};

}  // namespace win32_tests
