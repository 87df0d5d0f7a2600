// The hints of one form: a tooltip window of the common controls that shows
// a control's hint while the mouse rests on it. The controls' windows hand
// it their mouse messages themselves: the tooltip's own way of seeing them
// (subclassing each control) costs a round trip to Wine's server for every
// message a control gets.
#pragma once

#include <windows.h>

#include <string>

namespace ui::win32 {

class HintWindow {
 public:
  HintWindow() = default;
  ~HintWindow();
  HintWindow(const HintWindow&) = delete;
  HintWindow& operator=(const HintWindow&) = delete;

  // Shows `text` over `control` (a child window of the form `owner`); the
  // tooltip window is made with the first hint.
  void Add(HWND owner, HWND control, const std::string& text);
  // A mouse message of a control of the form (with or without a hint).
  void Relay(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND window_ = nullptr;
};

}  // namespace ui::win32
