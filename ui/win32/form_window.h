// The real top-level window behind a toolkit form: its frame, place and
// state follow the form's description, every length scaled by the density
// of the display it shows on (and again when it moves to a display of
// another); it makes one child window per control, serves the form's modal
// showings and lives as long as the form's peer. Owned by the hidden application window, so the task bar shows the
// application's title. Bound to this object at birth (WM_NCCREATE).
#pragma once

#include <windows.h>

#include <optional>

#include "platform/win32/modal_section.h"
#include "ui/forms.h"
#include "ui/scaling.h"
#include "ui/win32/control_window.h"
#include "ui/win32/dialog_keys.h"
#include "ui/win32/hints.h"
#include "ui/win32/paint_resources.h"

namespace ui::win32 {

class FormWindow final : public FormPeer, public ControlHost {
 public:
  // Creates the form's window (class "T" + form name) and all its controls
  // from their current state. The window is not shown yet.
  explicit FormWindow(TForm& form);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // FormPeer
  void Show() override;
  void Hide() override;
  void Moved() override;
  void Close() override;
  void BeginModal() override;
  void EndModal() override;
  bool ServeModal() override;
  void Wake() override;

  // ControlHost
  TForm& Form() const override { return form_; }
  PaintResources& Paint() override { return paint_; }
  ControlWindow* FindByHandle(HWND window) const override;
  void AlignChildren(HWND parent) override;
  bool FocusCuesShown() const override { return focusCues_; }
  int Dpi() const override { return dpi_; }
  void RelayToHints(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override {
    hints_.Relay(control, message, wParam, lParam);
  }

  HWND Handle() const { return window_; }

  // Looks at a message for this form before it is dispatched (dialog_keys.h);
  // true when handled.
  bool PreTranslate(MSG& message) { return keys_.PreTranslate(window_, message); }

  // The form window that `window` is or lies in, or nullptr.
  static FormWindow* Containing(HWND window);

 private:
  template <class T>
  friend LRESULT CALLBACK BoundWindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  void Bind(HWND window) { window_ = window; }
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);

  void Destroy();
  void CreateControls();
  void AddHints();
  void SyncBounds();
  void FitClient();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void FocusFirst();
  bool OnActivate(WPARAM wParam);
  bool OnMouse(UINT message);
  bool OnSysCommand(WPARAM wParam);
  void CloseRequested();
  void EndSession();

  TForm& form_;
  HWND window_ = nullptr;
  bool positioned_ = false;  // placed in the centre at its first showing
  bool pressed_ = false;     // the mouse went down on the form itself
  bool focusCues_ = false;   // the keyboard was used: focus rectangles show
  int dpi_ = kDesignDpi;     // the density of the display it shows on
  PaintResources paint_;
  HintWindow hints_;
  ControlWindows controls_;
  DialogKeys keys_;
  std::optional<platform::win32::ModalSection> modal_;
};

// Gives the form its real window.
void AttachWindow(TForm& form);

}  // namespace ui::win32
