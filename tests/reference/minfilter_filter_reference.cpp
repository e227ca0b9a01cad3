// minfilter's plain pixel decisions: the nine-place search for every pixel in
// range, one pixel at a time. The reference for filters/minfilter/.
#include "frame/rank_search.h"
#include "minfilter_filter.h"

namespace minfilter {

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  return frame::RankRasterLayout(255, settings.seamless != 0);
}

int64_t ApplyMinimumPass(const frame::DibImage& image, const frame::BorderedRaster& raster,
                         const Settings& settings, frame::RowCadence& cadence) {
  const auto darker = [](uint8_t candidate, uint8_t best) { return candidate < best; };
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* luminanceRow = raster.Lum(y, 0);
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t own = luminanceRow[x];
      if (own < settings.lower || own > settings.upper) continue;
      const frame::RankChoice best =
          frame::FindRankNeighbour(luminanceRow + x, raster.luminancePitch, 255, darker);
      if (best.value == own) continue;
      std::memcpy(image.Pixel(y, x), raster.Pixel(y + best.dy, x + best.dx), 3);
      ++processed;
    }
    cadence.AfterRow(y);
  }
  return processed;
}

}  // namespace minfilter
