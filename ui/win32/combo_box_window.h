// The window of a drop-down list without free text: its items, the closed
// field's height from the layout, and the user's choice as the control's
// change event.
#pragma once

#include "ui/win32/control_window.h"

namespace ui::win32 {

class ComboBoxWindow final : public ControlWindow {
 public:
  ComboBoxWindow(ControlHost& host, TComboBox& combo) : ControlWindow(host, combo), combo_(combo) {}
  void Notified(WORD code) override;
  void ItemIndexChanged(int index) override;

 private:
  WindowKind MadeAs() const override;
  void Created() override;
  void Rescaled() override;
  void FitHeights();

  TComboBox& combo_;
};

}  // namespace ui::win32
