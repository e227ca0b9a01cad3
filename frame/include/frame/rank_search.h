// The 3 x 3 rank search of the maximum and minimum filters, their raster and
// their pass over the picture. The search visits the nine places of a pixel's
// neighbourhood in luminance column by column from the left and, within a
// column, from the lower row (lower row index) up; a place replaces the
// running best only when strictly better, so among equal places the first in
// this order wins.
#pragma once

#include <cstdint>
#include <cstring>

#include "frame/bordered_raster.h"
#include "frame/host_interface.h"
#include "frame/progress.h"

namespace frame {

struct RankChoice {
  int32_t dx = 0;
  int32_t dy = 0;
  uint8_t value = 0;
};

// centre points at the pixel's cell of a luminance plane of pitch
// luminancePitch (row + 1 is the row above); start is the running best's
// initial value (0 for the brightest, 255 for the darkest).
template <typename StrictlyBetter>
inline RankChoice FindRankNeighbour(const uint8_t* centre, intptr_t luminancePitch, uint8_t start,
                                    StrictlyBetter better) {
  RankChoice choice;
  choice.value = start;
  for (int32_t dx = -1; dx <= 1; ++dx) {
    for (int32_t dy = -1; dy <= 1; ++dy) {
      const uint8_t v = centre[dy * luminancePitch + dx];
      if (better(v, choice.value)) {
        choice.value = v;
        choice.dx = dx;
        choice.dy = dy;
      }
    }
  }
  return choice;
}

// The raster of the rank filters: border 1 with a luminance plane whose
// border holds the neutral value (which no search can choose); the colour
// sides always wrap around; with the seamless option the colour border rows
// and the luminance border wrap around too, so the picture is one tile.
inline RasterLayout RankRasterLayout(uint8_t neutral, bool seamless) {
  RasterLayout layout;
  layout.border = 1;
  layout.keepLuminance = true;
  layout.luminanceInitial = neutral;
  layout.colourSides = BorderFill::WrapAround;
  layout.colourRows = seamless ? BorderFill::WrapAround : BorderFill::Unfilled;
  layout.luminanceBorder = seamless ? BorderFill::WrapAround : BorderFill::Unfilled;
  return layout;
}

// One pass of a rank filter: every pixel whose luminance lies in
// lower .. upper takes the colour of the best place of its neighbourhood
// (searched from start), when that place is strictly better than the pixel
// itself. Decisions and colours come from the raster, so no change of the pass
// feeds another; the row cadence reports after each row. Returns the pixels
// changed.
template <typename StrictlyBetter>
int64_t ApplyRankPass(const DibImage& image, const BorderedRaster& raster, uint8_t lower, uint8_t upper,
                      uint8_t start, StrictlyBetter better, RowCadence& cadence) {
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* luminanceRow = raster.Lum(y, 0);
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t own = luminanceRow[x];
      if (own < lower || own > upper) continue;
      const RankChoice best = FindRankNeighbour(luminanceRow + x, raster.luminancePitch, start, better);
      if (best.value == own) continue;
      std::memcpy(image.Pixel(y, x), raster.Pixel(y + best.dy, x + best.dx), 3);
      ++processed;
    }
    cadence.AfterRow(y);
  }
  return processed;
}

}  // namespace frame
