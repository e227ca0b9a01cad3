// The suite's integer HSV colour space: H 0 .. 359 (red 0, green 120,
// blue 240, 0 for every grey), S and V 0 .. 255. The hue is the place between
// the two components that are not the minimum, in proportion to how far each
// stands above it, on a circle of three 120-degree sectors.
#pragma once

#include <cstdint>

namespace frame {

struct Hsv {
  int32_t h;
  int32_t s;
  int32_t v;
};

// Only the low 8 bits of red, green and blue are used, so a packed colour word
// (red in bits 0-7) can be passed as word, word >> 8, word >> 16. Stores V,
// then S, then H.
void RgbToHsv(uint32_t red, uint32_t green, uint32_t blue, int32_t* h, int32_t* s, int32_t* v);
Hsv RgbToHsv(uint32_t red, uint32_t green, uint32_t blue);
// A pixel in memory order blue, green, red.
inline Hsv HsvOfBgr(const uint8_t* pixel) {
  return RgbToHsv(pixel[2], pixel[1], pixel[0]);
}

// RgbToHsv for hot loops: the same results, with each division done as a
// multiplication by a reciprocal (see ReciprocalQuotient) and the hue's
// sector picked without branches.
inline Hsv QuickHsvOfBgr(const uint8_t* pixel);

// Back to RGB, up to the truncation of RgbToHsv. Stores the minimum component
// first, then the maximum, then the middle one. A hue outside 0 .. 359 is
// taken modulo 360, and S and V are held to 0 .. 255, so that every input
// gives a colour.
void HsvToRgb(int32_t h, int32_t s, int32_t v, uint8_t* red, uint8_t* green, uint8_t* blue);

// The three terms the colour filters build their tests from. The hue distance
// folds at foldPoint: d above it counts as 2 x foldPoint - d. With 180 that is
// the circular distance; with 255 two hues one degree apart across 0 count as
// 151 apart. The hue term weighs the distance by both colours' S x V, so it
// is 0 between greys.
struct HsvDifference {
  int32_t hue;         // 0 .. 255
  int32_t saturation;  // |S1 - S2|
  int32_t value;       // |V1 - V2|
};
constexpr int32_t kCircularHueFold = 180;
constexpr int32_t kWideHueFold = 255;
HsvDifference DifferenceOf(const Hsv& first, const Hsv& second, int32_t foldPoint);

// (hue term + saturation difference + value difference) / 3.
inline int32_t CombinedDifference(const HsvDifference& difference) {
  return (difference.hue + difference.saturation + difference.value) / 3;
}

// n / d, truncated, for n * d < 2^24 (d from 1 to 510), as n times
// ceil(2^24 / d) shifted down by 24. With ceil(2^24 / d) = (2^24 + e) / d and
// 0 <= e < d, the product is n / d plus n * e / (d * 2^24), which is below
// 1 / d because n * e < n * d < 2^24; the fraction of n / d is at most
// (d - 1) / d, so the sum stays below the next integer. RgbToHsv's divisions
// all qualify: (max - min) * 255 by max is at most 65025 * 255, and
// 120 * (a difference) by the sum of the differences at most 30600 * 510.
struct HsvReciprocals {
  static constexpr uint32_t kLargestDivisor = 510;
  static constexpr int kShift = 24;
  uint32_t of[kLargestDivisor + 1];
  constexpr HsvReciprocals() : of() {
    for (uint32_t d = 1; d <= kLargestDivisor; ++d) of[d] = ((uint32_t{1} << kShift) + d - 1) / d;
  }
};
inline constexpr HsvReciprocals kHsvReciprocals{};

inline int32_t ReciprocalQuotient(uint32_t n, uint32_t d) {
  return static_cast<int32_t>((uint64_t{n} * kHsvReciprocals.of[d]) >> HsvReciprocals::kShift);
}

inline Hsv QuickHsvOfBgr(const uint8_t* pixel) {
  const uint32_t b = pixel[0], g = pixel[1], r = pixel[2];
  const uint32_t max = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const uint32_t min = r < g ? (r < b ? r : b) : (g < b ? g : b);
  const uint32_t dRed = r - min, dGreen = g - min, dBlue = b - min;
  // The minimum's own difference is 0, so the two others add up to the sum of
  // all three: every sector divides by it (and a grey has it 0).
  const uint32_t sum = dRed + dGreen + dBlue;
  const bool redMinimum = dRed == 0;
  const bool greenMinimum = !redMinimum && dGreen == 0;
  const uint32_t towards = redMinimum ? dBlue : (greenMinimum ? dRed : dGreen);
  const int32_t sectorStart = redMinimum ? 120 : (greenMinimum ? 240 : 0);
  int32_t hue = ReciprocalQuotient(towards * 120, sum) + sectorStart;
  hue = hue >= 360 ? hue - 360 : hue;
  Hsv hsv;
  hsv.h = sum == 0 ? 0 : hue;
  hsv.s = ReciprocalQuotient((max - min) * 255, max);  // of[0] is 0: black has S 0
  hsv.v = static_cast<int32_t>(max);
  return hsv;
}

}  // namespace frame
