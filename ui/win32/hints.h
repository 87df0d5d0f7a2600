// The hints of one form: a tooltip window of the common controls that shows
// a control's hint while the mouse rests on it. The tooltip window is made
// when the mouse first comes over the form, not with the form: one window
// less to make before the form first shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui::win32 {

class HintWindow {
 public:
  HintWindow() = default;
  ~HintWindow();
  HintWindow(const HintWindow&) = delete;
  HintWindow& operator=(const HintWindow&) = delete;

  // Shows `text` over `control` (a child window of the form `owner`) once
  // the hints are installed.
  void Add(HWND owner, HWND control, const std::string& text);
  // Makes the tooltip window with every hint added so far, once; called
  // when the mouse comes over the form, before the tooltip must see it move.
  void Install();

 private:
  struct Hint {
    HWND owner;
    HWND control;
    std::string text;
  };
  std::vector<Hint> pending_;
  HWND window_ = nullptr;
  bool installed_ = false;
};

}  // namespace ui::win32
