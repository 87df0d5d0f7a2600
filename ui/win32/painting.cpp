#include "ui/win32/painting.h"

namespace ui::win32 {

COLORREF ColourOf(TColor colour) {
  if ((colour & kSystemColour) == kSystemColour) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0xFFFFFF);  // R in the low byte, as COLORREF
}

FontCache::~FontCache() {
  for (const Entry& entry : fonts_) DeleteObject(entry.handle);
}

HFONT FontCache::Get(const TFont& font) {
  for (const Entry& entry : fonts_) {
    if (entry.font == font) return entry.handle;
  }
  // A negative height asks for the character height, not the cell height.
  HFONT handle = CreateFontA(-font.Height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             font.Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str());
  fonts_.push_back({font, handle});
  return handle;
}

void FillBackground(HWND window, HDC dc, HBRUSH brush) {
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, brush);
}

}  // namespace ui::win32
