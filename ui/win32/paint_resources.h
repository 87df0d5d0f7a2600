// The fonts and brushes one form's window paints with, made once each and
// deleted with the window: the form's font (bold or not) and the controls'
// own fonts, the form's colour, and the colours labels and panels lie on.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/forms.h"
#include "ui/scaling.h"
#include "ui/win32/painting.h"

namespace ui::win32 {

class PaintResources {
 public:
  explicit PaintResources(const TForm& form) : form_(form) {}

  // Fonts at this display density from now on; returns the fonts made for
  // the density before, which the caller keeps until no window uses them.
  std::unique_ptr<FontCache> SetDpi(int dpi);

  HFONT FontFor(const TControl& control);
  HBRUSH BrushOf(TColor colour) { return brushes_.Get(colour); }
  // The form's own background.
  HBRUSH Background() { return brushes_.Get(form_.Color); }
  // Text colour and background of a label (WM_CTLCOLORSTATIC): its font's
  // colour on the colour of what it lies on.
  HBRUSH LabelColours(const TControl& control, HDC dc);

 private:
  const TForm& form_;
  std::unique_ptr<FontCache> fonts_ = std::make_unique<FontCache>(kDesignDpi);
  BrushCache brushes_;
};

}  // namespace ui::win32
