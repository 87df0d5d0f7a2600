#pragma once

#include "ui/form_description.h"

namespace ui {
// The About box: a topmost dialog without title-bar icons.
extern const FormDescription kAboutFormDescription;
}  // namespace ui
