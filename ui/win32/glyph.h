// A button's glyph: the images of a bitmap resource lying side by side
// (normal, then disabled), drawn with the colour of the bitmap's lower-left
// pixel see-through, at the size the display's density gives them. A glyph
// of one image gets its disabled look here: its dark pixels embossed in the
// system's shadow and highlight colours.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace ui::win32 {

class Glyph {
 public:
  // The glyph of bitmap resource `name` with `images` images, for a display
  // of `dpi`; nullptr when the executable has no such bitmap.
  static std::unique_ptr<Glyph> Load(const char* name, int images, int dpi);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Draws the normal or the disabled image with its top-left corner at x, y
  // on a face of colour `face`.
  void Draw(HDC dc, int x, int y, bool disabled, COLORREF face) const;

  // A pixel of an image: 0x00RRGGBB, or kSeeThrough.
  static constexpr std::uint32_t kSeeThrough = 0xFF000000u;
  // The disabled look of a one-image glyph, from its pixels (width × height,
  // top row first, see-through pixels marked).
  static std::vector<std::uint32_t> Embossed(const std::vector<std::uint32_t>& image, int width, int height,
                                             std::uint32_t shadow, std::uint32_t highlight);

 private:
  int width_ = 0, height_ = 0;
  // As drawn: 0xAARRGGBB, alpha 0 see-through.
  std::vector<std::uint32_t> normal_, disabled_;
};

}  // namespace ui::win32
