#include "ui/form_description.h"

#include <stdexcept>
#include <string>

namespace ui {

namespace {

// The form's control of that name and kind. Names come from the description,
// so the kind is checked here, once: a row that names a missing control, or
// gives a control a field its kind lacks, is a programming error.
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
    if (d.autoSize) Find<TLabel>(form, d.name).AutoSize = true;
    control.Looks = d.looks;
    // Fields of one kind of control, given only where a row sets them.
    if (d.tabOrder >= 0) Find<TWinControl>(form, d.name).TabOrder = d.tabOrder;
    if (d.kind != TBitBtnKind::bkCustom) Find<TBitBtn>(form, d.name).SetKind(d.kind);
    if (d.readOnly) Find<TRichEdit>(form, d.name).ReadOnly = true;
    if (d.clientEdge) Find<TPanel>(form, d.name).ClientEdge = true;
  }
}

}  // namespace ui
