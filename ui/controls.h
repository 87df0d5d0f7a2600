// A small window toolkit: controls as C++ objects that hold their state and
// raise their events. They work without any window (the tests drive them that
// way); ui/win32 binds them to real child windows through a peer. Forms and
// the application object are in ui/forms.h; a control reaches its form only
// through TCustomForm, declared here.
//
// Event rules the manager relies on:
//  - changing an edit's text raises OnChange, whether the user or the program
//    changed it; setting an equal text raises nothing;
//  - selecting a list item from the program raises no OnChange, only the
//    user's choice does;
//  - changing a check box's state raises OnClick, whether the user or the
//    program changed it;
//  - focus moving from one control of a form to another raises OnExit of the
//    control that had it;
//  - OnKeyPress may replace the key; a key replaced by 0 is dropped;
//  - a disabled control raises no OnClick.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "ui/looks.h"

namespace ui {

class TControl;
class TWinControl;
class TCustomForm;
class ControlVisitor;

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// Owner, name and tag; an owner lists the components it owns by name.
class TComponent : public TObject {
 public:
  // A component owned by `owner` (none: by nobody) and named `name`.
  explicit TComponent(TComponent* owner, std::string name = {});
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string Name;
  int Tag = 0;

  // The component as a control; nullptr for components without a window.
  virtual TControl* AsControl() { return nullptr; }

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  TComponent* FindComponent(std::string_view name) const;

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
};


// Modal results of buttons and modally shown forms.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

// What a real window behind a control is told when the program changes the
// control's state. The peer reports user actions back through the control's
// User* operations.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void TextChanged(const std::string& text) = 0;
  virtual void EnabledChanged(bool enabled) = 0;
  virtual void ItemIndexChanged(int /*index*/) {}
  virtual void CheckedChanged(bool /*checked*/) {}
  virtual void PositionChanged(int /*position*/) {}
  virtual void Focus() {}
};

// How a control follows its parent's size: not at all, or filling its client area.
enum class TAlign { alNone, alClient };

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner, std::string name = {});

  int Left = 0, Top = 0, Width = 0, Height = 0;
  TAlign Align = TAlign::alNone;
  bool Bold = false;            // regular or bold face of the window's font
  std::optional<TFont> Font;    // a font of its own; none: the window's font
  TAlignment Alignment = TAlignment::taLeftJustify;
  bool WordWrap = false;
  bool AutoSize = false;        // labels: the size of their text, in their font
  std::string Hint;
  TLooks Looks;                 // colour, bevels, cursor, glyph, hint display
  TNotifyEvent OnClick;

  TControl* AsControl() override { return this; }
  // The control as one that can hold the focus; nullptr for graphic controls.
  virtual TWinControl* AsWinControl() { return nullptr; }
  // The control as a form; nullptr for the controls on a form.
  virtual TCustomForm* AsForm() { return nullptr; }
  // Hands the control to the visitor's Visit for its kind; a control of no
  // kind of its own (a bare TControl) visits nothing.
  virtual void Accept(ControlVisitor& /*visitor*/) {}

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  // The form the control lies on (through its parents), or nullptr.
  TCustomForm* ParentForm() const;

  // The caption of labels, buttons and forms; the content of an edit.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // A click, by the mouse or the program; a disabled control does nothing.
  virtual void Click();

  void SetPeer(ControlPeer* peer) { peer_ = peer; }
  ControlPeer* Peer() const { return peer_; }

  // The user changed the text in the real window: the peer already shows it.
  void UserChangedText(const std::string& text);

 protected:
  virtual void TextChangedEvent() {}
  ControlPeer* peer_ = nullptr;

 private:
  void StoreText(const std::string& text, bool tellPeer);
  TWinControl* parent_ = nullptr;
  std::string text_;
  bool enabled_ = true;
};

// A control that can hold the keyboard focus.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner, std::string name = {}) : TControl(owner, std::move(name)) {}
  TWinControl* AsWinControl() override { return this; }

  int TabOrder = -1;  // -1: not a tab stop
  TNotifyEvent OnExit;

  void SetFocus();
  bool Focused() const;
  void DoExit() {
    if (OnExit) OnExit(this);
  }
};

class TPanel : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Accept(ControlVisitor& visitor) override;
  bool ClientEdge = false;  // the platform's sunken edge around it
};

class TLabel : public TControl {
 public:
  using TControl::TControl;
  void Accept(ControlVisitor& visitor) override;
};

class TImage : public TControl {
 public:
  using TControl::TControl;
  void Accept(ControlVisitor& visitor) override;
};

// A flat button: a click leaves the focus where it is, the keyboard reaches
// it by Tab (as a tab stop) and presses it with Space or Enter.
class TSpeedButton : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Accept(ControlVisitor& visitor) override;
};

class TEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Accept(ControlVisitor& visitor) override;
  TNotifyEvent OnChange;
  TKeyPressEvent OnKeyPress;
  // A typed character; returns the character to process, 0 to drop it.
  char KeyPress(char key) {
    if (OnKeyPress) OnKeyPress(this, key);
    return key;
  }

 protected:
  void TextChangedEvent() override {
    if (OnChange) OnChange(this);
  }
};

// Drop-down list without free text; its item index is -1 or an index of Items.
class TComboBox : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Accept(ControlVisitor& visitor) override;
  std::vector<std::string> Items;
  TNotifyEvent OnChange;

  int ItemIndex() const { return itemIndex_; }
  // Selecting from the program raises no OnChange.
  void SetItemIndex(int index);
  // The user picked an item in the real list: OnChange follows.
  void UserSelected(int index);

 private:
  int itemIndex_ = -1;
};

class TCheckBox : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Accept(ControlVisitor& visitor) override;

  bool Checked() const { return checked_; }
  // A change raises OnClick, also when the program makes it.
  void SetChecked(bool checked);
  // The real box already shows the user's change; OnClick follows.
  void UserSetChecked(bool checked);
  // A click toggles the box (the change raises OnClick).
  void Click() override;

 private:
  void StoreChecked(bool checked, bool tellPeer);
  bool checked_ = false;
};

// The kinds of glyph button: a Yes button is the default button of its form
// with modal result Yes, a No button the cancel button with modal result No.
enum class TBitBtnKind { bkCustom, bkYes, bkNo };

// A push button with a glyph; it takes the focus.
class TBitBtn : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Accept(ControlVisitor& visitor) override;

  TModalResult ModalResult = mrNone;
  bool Default = false;  // Enter presses it (unless another button has the focus)
  bool Cancel = false;   // Esc presses it

  TBitBtnKind Kind() const { return kind_; }
  // Sets the kind with the modal result and default or cancel role it brings.
  void SetKind(TBitBtnKind kind);
  // Hands the button's modal result to its form, then raises OnClick.
  void Click() override;

 private:
  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

// A bar that fills from the left as Position goes from 0 to kMax.
class TProgressBar : public TControl {
 public:
  using TControl::TControl;
  void Accept(ControlVisitor& visitor) override;
  static constexpr int kMax = 1000;
  int Position() const { return position_; }
  // Kept between 0 and kMax.
  void SetPosition(int position);

 private:
  int position_ = 0;
};

// Formatted text; here read-only lines, every line centred or left aligned.
// Its text is the lines, each ended by CR LF.
class TRichEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  void Accept(ControlVisitor& visitor) override;
  bool ReadOnly = false;
  void SetLines(const std::vector<std::string>& lines);
};

// What a control asks of the form it lies on: where the focus is, and the
// modal result a button hands over. TForm (ui/forms.h) is the one kind.
class TCustomForm : public TWinControl {
 public:
  using TWinControl::TWinControl;
  TCustomForm* AsForm() override { return this; }

  virtual TWinControl* ActiveControl() const = 0;
  // Focus moved to `control` of this form; the control that had it raises
  // its exit event. nullptr (focus went to another program) changes nothing.
  virtual void FocusMovedTo(TWinControl* control) = 0;
  virtual void SetModalResult(TModalResult result) = 0;
  // The real window's handle, none while the form has no window.
  virtual platform::WindowHandle WindowHandle() const = 0;
};

// One Visit for every kind of control: whoever needs to tell the kinds apart
// (the window binding picks each control's window class) visits the control
// instead of asking for its type.
class ControlVisitor {
 public:
  virtual void Visit(TLabel& label) = 0;
  virtual void Visit(TImage& image) = 0;
  virtual void Visit(TSpeedButton& button) = 0;
  virtual void Visit(TPanel& panel) = 0;
  virtual void Visit(TEdit& edit) = 0;
  virtual void Visit(TComboBox& combo) = 0;
  virtual void Visit(TCheckBox& box) = 0;
  virtual void Visit(TBitBtn& button) = 0;
  virtual void Visit(TRichEdit& rich) = 0;
  virtual void Visit(TProgressBar& bar) = 0;

 protected:
  ~ControlVisitor() = default;
};

}  // namespace ui
