#include "ui/win32/glyph.h"

#include "platform/win32/scoped.h"
#include "ui/scaling.h"

namespace ui::win32 {

namespace {

std::uint32_t Rgb(COLORREF colour) {  // COLORREF holds R in the low byte
  return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// Dark enough to show in the embossed look: white, silver and the other
// light colours of a glyph stay out of it, as in the classic toolkits.
bool Ink(std::uint32_t pixel) {
  if (pixel == Glyph::kSeeThrough) return false;
  const unsigned sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
  return sum < 3 * 0xC0;
}

}  // namespace

std::vector<std::uint32_t> Glyph::Embossed(const std::vector<std::uint32_t>& image, int width, int height,
                                           std::uint32_t shadow, std::uint32_t highlight) {
  std::vector<std::uint32_t> out(image.size(), kSeeThrough);
  auto at = [width](int x, int y) { return static_cast<std::size_t>(y) * width + x; };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!Ink(image[at(x, y)])) continue;
      out[at(x, y)] = shadow;
      // The highlight falls one pixel down and right, under the shadow.
      if (x + 1 < width && y + 1 < height && !Ink(image[at(x + 1, y + 1)])) out[at(x + 1, y + 1)] = highlight;
    }
  }
  return out;
}

std::unique_ptr<Glyph> Glyph::Load(const char* name, int images, int dpi) {
  if (name == nullptr || images < 1) return nullptr;
  const platform::win32::GdiObject<HBITMAP> bitmap(
      static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) return nullptr;
  BITMAP info{};
  GetObjectA(bitmap.get(), sizeof info, &info);
  const int width = info.bmWidth, height = info.bmHeight;
  std::vector<std::uint32_t> all(static_cast<std::size_t>(width) * height);
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = width;
  request.bmiHeader.biHeight = -height;  // top row first
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  const int rows = GetDIBits(platform::win32::WindowDC(nullptr).get(), bitmap.get(), 0, height, all.data(), &request,
                             DIB_RGB_COLORS);
  if (rows != height || width < images || height < 1) return nullptr;

  auto glyph = std::make_unique<Glyph>();
  const int imageWidth = width / images;
  glyph->width_ = Scaled(imageWidth, dpi);
  glyph->height_ = Scaled(height, dpi);
  const std::uint32_t seeThrough = all[static_cast<std::size_t>(height - 1) * width] & 0xFFFFFF;
  auto image = [&](int index) {
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(imageWidth) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < imageWidth; ++x) {
        const std::uint32_t pixel = all[static_cast<std::size_t>(y) * width + index * imageWidth + x] & 0xFFFFFF;
        pixels.push_back(pixel == seeThrough ? kSeeThrough : pixel);
      }
    }
    return pixels;
  };
  const auto drawn = [&](std::vector<std::uint32_t> pixels) {
    for (std::uint32_t& pixel : pixels) pixel = pixel == kSeeThrough ? 0 : 0xFF000000u | pixel;
    return ScaledImage(pixels, imageWidth, height, glyph->width_, glyph->height_);
  };
  const std::vector<std::uint32_t> normal = image(0);
  glyph->normal_ = drawn(normal);
  glyph->disabled_ = drawn(images > 1 ? image(1)
                                      : Embossed(normal, imageWidth, height, Rgb(GetSysColor(COLOR_BTNSHADOW)),
                                                 Rgb(GetSysColor(COLOR_BTNHIGHLIGHT))));
  return glyph;
}

// The image is laid over the face's colour here and goes to the screen in
// one call: nothing is read back from the screen, which under X11 is a round
// trip each time.
void Glyph::Draw(HDC dc, int x, int y, bool disabled, COLORREF face) const {
  const std::vector<std::uint32_t>& pixels = disabled ? disabled_ : normal_;
  const std::uint32_t under = Rgb(face);
  std::vector<std::uint32_t> shown(pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t alpha = pixels[i] >> 24;
    std::uint32_t blended = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const std::uint32_t over = (pixels[i] >> shift) & 0xFF, below = (under >> shift) & 0xFF;
      blended |= ((over * alpha + below * (0xFF - alpha) + 0x7F) / 0xFF) << shift;
    }
    shown[i] = blended;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width_), static_cast<DWORD>(height_), 0, 0, 0,
                    static_cast<UINT>(height_), shown.data(), &info, DIB_RGB_COLORS);
}

}  // namespace ui::win32
