#include "ui/win32/paint_resources.h"

#include <utility>

namespace ui::win32 {

std::unique_ptr<FontCache> PaintResources::SetDpi(int dpi) {
  return std::exchange(fonts_, std::make_unique<FontCache>(dpi));
}

HFONT PaintResources::FontFor(const TControl& control) {
  if (control.Font) return fonts_->Get(*control.Font);
  TFont font = form_.Font.value_or(TFont{});
  if (control.Bold) font.Bold = true;
  return fonts_->Get(font);
}

HBRUSH PaintResources::LabelColours(const TControl& control, HDC dc) {
  const TFont& font = control.Font ? *control.Font : form_.Font.value_or(TFont{});
  SetTextColor(dc, ColourOf(font.Color));
  SetBkMode(dc, TRANSPARENT);
  const TWinControl* parent = control.Parent();
  const TColor under = parent == nullptr || parent == &form_ ? form_.Color : parent->Looks.color;
  return brushes_.Get(under);
}

}  // namespace ui::win32
