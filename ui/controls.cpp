#include "ui/controls.h"

#include <algorithm>

namespace ui {

TComponent::TComponent(TComponent* owner, std::string name) : Name(std::move(name)), owner_(owner) {
  if (owner_ != nullptr) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  if (owner_ != nullptr) {
    auto& siblings = owner_->components_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (TComponent* child : components_) child->owner_ = nullptr;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (TComponent* component : components_) {
    if (component->Name == name) return component;
  }
  return nullptr;
}

TControl::TControl(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

void TControl::SetParent(TWinControl* parent) { parent_ = parent; }

TCustomForm* TControl::ParentForm() const {
  TControl* control = const_cast<TControl*>(this);
  while (control->parent_ != nullptr) control = control->parent_;
  return control->AsForm();
}

void TControl::SetText(const std::string& text) { StoreText(text, true); }

void TControl::UserChangedText(const std::string& text) { StoreText(text, false); }

void TControl::StoreText(const std::string& text, bool tellPeer) {
  if (text == text_) return;
  text_ = text;
  if (tellPeer && peer_ != nullptr) peer_->TextChanged(text_);
  TextChangedEvent();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (peer_ != nullptr) peer_->EnabledChanged(enabled_);
}

void TControl::Click() {
  if (Enabled() && OnClick) OnClick(this);
}

void TWinControl::SetFocus() {
  if (peer_ != nullptr) {
    // The real window reports the move back through FocusMovedTo.
    peer_->Focus();
    return;
  }
  if (TCustomForm* form = ParentForm()) form->FocusMovedTo(this);
}

bool TWinControl::Focused() const {
  const TCustomForm* form = ParentForm();
  return form != nullptr && form->ActiveControl() == this;
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(Items.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  if (peer_ != nullptr) peer_->ItemIndexChanged(itemIndex_);
}

void TComboBox::UserSelected(int index) {
  if (index < -1 || index >= static_cast<int>(Items.size())) index = -1;
  itemIndex_ = index;
  if (OnChange) OnChange(this);
}

void TCheckBox::SetChecked(bool checked) { StoreChecked(checked, true); }

void TCheckBox::UserSetChecked(bool checked) { StoreChecked(checked, false); }

void TCheckBox::Click() {
  if (Enabled()) SetChecked(!checked_);
}

void TCheckBox::StoreChecked(bool checked, bool tellPeer) {
  if (checked == checked_) return;
  checked_ = checked;
  if (tellPeer && peer_ != nullptr) peer_->CheckedChanged(checked_);
  if (OnClick) OnClick(this);
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  kind_ = kind;
  if (kind == TBitBtnKind::bkYes) {
    ModalResult = mrYes;
    Default = true;
  } else if (kind == TBitBtnKind::bkNo) {
    ModalResult = mrNo;
    Cancel = true;
  }
}

void TBitBtn::Click() {
  if (!Enabled()) return;
  if (TCustomForm* form = ParentForm(); form != nullptr && ModalResult != mrNone) form->SetModalResult(ModalResult);
  if (OnClick) OnClick(this);
}

void TRichEdit::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  SetText(text);
}

void TPanel::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TLabel::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TImage::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TSpeedButton::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TEdit::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TComboBox::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TCheckBox::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TBitBtn::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TRichEdit::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }
void TProgressBar::Accept(ControlVisitor& visitor) { visitor.Visit(*this); }

void TProgressBar::SetPosition(int position) {
  position = position < 0 ? 0 : position > kMax ? kMax : position;
  if (position == position_) return;
  position_ = position;
  if (peer_ != nullptr) peer_->PositionChanged(position_);
}

}  // namespace ui
