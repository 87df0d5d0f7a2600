// The windows of labels and images (static controls that report clicks) and
// of edit fields and rich text boxes.
#pragma once

#include "platform/win32/scoped.h"
#include "ui/win32/control_window.h"

namespace ui::win32 {

class LabelWindow final : public ControlWindow {
 public:
  LabelWindow(ControlHost& host, TLabel& label) : ControlWindow(host, label) {}
  void Notified(WORD code) override;

 private:
  WindowKind MadeAs() const override;
  void Created() override { FitText(); }
  void TextShown() override { FitText(); }
  void Rescaled() override { FitText(); }
  // An auto-sized label takes the size of its text in its font; any other,
  // on a denser display, widens where its lines no longer fit its height
  // (text widths do not scale exactly with the font).
  void FitText();
  void Widen(HDC dc, const std::string& text);
};

// The program's icon, at the size of the control.
class ImageWindow final : public ControlWindow {
 public:
  ImageWindow(ControlHost& host, TImage& image) : ControlWindow(host, image) {}
  void Notified(WORD code) override;

 private:
  WindowKind MadeAs() const override;
  void Created() override;
  void Rescaled() override;

  platform::win32::OwnedIcon icon_;
};

// A one-line edit field: the user's changes and typed characters reach the
// control (which may replace or drop a character).
class EditWindow final : public ControlWindow {
 public:
  EditWindow(ControlHost& host, TEdit& edit) : ControlWindow(host, edit), edit_(edit) {}
  void Notified(WORD code) override;

 private:
  WindowKind MadeAs() const override;
  bool OnChar(char& key) override;

  TEdit& edit_;
};

// Read-only lines, every paragraph centred when the control's alignment
// asks for it. The rich-edit control lives in a library loaded on first use.
class RichEditWindow final : public ControlWindow {
 public:
  RichEditWindow(ControlHost& host, TRichEdit& rich) : ControlWindow(host, rich), rich_(rich) {}

 private:
  WindowKind MadeAs() const override;
  void Created() override { CentreLines(); }
  void TextShown() override { CentreLines(); }
  void CentreLines();

  TRichEdit& rich_;
};

}  // namespace ui::win32
