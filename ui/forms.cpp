#include "ui/forms.h"

#include <algorithm>
#include <stdexcept>

namespace ui {

TApplication Application;

TForm::~TForm() {
  // The window goes first; it no longer reaches the controls, which are gone.
  formPeer_.reset();
}

void TForm::FocusMovedTo(TWinControl* control) {
  // Focus leaving for another program is no exit: it comes back to the same control.
  if (control == nullptr || control == active_) return;
  TWinControl* previous = active_;
  active_ = control;
  if (previous != nullptr) previous->DoExit();
}

char TForm::KeyPress(char key) {
  if (OnKeyPress) OnKeyPress(this, key);
  return key;
}

void TForm::Show() {
  if (!visible_ && OnShow) OnShow(this);  // before the window appears: it may move it
  visible_ = true;
  if (FormPeer* peer = Peer()) peer->Show();
}

FormPeer* TForm::Peer() {
  if (formPeer_ == nullptr && peerFactory_) formPeer_ = peerFactory_(*this);
  return formPeer_.get();
}

void TForm::Hide() {
  visible_ = false;
  if (formPeer_) formPeer_->Hide();
}

void TForm::SetPosition(int left, int top) {
  Left = left;
  Top = top;
  if (FormPeer* peer = Peer()) peer->Moved();
}

TModalResult TForm::ShowModal() {
  if (modal_ || visible_) throw std::logic_error("Cannot make a visible window modal");
  modal_ = true;
  modalResult_ = mrNone;
  releaseAfterModal_ = false;
  struct ModalScope {
    TForm& form;
    ~ModalScope() {
      form.modal_ = false;
      if (form.formPeer_) form.formPeer_->EndModal();  // the other windows take input before it hides
      form.Hide();
    }
  };
  TModalResult result = mrNone;
  {
    if (FormPeer* peer = Peer()) peer->BeginModal();
    ModalScope scope{*this};
    Show();
    while (modalResult_ == mrNone) {
      if (formPeer_ == nullptr || !formPeer_->ServeModal()) modalResult_ = mrCancel;
      if (modalResult_ != mrNone) CloseModal();
    }
    result = modalResult_;
  }
  if (releaseAfterModal_ && Application.Owns(*this)) Application.Release(*this);  // `this` is gone
  return result;
}

void TForm::SetModalResult(TModalResult result) {
  modalResult_ = result;
  if (modal_ && formPeer_) formPeer_->Wake();
}

void TForm::CloseModal() {
  if (!CloseQuery()) {
    modalResult_ = mrNone;  // the close handler keeps the form open
    return;
  }
  if (lastCloseAction_ == TCloseAction::caFree) releaseAfterModal_ = true;
}

bool TForm::CloseQuery() {
  TCloseAction action = TCloseAction::caHide;
  lastCloseAction_ = TCloseAction::caNone;
  try {
    if (OnClose) OnClose(this, action);
  } catch (const std::exception& error) {
    Application.HandleException(error);
    return false;
  }
  lastCloseAction_ = action;
  return action != TCloseAction::caNone;
}

void TForm::Close() {
  if (modal_) {
    SetModalResult(mrCancel);
  } else if (formPeer_) {
    formPeer_->Close();
  } else {
    CloseQuery();
  }
}

void TApplication::HandleException(const std::exception& error) const {
  if (ShowException) ShowException(ErrorBoxText(error.what()));
}

void TApplication::HandleCurrentException() const {
  try {
    throw;
  } catch (const std::exception& error) {
    HandleException(error);
  } catch (...) {
    if (ShowException) ShowException("Unknown error.");
  }
}

void TApplication::Adopt(std::unique_ptr<TForm> form) {
  TForm& adopted = *form;
  forms_.push_back(std::move(form));
  adopted.SetPeerFactory(CreateFormPeer);
}

bool TApplication::Owns(const TForm& form) const {
  return std::any_of(forms_.begin(), forms_.end(), [&](const auto& owned) { return owned.get() == &form; });
}

void TApplication::Release(TForm& form) {
  const auto found =
      std::find_if(forms_.begin(), forms_.end(), [&](const auto& owned) { return owned.get() == &form; });
  if (found == forms_.end()) return;
  std::unique_ptr<TForm> released = std::move(*found);
  forms_.erase(found);
}

void TApplication::DestroyForms() {
  while (!forms_.empty()) {
    std::unique_ptr<TForm> last = std::move(forms_.back());
    forms_.pop_back();
  }
}

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && message.back() == '.') return message;
  return message + ".";
}

}  // namespace ui
