// The bordered working raster: a copy of the image with a border of b pixels
// on every side, so that every neighbour within b pixels is a plain offset,
// and optionally a plane of luminance bytes with the same border.
//
// Block layout: (H + 2b) rows of pitch P = S + 6b bytes of colour (image row y
// in working row y + b, pixel x at byte 3b + 3x), then, when kept,
// (H + 2b) rows of W + 2b luminance bytes.
#pragma once

#include <cstdint>

#include "frame/host_interface.h"

namespace frame {

inline uint8_t Luminance(uint32_t red, uint32_t green, uint32_t blue) {
  return static_cast<uint8_t>((151 * green + 77 * red + 28 * blue) >> 8);
}
// A pixel in memory order blue, green, red.
inline uint8_t LuminanceOfBgr(const uint8_t* pixel) {
  return Luminance(pixel[2], pixel[1], pixel[0]);
}

// The luminance of count pixels of three bytes (blue, green, red) each,
// sixteen at a time where the processor allows.
void LuminanceRow(const uint8_t* bgr, int32_t count, uint8_t* luminance);

enum class BorderFill {
  Unfilled,    // left as the allocation left it (colour) or at N (luminance)
  WrapAround,  // the opposite edge, as one tile of a seamless pattern
  EdgeRepeat,  // the nearest edge pixel
};

struct RasterLayout {
  int32_t border = 1;  // b
  bool keepLuminance = false;
  uint8_t luminanceInitial = 0;  // N, the neutral value
  BorderFill colourSides = BorderFill::WrapAround;
  BorderFill colourRows = BorderFill::Unfilled;
  BorderFill luminanceBorder = BorderFill::Unfilled;
};

struct BorderedRaster {
  uint8_t* colour = nullptr;     // working row 0, byte 0
  uint8_t* luminance = nullptr;  // plane row 0, column 0 (null when not kept)
  int32_t width = 0;
  int32_t height = 0;
  int32_t border = 0;
  intptr_t pitch = 0;           // S + 6b
  intptr_t luminancePitch = 0;  // W + 2b

  // Image pixel (y, x) and its luminance; y and x may reach b into the border.
  uint8_t* Pixel(int32_t y, int32_t x) const { return colour + (y + border) * pitch + 3 * (x + border); }
  uint8_t* Lum(int32_t y, int32_t x) const {
    return luminance + (y + border) * luminancePitch + (x + border);
  }
};

// Bytes the block needs (kUnaddressable when it cannot be addressed).
uint64_t BorderedRasterSize(const DibImage& image, const RasterLayout& layout);

// Fills the block from the image: luminance set to N, rows copied with their
// luminance, then the side borders, then the border rows as whole-row copies.
// Wrap-around reads image pixels modulo the image size, so pictures narrower
// or lower than the border tile themselves and nothing outside the image is
// read.
BorderedRaster FillBorderedRaster(const DibImage& image, uint8_t* block, const RasterLayout& layout);

}  // namespace frame
