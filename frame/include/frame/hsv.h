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

}  // namespace frame
