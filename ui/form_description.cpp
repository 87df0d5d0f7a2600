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
  form.SetText(description.caption != nullptr ? description.caption : "");
  form.ClientWidth = description.clientWidth;
  form.ClientHeight = description.clientHeight;
  form.BorderStyle = description.borderStyle;
  form.BorderIcons = description.borderIcons;
  form.Position = description.position;
  form.FormStyle = description.formStyle;
  form.KeyPreview = description.keyPreview;
  form.Font = description.font;
  form.Color = description.color;
  form.ShowHint = description.showHint;
  form.Hint = description.hint != nullptr ? description.hint : "";
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
    if (d.font != nullptr) control.Font = *d.font;
    control.Hint = d.hint != nullptr ? d.hint : "";
    control.Align = d.align;
    control.Alignment = d.alignment;
    control.WordWrap = d.wordWrap;
    control.Looks = d.looks;
    if (auto* windowed = dynamic_cast<TWinControl*>(&control)) windowed->TabOrder = d.tabOrder;
    if (auto* button = dynamic_cast<TBitBtn*>(&control)) button->SetKind(d.kind);
    if (auto* rich = dynamic_cast<TRichEdit*>(&control)) rich->ReadOnly = d.readOnly;
    if (auto* panel = dynamic_cast<TPanel*>(&control)) panel->ClientEdge = d.clientEdge;
  }
}

}  // namespace ui
