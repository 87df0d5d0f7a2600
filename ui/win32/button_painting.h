// The faces of owner-drawn buttons: speed buttons (a raised face, sunken
// while held) and glyph buttons (a push button with a focus and a default
// frame). Both centre glyph and caption together as one block, the glyph
// left of the caption or right of it; trailing blanks of the caption count
// in the block's width. "&&" shows one ampersand, a single "&" underlines
// the next letter. Disabled, the caption is embossed grey and the glyph
// shows its disabled image.
#pragma once

#include <windows.h>

#include <string>

#include "ui/looks.h"
#include "ui/scaling.h"

namespace ui::win32 {

class Glyph;

struct ButtonFace {
  const std::string& caption;
  const Glyph* glyph = nullptr;  // none: the caption alone
  TButtonLayout layout = TButtonLayout::blGlyphLeft;
  bool pressed = false;
  bool disabled = false;
  bool focused = false;      // the focus rectangle
  bool defaultFrame = false;  // glyph buttons: the dark frame of the default button
  int dpi = kDesignDpi;       // the display's density
};

// Where glyph and caption go in a face of `width` × `height` (the block
// centred, `spacing` pixels between glyph and caption).
struct BlockPlaces {
  int glyphLeft = 0, glyphTop = 0;
  int textLeft = 0;
};
BlockPlaces PlaceBlock(int width, int height, int glyphWidth, int glyphHeight, int textWidth, TButtonLayout layout,
                       int spacing);

void DrawSpeedButton(HDC dc, RECT bounds, const ButtonFace& face);
void DrawGlyphButton(HDC dc, RECT bounds, const ButtonFace& face);

}  // namespace ui::win32
