#include "ui/form_description.h"

#include <stdexcept>
#include <string>

namespace ui {

namespace {

template <typename T>
T& Find(TForm& form, const char* name) {
  auto* component = dynamic_cast<T*>(form.FindComponent(name));
  if (component == nullptr) throw std::logic_error(std::string("form has no control ") + name);
  return *component;
}

}  // namespace

void LoadForm(TForm& form, const FormDescription& description) {
  form.SetText(description.caption);
  form.ClientWidth = description.clientWidth;
  form.ClientHeight = description.clientHeight;
  for (const ControlDescription& d : description.controls) {
    auto& control = Find<TControl>(form, d.name);
    control.SetParent(d.parent != nullptr ? &Find<TWinControl>(form, d.parent) : &form);
    control.Left = d.left;
    control.Top = d.top;
    control.Width = d.width;
    control.Height = d.height;
    control.SetText(d.text != nullptr ? d.text : "");
    control.SetEnabled(d.enabled);
    control.Bold = d.bold;
    control.Hint = d.hint != nullptr ? d.hint : "";
    if (auto* windowed = dynamic_cast<TWinControl*>(&control)) windowed->TabOrder = d.tabOrder;
  }
}

}  // namespace ui
