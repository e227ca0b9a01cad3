// maxfilter's pixel decisions.
#include "maxfilter_filter.h"

#include "frame/rank_search.h"

namespace maxfilter {

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  return frame::RankRasterLayout(0, settings.seamless != 0);
}

int64_t ApplyMaximum(const frame::DibImage& image, const frame::BorderedRaster& raster,
                     const Settings& settings, frame::RowCadence& cadence) {
  const auto brighter = [](uint8_t candidate, uint8_t best) { return candidate > best; };
  return frame::ApplyRankPass(image, raster, settings.lower, settings.upper, 0, brighter, cadence);
}

}  // namespace maxfilter
