#include "ui/scaling.h"

#include <algorithm>

namespace ui {

namespace {

// How much of old pixel `from` new pixel `to` covers, in units of 1 / (old ×
// new) of a pixel: both spans measured on a line of old × new units.
long long Overlap(int from, int to, int oldCount, int newCount) {
  const long long start = std::max<long long>(static_cast<long long>(from) * newCount, static_cast<long long>(to) * oldCount);
  const long long end = std::min<long long>(static_cast<long long>(from + 1) * newCount,
                                            static_cast<long long>(to + 1) * oldCount);
  return std::max<long long>(end - start, 0);
}

}  // namespace

std::vector<std::uint32_t> ScaledImage(const std::vector<std::uint32_t>& image, int width, int height, int toWidth,
                                       int toHeight) {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(std::max(toWidth, 0)) * std::max(toHeight, 0), 0);
  if (width <= 0 || height <= 0 || image.size() < static_cast<std::size_t>(width) * height) return out;
  for (int y = 0; y < toHeight; ++y) {
    // The old rows and columns a new pixel covers.
    const int rowFirst = y * height / toHeight, rowLast = std::min(((y + 1) * height - 1) / toHeight, height - 1);
    for (int x = 0; x < toWidth; ++x) {
      const int columnFirst = x * width / toWidth, columnLast = std::min(((x + 1) * width - 1) / toWidth, width - 1);
      // Colours weighted by coverage and opacity, opacity by coverage.
      long long alpha = 0, red = 0, green = 0, blue = 0, area = 0;
      for (int row = rowFirst; row <= rowLast; ++row) {
        for (int column = columnFirst; column <= columnLast; ++column) {
          const long long weight = Overlap(row, y, height, toHeight) * Overlap(column, x, width, toWidth);
          const std::uint32_t pixel = image[static_cast<std::size_t>(row) * width + column];
          const long long opaque = weight * (pixel >> 24);
          area += weight;
          alpha += opaque;
          red += opaque * ((pixel >> 16) & 0xFF);
          green += opaque * ((pixel >> 8) & 0xFF);
          blue += opaque * (pixel & 0xFF);
        }
      }
      if (alpha == 0 || area == 0) continue;
      const auto channel = [alpha](long long sum) { return static_cast<std::uint32_t>((sum + alpha / 2) / alpha); };
      const auto opacity = static_cast<std::uint32_t>((alpha + area / 2) / area);
      out[static_cast<std::size_t>(y) * toWidth + x] =
          opacity << 24 | channel(red) << 16 | channel(green) << 8 | channel(blue);
    }
  }
  return out;
}

}  // namespace ui
