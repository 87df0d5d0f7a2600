#include "ui/win32/button_painting.h"

#include "ui/scaling.h"
#include "ui/win32/glyph.h"

namespace ui::win32 {

namespace {

constexpr int kSpacing = 4;  // between glyph and caption

int CaptionWidth(HDC dc, const std::string& caption) {
  if (caption.empty()) return 0;
  RECT measured{0, 0, 0, 0};
  DrawTextA(dc, caption.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  return measured.right - measured.left;
}

// The glyph and caption block inside `content` (the face within its edges).
void DrawBlock(HDC dc, const RECT& content, const ButtonFace& face) {
  const int offset = face.pressed ? 1 : 0;
  const int textWidth = CaptionWidth(dc, face.caption);
  const int glyphWidth = face.glyph != nullptr ? face.glyph->Width() : 0;
  const int glyphHeight = face.glyph != nullptr ? face.glyph->Height() : 0;
  const BlockPlaces places = PlaceBlock(content.right - content.left, content.bottom - content.top, glyphWidth,
                                        glyphHeight, textWidth, face.layout, Scaled(kSpacing, face.dpi));
  if (face.glyph != nullptr) {
    face.glyph->Draw(dc, content.left + places.glyphLeft + offset, content.top + places.glyphTop + offset,
                     face.disabled, GetSysColor(COLOR_BTNFACE));
  }
  if (face.caption.empty()) return;
  RECT text{content.left + places.textLeft + offset, content.top + offset,
            content.left + places.textLeft + textWidth + offset, content.bottom + offset};
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOCLIP;
  if (face.disabled) {
    RECT embossed = text;
    OffsetRect(&embossed, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, face.caption.c_str(), -1, &embossed, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextA(dc, face.caption.c_str(), -1, &text, format);
}

}  // namespace

BlockPlaces PlaceBlock(int width, int height, int glyphWidth, int glyphHeight, int textWidth, TButtonLayout layout,
                       int spacing) {
  const int gap = glyphWidth > 0 && textWidth > 0 ? spacing : 0;
  const int left = (width - (glyphWidth + gap + textWidth) + 1) / 2;
  BlockPlaces places;
  places.glyphTop = (height - glyphHeight + 1) / 2;
  if (layout == TButtonLayout::blGlyphRight) {
    places.textLeft = left;
    places.glyphLeft = left + textWidth + gap;
  } else {
    places.glyphLeft = left;
    places.textLeft = left + glyphWidth + gap;
  }
  return places;
}

void DrawSpeedButton(HDC dc, RECT bounds, const ButtonFace& face) {
  FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &bounds, face.pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  DrawBlock(dc, bounds, face);
  if (face.focused) {
    InflateRect(&bounds, -1, -1);
    DrawFocusRect(dc, &bounds);
  }
}

void DrawGlyphButton(HDC dc, RECT bounds, const ButtonFace& face) {
  FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
  if (face.defaultFrame || face.focused) {
    FrameRect(dc, &bounds, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&bounds, -1, -1);
  }
  if (face.pressed) {
    FrameRect(dc, &bounds, GetSysColorBrush(COLOR_BTNSHADOW));
    InflateRect(&bounds, -1, -1);
  } else {
    DrawEdge(dc, &bounds, EDGE_RAISED, BF_RECT | BF_ADJUST);
  }
  DrawBlock(dc, bounds, face);
  if (face.focused) {
    RECT focus = bounds;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace ui::win32
