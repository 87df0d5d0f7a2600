// The frame of a form's window: its window styles, from the form's border
// style, title-bar icons and form style.
#pragma once

#include <windows.h>

#include "ui/forms.h"

namespace ui::win32 {

struct Frame {
  DWORD style;
  DWORD exStyle;
};

Frame FrameOf(const TForm& form);

}  // namespace ui::win32
