// maxfilter's plain pixel decisions. The reference for filters/maxfilter/.
#include "maxfilter_filter.h"
#include "plain_rank_pass.h"

namespace maxfilter {

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  return frame::RankRasterLayout(0, settings.seamless != 0);
}

int64_t ApplyMaximum(const frame::DibImage& image, const frame::BorderedRaster& raster,
                     const Settings& settings, frame::RowCadence& cadence) {
  const auto brighter = [](uint8_t candidate, uint8_t best) { return candidate > best; };
  return vfreference::PlainRankPass(image, raster, settings.lower, settings.upper, 0, brighter, cadence);
}

}  // namespace maxfilter
