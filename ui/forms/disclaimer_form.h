#pragma once

#include "ui/form_description.h"

namespace ui {
// The external-website disclaimer: a sizeable dialog with the disclaimer
// text, the agreement box and the Yes and No buttons.
extern const FormDescription kDisclaimerFormDescription;
}  // namespace ui
