#include "ui/win32/painting.h"

#include "ui/scaling.h"

namespace ui::win32 {

COLORREF ColourOf(TColor colour) {
  if ((colour & kSystemColour) == kSystemColour) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0xFFFFFF);  // R in the low byte, as COLORREF
}

HFONT FontCache::Get(const TFont& font) {
  for (const Entry& entry : fonts_) {
    if (entry.font == font) return entry.handle.get();
  }
  // A negative height asks for the character height, not the cell height.
  // Scaled down to whole pixels: a text's width grows a little faster than
  // its height, so a text that fits its 96-dpi place fits it scaled.
  HFONT handle = CreateFontA(-(font.Height * dpi_ / kDesignDpi), 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             font.Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str());
  fonts_.push_back({font, platform::win32::GdiObject<HFONT>(handle)});
  return handle;
}

void FillBackground(HWND window, HDC dc, HBRUSH brush) {
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, brush);
}

}  // namespace ui::win32

namespace ui::win32 {

HBRUSH BrushCache::Get(TColor colour) {
  for (const Entry& entry : brushes_) {
    if (entry.colour == colour) return entry.brush.get();
  }
  brushes_.push_back({colour, platform::win32::GdiObject<HBRUSH>(CreateSolidBrush(ColourOf(colour)))});
  return brushes_.back().brush.get();
}

namespace {

// One edge, `width` one-pixel frames from the outside in: light above and
// left and dark below and right when raised, the other way round when lowered.
void DrawEdgeFrames(HDC dc, RECT& rect, TBevelCut cut, int width) {
  if (cut == TBevelCut::bvNone) return;
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF topLeft = cut == TBevelCut::bvRaised ? light : dark;
  const COLORREF bottomRight = cut == TBevelCut::bvRaised ? dark : light;
  for (int i = 0; i < width && rect.right - rect.left > 1 && rect.bottom - rect.top > 1; ++i) {
    auto line = [dc](int left, int top, int right, int bottom, COLORREF colour) {
      SetBkColor(dc, colour);
      const RECT part{left, top, right, bottom};
      ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
    };
    line(rect.left, rect.top, rect.right - 1, rect.top + 1, topLeft);
    line(rect.left, rect.top, rect.left + 1, rect.bottom - 1, topLeft);
    line(rect.right - 1, rect.top, rect.right, rect.bottom, bottomRight);
    line(rect.left, rect.bottom - 1, rect.right, rect.bottom, bottomRight);
    InflateRect(&rect, -1, -1);
  }
}

}  // namespace

void DrawBevels(HDC dc, RECT bounds, const TLooks& looks, int dpi) {
  const COLORREF old = GetBkColor(dc);
  const int bevel = Scaled(looks.bevelWidth, dpi), border = Scaled(looks.borderWidth, dpi);
  DrawEdgeFrames(dc, bounds, looks.bevelOuter, bevel);
  InflateRect(&bounds, -border, -border);
  DrawEdgeFrames(dc, bounds, looks.bevelInner, bevel);
  SetBkColor(dc, old);
}

HCURSOR CursorOf(TCursor cursor) {
  switch (cursor) {
    case TCursor::crHandPoint:
      return LoadCursorA(nullptr, IDC_HAND);
    case TCursor::crDefault:
      break;
  }
  return nullptr;
}

HICON ProgramIcon() {
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  return icon != nullptr ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

platform::win32::OwnedIcon ProgramIcon(int size) {
  return platform::win32::OwnedIcon(
      static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0)));
}

void ShowProgramIcon(HWND window) {
  HICON icon = ProgramIcon();
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

}  // namespace ui::win32
