// The enabled states of the buttons the directory field governs, as five
// digits: Select directory, Download and install, Execute, Remove, Update.
#pragma once

#include <string>

#include "manager/main_window.h"

namespace testing_support {

inline std::string GovernedButtons(const manager::TForm1& form) {
  std::string states;
  for (const ui::TSpeedButton* b :
       {&form.SpeedButton2, &form.SpeedButton3, &form.SpeedButton4, &form.SpeedButton5, &form.SpeedButton8}) {
    states += b->Enabled() ? '1' : '0';
  }
  return states;
}

}  // namespace testing_support
