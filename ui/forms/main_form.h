#pragma once

#include "ui/form_description.h"

namespace ui {
// The main window: caption, client size and its controls, top to bottom.
extern const FormDescription kMainFormDescription;
}  // namespace ui
