// The rank filters' plain pass: the nine-place search for every pixel in
// range, one pixel at a time. The reference for the shared fast pass in
// frame/rank_search.h.
#pragma once

#include <cstring>

#include "frame/rank_search.h"

namespace vfreference {

template <typename StrictlyBetter>
int64_t PlainRankPass(const frame::DibImage& image, const frame::BorderedRaster& raster, uint8_t lower,
                      uint8_t upper, uint8_t start, StrictlyBetter better, frame::RowCadence& cadence) {
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* luminanceRow = raster.Lum(y, 0);
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t own = luminanceRow[x];
      if (own < lower || own > upper) continue;
      const frame::RankChoice best =
          frame::FindRankNeighbour(luminanceRow + x, raster.luminancePitch, start, better);
      if (best.value == own) continue;
      std::memcpy(image.Pixel(y, x), raster.Pixel(y + best.dy, x + best.dx), 3);
      ++processed;
    }
    cadence.AfterRow(y);
  }
  return processed;
}

}  // namespace vfreference
