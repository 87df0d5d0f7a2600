// The common controls' progress bar behind a TProgressBar.
#pragma once

#include "ui/win32/control_window.h"

namespace ui::win32 {

class ProgressBarWindow final : public ControlWindow {
 public:
  ProgressBarWindow(ControlHost& host, TProgressBar& bar) : ControlWindow(host, bar), bar_(bar) {}
  void PositionChanged(int position) override;

 private:
  WindowKind MadeAs() const override;
  void Created() override;

  TProgressBar& bar_;
};

}  // namespace ui::win32
