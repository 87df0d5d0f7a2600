#include "ui/win32/form_frame.h"

namespace ui::win32 {

Frame FrameOf(const TForm& form) {
  Frame frame{WS_CLIPCHILDREN | WS_CAPTION, 0};
  switch (form.BorderStyle) {
    case TBorderStyle::bsSingle:
      frame.style |= WS_BORDER;
      break;
    case TBorderStyle::bsSizeable:
      frame.style |= WS_THICKFRAME;
      break;
    case TBorderStyle::bsDialog:
      frame.style |= WS_DLGFRAME;
      frame.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if ((form.BorderIcons & biSystemMenu) != 0) {
    frame.style |= WS_SYSMENU;
    if (form.BorderStyle != TBorderStyle::bsDialog) {
      if ((form.BorderIcons & biMinimize) != 0) frame.style |= WS_MINIMIZEBOX;
      if ((form.BorderIcons & biMaximize) != 0) frame.style |= WS_MAXIMIZEBOX;
    }
    // The system shows no help button beside a minimise or maximise box.
    if ((form.BorderIcons & biHelp) != 0) frame.exStyle |= WS_EX_CONTEXTHELP;
  }
  if (form.FormStyle == TFormStyle::fsStayOnTop) frame.exStyle |= WS_EX_TOPMOST;
  return frame;
}

}  // namespace ui::win32
