#pragma once

#include "ui/form_description.h"

namespace ui {
// The download's progress: a bar, a line of figures and Cancel, on the main
// window's panel colour and font. The caption comes from the form.
extern const FormDescription kDownloadFormDescription;
}  // namespace ui
