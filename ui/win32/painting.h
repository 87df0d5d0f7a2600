// What the window binding draws itself: fonts and colours of the toolkit's
// looks, backgrounds of forms and panels, panel bevels, label colours, and
// the program's icon and pointers.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win32/scoped.h"
#include "ui/looks.h"

namespace ui::win32 {

COLORREF ColourOf(TColor colour);

// The fonts of one window at one display density, made once each and
// deleted with the cache.
class FontCache {
 public:
  explicit FontCache(int dpi) : dpi_(dpi) {}
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  HFONT Get(const TFont& font);

 private:
  struct Entry {
    TFont font;
    platform::win32::GdiObject<HFONT> handle;
  };
  int dpi_;
  std::vector<Entry> fonts_;
};

// Solid brushes of the colours one window uses, made once each.
class BrushCache {
 public:
  BrushCache() = default;
  BrushCache(const BrushCache&) = delete;
  BrushCache& operator=(const BrushCache&) = delete;
  HBRUSH Get(TColor colour);

 private:
  struct Entry {
    TColor colour;
    platform::win32::GdiObject<HBRUSH> brush;
  };
  std::vector<Entry> brushes_;
};

// Fills a window's client area with a colour (WM_ERASEBKGND).
void FillBackground(HWND window, HDC dc, HBRUSH brush);

// A panel's bevels inside `bounds`: the outer edge, the gap of the panel's
// colour, the inner edge, as its looks describe them, at `dpi`.
void DrawBevels(HDC dc, RECT bounds, const TLooks& looks, int dpi);

// The pointer a control asks for; nullptr: the window class's own.
HCURSOR CursorOf(TCursor cursor);

// The program's icon (icon resource 1), or the system's application icon
// when the executable has none.
HICON ProgramIcon();
// The program's icon drawn `size` pixels square, owned by the caller;
// nullptr when the executable has none.
platform::win32::OwnedIcon ProgramIcon(int size);
// Shows the program's icon in a window's title bar and task bar button.
void ShowProgramIcon(HWND window);

}  // namespace ui::win32
