// Form descriptions: a window's layout as data, loaded onto the form's own
// control objects by name (the controls are members of the form class).
#pragma once

#include <span>

#include "ui/controls.h"

namespace ui {

struct ControlDescription {
  const char* name;
  const char* parent;  // name of the parent control; nullptr: the form itself
  int left, top, width, height;
  const char* text;
  bool enabled;
  bool bold;
  int tabOrder;  // -1: no tab stop (graphic controls take no focus)
  const char* hint;
};

struct FormDescription {
  const char* caption;
  int clientWidth, clientHeight;
  std::span<const ControlDescription> controls;
};

// Sets caption, size and every described control's place, text, state and
// parent. A description naming a control the form lacks is a programming
// error and throws std::logic_error.
void LoadForm(TForm& form, const FormDescription& description);

}  // namespace ui
