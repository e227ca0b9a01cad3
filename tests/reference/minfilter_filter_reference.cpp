// minfilter's plain pixel decisions for one pass. The reference for
// filters/minfilter/.
#include "minfilter_filter.h"
#include "plain_rank_pass.h"

namespace minfilter {

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  return frame::RankRasterLayout(255, settings.seamless != 0);
}

int64_t ApplyMinimumPass(const frame::DibImage& image, const frame::BorderedRaster& raster,
                         const Settings& settings, frame::RowCadence& cadence) {
  const auto darker = [](uint8_t candidate, uint8_t best) { return candidate < best; };
  return vfreference::PlainRankPass(image, raster, settings.lower, settings.upper, 255, darker, cadence);
}

}  // namespace minfilter
