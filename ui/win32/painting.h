// What the window binding draws itself: fonts and colours of the toolkit's
// looks, backgrounds of forms and panels, and label colours.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/looks.h"

namespace ui::win32 {

COLORREF ColourOf(TColor colour);

// The fonts of one window, made once each and deleted with the cache.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  HFONT Get(const TFont& font);

 private:
  struct Entry {
    TFont font;
    HFONT handle;
  };
  std::vector<Entry> fonts_;
};

// A solid brush of one colour, deleted with its owner.
class SolidBrush {
 public:
  explicit SolidBrush(TColor colour) : brush_(CreateSolidBrush(ColourOf(colour))) {}
  ~SolidBrush() { DeleteObject(brush_); }
  SolidBrush(const SolidBrush&) = delete;
  SolidBrush& operator=(const SolidBrush&) = delete;
  HBRUSH Get() const { return brush_; }

 private:
  HBRUSH brush_;
};

// Fills a window's client area with a colour (WM_ERASEBKGND).
void FillBackground(HWND window, HDC dc, HBRUSH brush);

}  // namespace ui::win32
