#include "tests/win32/dialog_robot.h"

#include <algorithm>

namespace win32_tests {

namespace {

DialogRobot* gRobot = nullptr;  // one at a time

struct Search {
  const std::string& className;
  const std::string& text;
  HWND except;
  HWND found;
};

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK Match(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (window != search.except && lstrcmpiA(ClassOf(window).c_str(), search.className.c_str()) == 0 &&
      (search.text.empty() || TextOf(window) == search.text)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK MatchVisible(HWND window, LPARAM data) { return IsWindowVisible(window) ? Match(window, data) : TRUE; }

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
  if (ClassOf(window) == "#32770") PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

}  // namespace

HWND FindThreadDialog(const std::string& caption, HWND except) {
  const std::string className = "#32770";
  Search search{className, caption, except, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string TextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(window, text.data(), length + 1), 0)));
  return text;
}

HWND FindChildWindow(HWND parent, const std::string& className, const std::string& text) {
  Search search{className, text, nullptr, nullptr};
  EnumChildWindows(parent, Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Press(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

DialogRobot::DialogRobot(std::vector<std::function<bool()>> steps, DWORD limitMilliseconds)
    : steps_(std::move(steps)), start_(GetTickCount()), limit_(limitMilliseconds) {
  gRobot = this;
  timer_ = SetTimer(nullptr, 0, 50, Tick);
}

DialogRobot::~DialogRobot() {
  KillTimer(nullptr, timer_);
  gRobot = nullptr;
}

void CALLBACK DialogRobot::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (gRobot != nullptr) gRobot->Step();
}

void DialogRobot::Step() {
  if (running_ || next_ == steps_.size()) return;  // a step's own modal loop may serve the timer
  if (GetTickCount() - start_ > limit_) {
    if (!timedOut_) EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
    timedOut_ = true;
    return;
  }
  running_ = true;
  if (steps_[next_]()) ++next_;
  running_ = false;
}

::testing::AssertionResult DialogRobot::Finished() const {
  if (next_ == steps_.size()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "step " << next_ + 1 << " of " << steps_.size() << " did not happen";
}

}  // namespace win32_tests
