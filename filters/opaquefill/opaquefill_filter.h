// opaquefill's work: every pixel is blended over the background (a colour, or
// a checkerboard of 8 x 8 cells, white alternating with the colour) by its
// opacity, and the opacity becomes full as far as the mask leaves it free.
#pragma once

#include <cstdint>

#include "frame/line_access.h"
#include "opaquefill_settings.h"

namespace opaquefill {

// The background colour as line bytes: blue, green, red.
struct Backdrop {
  uint8_t colour[3];
  bool checkerboard;

  static Backdrop From(const Settings& settings);
  // White where bit 3 of x equals bit 3 of y on the checkerboard.
  const uint8_t* At(int32_t x, int32_t y) const;
};

// One pixel: colour c (3 line bytes) and opacity over the background byte by
// byte, (a x c + (255 - a) x background) / 255; the opacity then becomes
// 255 - ((255 - a) x mask) / 255.
void FlattenPixel(uint8_t* colour, uint8_t* opacity, uint8_t mask, const uint8_t* background);

// Working memory of one run: a colour line, an alpha line and a mask line.
uint64_t WorkingBytes(int32_t width);

// Every row: read colour, alpha and mask, flatten, write colour and alpha.
void FlattenRows(const frame::LineAccess& lines, const Backdrop& backdrop, uint8_t* block, HWND host);

}  // namespace opaquefill
