// Forms and the application object of the window toolkit.
//
// A form shown modally runs until its modal result is set (a button with a
// modal result, or closing it, which sets Cancel); then its close handler
// decides: caNone keeps it open, caHide hides it, caFree destroys it once the
// showing has ended. The application owns the forms it creates and gives each
// its real window through a peer (ui/win32); without one, forms work as plain
// objects and a test's peer plays the user.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/handles.h"
#include "ui/controls.h"

namespace ui {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// What the real window behind a form does for it.
class FormPeer {
 public:
  virtual ~FormPeer() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // The program moved the form (its Left and Top hold the new place).
  virtual void Moved() = 0;
  // Asks the window to close; it ends in the form's CloseQuery.
  virtual void Close() = 0;
  // A modal showing: the other windows of the application take no input
  // until EndModal, which enables them and activates the window that was
  // active before, and only then hides the form's window (in that order:
  // the activation then stays with the application).
  virtual void BeginModal() = 0;
  virtual void EndModal() = 0;
  // Waits for and serves one message; false when the application is ending.
  virtual bool ServeModal() = 0;
  // The modal result changed: a modal loop waiting for messages looks again.
  virtual void Wake() {}
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
  ~TForm() override;

  // Left, Top, Width and Height (from TControl) are the outer bounds in
  // screen pixels; the window binding keeps them current.
  int ClientWidth = 0, ClientHeight = 0;
  TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
  TBorderIcons BorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition Position = TPosition::poDesigned;
  TFormStyle FormStyle = TFormStyle::fsNormal;
  bool KeyPreview = false;  // the form sees every typed character before its controls
  TColor Color = clBtnFace;
  bool ShowHint = false;
  // The density of the display the form's window shows on; its layout is
  // drawn at 96 and scaled to it.
  int PixelsPerInch = 96;
  // The form whose window owns this one's (it stays above it and goes with
  // it); none: the application's window.
  TForm* PopupParent = nullptr;
  // Font comes from TControl: a form always has one.

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TCloseEvent OnClose;
  // The session ends (log off, shut down, or an installer that asks the
  // program to close): the program ends once this returns, whatever else was
  // going on; for the main form, the window binding sees to that.
  TNotifyEvent OnEndSession;
  TKeyPressEvent OnKeyPress;
  // F1 was pressed in the form.
  TNotifyEvent OnHelp;

  TWinControl* ActiveControl() const override { return active_; }
  void FocusMovedTo(TWinControl* control) override;

  // A typed character for the form (a key-preview form sees all of them
  // first); returns the character to process, 0 to drop it.
  char KeyPress(char key);

  bool Visible() const { return visible_; }
  void Show();
  void Hide();
  // Moves the form's outer top-left corner to that place on the screen.
  void SetPosition(int left, int top);

  // Shows the form modally and returns its modal result. A form whose close
  // handler asks for caFree is destroyed before this returns.
  TModalResult ShowModal();
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) override;

  // Runs the close handler; true when the form may go (the handler left the
  // action other than caNone and raised no error). An error raised by the
  // handler goes to the application's error box and the form stays.
  bool CloseQuery();
  TCloseAction LastCloseAction() const { return lastCloseAction_; }
  // A modal form ends its showing with Cancel; any other form asks its real
  // window to close (ending in CloseQuery); without one it only runs CloseQuery.
  void Close();

  // The real window's handle, none while the form has no window.
  platform::WindowHandle WindowHandle() const override { return windowHandle_; }
  void SetWindowHandle(platform::WindowHandle handle) { windowHandle_ = handle; }

  FormPeer* FormPeerOf() const { return formPeer_.get(); }
  void SetFormPeer(std::unique_ptr<FormPeer> peer) { formPeer_ = std::move(peer); }
  // How the form gets its real window when it first needs one: when it is
  // shown, moved or shown modally. A form that stays hidden never has one.
  void SetPeerFactory(std::function<std::unique_ptr<FormPeer>(TForm& form)> factory) {
    peerFactory_ = std::move(factory);
  }

 private:
  FormPeer* Peer();  // the form's window, made now if it has none yet
  void CloseModal();
  platform::WindowHandle windowHandle_;
  TWinControl* active_ = nullptr;
  std::unique_ptr<FormPeer> formPeer_;
  std::function<std::unique_ptr<FormPeer>(TForm& form)> peerFactory_;
  bool visible_ = false;
  bool modal_ = false;
  bool releaseAfterModal_ = false;
  TModalResult modalResult_ = mrNone;
  TCloseAction lastCloseAction_ = TCloseAction::caNone;
};

// The application object: its title, the standard error box and the forms.
class TApplication {
 public:
  std::string Title;
  // Shows an error no handler caught; the program goes on running.
  std::function<void(const std::string& message)> ShowException;
  void HandleException(const std::exception& error) const;
  // Reports the exception being handled (inside a catch block).
  void HandleCurrentException() const;

  // Gives a form its real window when it first needs one; unset, forms have none.
  std::function<std::unique_ptr<FormPeer>(TForm& form)> CreateFormPeer;

  // Creates a form owned by the application; its real window is made when
  // the form is first shown. The first one is the main form.
  template <class T, class... Args>
  T& CreateForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    T& created = *form;
    Adopt(std::move(form));
    return created;
  }
  TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }
  bool Owns(const TForm& form) const;
  // Destroys a form the application owns, with its window.
  void Release(TForm& form);
  // Destroys every form, the last created first.
  void DestroyForms();

 private:
  void Adopt(std::unique_ptr<TForm> form);
  std::vector<std::unique_ptr<TForm>> forms_;
};

extern TApplication Application;

// The text of the standard error box: the error's text with a full stop.
std::string ErrorBoxText(const std::string& message);

}  // namespace ui
