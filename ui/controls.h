// A small window toolkit: forms and controls as C++ objects that hold their
// state and raise their events. They work without any window (the tests drive
// them that way); ui/win32 binds them to real child windows through a peer.
//
// Event rules the manager relies on:
//  - changing an edit's text raises OnChange, whether the user or the program
//    changed it; setting an equal text raises nothing;
//  - selecting a list item from the program raises no OnChange, only the
//    user's choice does;
//  - focus moving from one control of a form to another raises OnExit of the
//    control that had it;
//  - OnKeyPress may replace the key; a key replaced by 0 is dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// Owner, name and tag; an owner lists the components it owns by name.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string Name;
  int Tag = 0;

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  TComponent* FindComponent(std::string_view name) const;

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
};

class TWinControl;
class TForm;

// What a real window behind a control is told when the program changes the
// control's state. The peer reports user actions back through the control's
// User* operations.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void TextChanged(const std::string& text) = 0;
  virtual void EnabledChanged(bool enabled) = 0;
  virtual void ItemIndexChanged(int /*index*/) {}
  virtual void Focus() {}
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);

  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Bold = false;  // regular or bold face of the window's font
  std::string Hint;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  TForm* ParentForm() const;

  // The caption of labels, buttons and forms; the content of an edit.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

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
  explicit TWinControl(TComponent* owner) : TControl(owner) {}

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
};

class TLabel : public TControl {
 public:
  using TControl::TControl;
};

class TImage : public TControl {
 public:
  using TControl::TControl;
  TNotifyEvent OnClick;
};

class TSpeedButton : public TControl {
 public:
  using TControl::TControl;
  TNotifyEvent OnClick;
  // A press of the button; a disabled button does nothing.
  void Click() {
    if (Enabled() && OnClick) OnClick(this);
  }
};

class TEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
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

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner) : TWinControl(owner) {}

  int ClientWidth = 0, ClientHeight = 0;
  TNotifyEvent OnCreate;
  TCloseEvent OnClose;

  TWinControl* ActiveControl() const { return active_; }
  // Focus moved to `control` of this form; the control that had it raises
  // its exit event. nullptr (focus went to another program) changes nothing.
  void FocusMovedTo(TWinControl* control);

  // Runs the close handler; true when the form may go (the handler left the
  // action other than caNone and raised no error). An error raised by the
  // handler goes to the application's error box and the form stays.
  bool CloseQuery();
  // Asks the real window to close (ending in CloseQuery); without one it only
  // runs CloseQuery.
  void Close();
  void SetCloser(std::function<void()> closer) { closer_ = std::move(closer); }

  // The real window's handle, 0 while the form has none.
  std::uintptr_t WindowHandle() const { return windowHandle_; }
  void SetWindowHandle(std::uintptr_t handle) { windowHandle_ = handle; }

 private:
  std::uintptr_t windowHandle_ = 0;
  TWinControl* active_ = nullptr;
  std::function<void()> closer_;
};

// The application object: its title and the standard error box.
struct TApplication {
  std::string Title;
  // Shows an error no handler caught; the program goes on running.
  std::function<void(const std::string& message)> ShowException;
  void HandleException(const std::exception& error) const;
};

extern TApplication Application;

// The text of the standard error box: the error's text with a full stop.
std::string ErrorBoxText(const std::string& message);

}  // namespace ui
