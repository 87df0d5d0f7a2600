// The real top-level window behind a toolkit form: its frame, place and
// state follow the form's description; it creates one child window per
// control and serves the form's modal showings. Owned by the hidden
// application window, so the task bar shows the application's title.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/win32/message_loop.h"
#include "ui/forms.h"
#include "ui/win32/hints.h"
#include "ui/win32/painting.h"

namespace ui::win32 {

class ControlWindow;

class FormWindow final : public FormPeer {
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

  HWND Handle() const { return window_; }
  TForm& Form() const { return form_; }
  // The binding of one of this form's control windows, or nullptr.
  ControlWindow* FindByHandle(HWND window) const;
  HFONT FontFor(const TControl& control);
  // Text colour and background of a label (WM_CTLCOLORSTATIC): its font's
  // colour on the colour of what it lies on.
  HBRUSH LabelColours(const TControl& control, HDC dc);
  HBRUSH BrushOf(TColor colour) { return brushes_.Get(colour); }
  // Children of `parent` that fill it follow its new size.
  void AlignChildren(HWND parent);

  // Keys that the form sees before its controls: Tab and Shift+Tab between
  // tab stops, Enter for the default button, Esc for the cancel button and,
  // on a key-preview form, every typed character. True when handled.
  bool PreTranslate(MSG& message);

  // The form window that `window` is or lies in, or nullptr.
  static FormWindow* Containing(HWND window);
  // Every form window, in creation order.
  static const std::vector<FormWindow*>& All();

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void AddHints();
  void SyncBounds();
  void FocusFirst();
  bool HandleTabKey(const MSG& message);
  bool HandleDialogKey(const MSG& message);
  void CloseRequested();

  TForm& form_;
  HWND window_ = nullptr;
  bool detached_ = false;
  bool positioned_ = false;  // placed in the centre at its first showing
  bool pressed_ = false;     // the mouse went down on the form itself
  FontCache fonts_;
  SolidBrush background_;
  BrushCache brushes_;
  HintWindow hints_;
  std::vector<std::unique_ptr<ControlWindow>> controls_;
  std::optional<platform::win32::TaskWindowsDisabled> modal_;
};

// Gives the form its real window.
void AttachWindow(TForm& form);

}  // namespace ui::win32
