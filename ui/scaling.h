// The layouts are drawn in pixels of a 96-dpi display; a window on a denser
// display scales every place, size, font and picture by its density.
#pragma once

#include <cstdint>
#include <vector>

namespace ui {

inline constexpr int kDesignDpi = 96;

// value × numerator / denominator, rounded as the system's MulDiv rounds (to
// the nearest, halves away from zero); denominator > 0.
constexpr int MulDivRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// `pixels` of the 96-dpi layout on a display of `dpi`.
constexpr int Scaled(int pixels, int dpi) { return MulDivRounded(pixels, dpi, kDesignDpi); }
// Pixels measured on a display of `dpi`, in pixels of the 96-dpi layout.
constexpr int Unscaled(int pixels, int dpi) { return MulDivRounded(pixels, kDesignDpi, dpi); }

// A picture of `width` × `height` pixels (0xAARRGGBB, top row first, alpha 0
// see-through, 255 opaque) at `toWidth` × `toHeight`: each new pixel takes
// the old pixels it covers, each as much as it covers of it, so that a whole
// factor repeats every pixel (sharp pixel art) and any other factor keeps
// every line of the picture, its edges partly see-through.
std::vector<std::uint32_t> ScaledImage(const std::vector<std::uint32_t>& image, int width, int height, int toWidth,
                                       int toHeight);

}  // namespace ui
