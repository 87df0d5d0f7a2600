#include "ui/win32/glyph.h"

#include "platform/win32/scoped.h"

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

std::unique_ptr<Glyph> Glyph::Load(const char* name, int images) {
  if (name == nullptr || images < 1) return nullptr;
  HANDLE loaded = LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (loaded == nullptr) return nullptr;
  auto* bitmap = static_cast<HBITMAP>(loaded);
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  const int width = info.bmWidth, height = info.bmHeight;
  std::vector<std::uint32_t> all(static_cast<std::size_t>(width) * height);
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = width;
  request.bmiHeader.biHeight = -height;  // top row first
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  const int rows = GetDIBits(platform::win32::WindowDC(nullptr).get(), bitmap, 0, height, all.data(), &request,
                             DIB_RGB_COLORS);
  DeleteObject(bitmap);
  if (rows != height || width < images || height < 1) return nullptr;

  auto glyph = std::make_unique<Glyph>();
  glyph->width_ = width / images;
  glyph->height_ = height;
  const std::uint32_t seeThrough = all[static_cast<std::size_t>(height - 1) * width] & 0xFFFFFF;
  auto image = [&](int index) {
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(glyph->width_) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < glyph->width_; ++x) {
        const std::uint32_t pixel = all[static_cast<std::size_t>(y) * width + index * glyph->width_ + x] & 0xFFFFFF;
        pixels.push_back(pixel == seeThrough ? kSeeThrough : pixel);
      }
    }
    return pixels;
  };
  glyph->normal_ = image(0);
  glyph->disabled_ = images > 1 ? image(1)
                                : Embossed(glyph->normal_, glyph->width_, height, Rgb(GetSysColor(COLOR_BTNSHADOW)),
                                           Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
  return glyph;
}

// What lies under the glyph is copied out, the image's own pixels are laid
// over it, and the result goes back: see-through without any extra library.
void Glyph::Draw(HDC dc, int x, int y, bool disabled) const {
  const std::vector<std::uint32_t>& pixels = disabled ? disabled_ : normal_;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const platform::win32::GdiObject<HBITMAP> canvas(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!canvas) return;
  const platform::win32::MemoryDC memory(CreateCompatibleDC(dc));
  const platform::win32::Selection selected(memory.get(), canvas.get());
  BitBlt(memory.get(), 0, 0, width_, height_, dc, x, y, SRCCOPY);
  GdiFlush();
  auto* target = static_cast<std::uint32_t*>(bits);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (pixels[i] != kSeeThrough) target[i] = pixels[i];
  }
  BitBlt(dc, x, y, width_, height_, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace ui::win32
