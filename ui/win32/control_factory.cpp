#include "ui/win32/control_factory.h"

#include "ui/win32/button_windows.h"
#include "ui/win32/combo_box_window.h"
#include "ui/win32/panel_window.h"
#include "ui/win32/progress_bar_window.h"
#include "ui/win32/text_windows.h"

namespace ui::win32 {

namespace {

class WindowOfKind final : public ControlVisitor {
 public:
  explicit WindowOfKind(ControlHost& host) : host_(host) {}
  std::unique_ptr<ControlWindow> made;

  void Visit(TLabel& label) override { made = std::make_unique<LabelWindow>(host_, label); }
  void Visit(TImage& image) override { made = std::make_unique<ImageWindow>(host_, image); }
  void Visit(TSpeedButton& button) override { made = std::make_unique<SpeedButtonWindow>(host_, button); }
  void Visit(TPanel& panel) override { made = std::make_unique<PanelWindow>(host_, panel); }
  void Visit(TEdit& edit) override { made = std::make_unique<EditWindow>(host_, edit); }
  void Visit(TComboBox& combo) override { made = std::make_unique<ComboBoxWindow>(host_, combo); }
  void Visit(TCheckBox& box) override { made = std::make_unique<CheckBoxWindow>(host_, box); }
  void Visit(TBitBtn& button) override { made = std::make_unique<GlyphButtonWindow>(host_, button); }
  void Visit(TRichEdit& rich) override { made = std::make_unique<RichEditWindow>(host_, rich); }
  void Visit(TProgressBar& bar) override { made = std::make_unique<ProgressBarWindow>(host_, bar); }

 private:
  ControlHost& host_;
};

}  // namespace

std::unique_ptr<ControlWindow> MakeControlWindow(ControlHost& host, TControl& control, HWND parent, int id) {
  WindowOfKind kind(host);
  control.Accept(kind);
  if (kind.made == nullptr || !kind.made->Create(parent, id)) return nullptr;
  return std::move(kind.made);
}

}  // namespace ui::win32
