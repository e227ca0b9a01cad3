// minfilter's pixel decisions.
#include "minfilter_filter.h"

#include "frame/rank_search.h"

namespace minfilter {

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  return frame::RankRasterLayout(255, settings.seamless != 0);
}

int64_t ApplyMinimumPass(const frame::DibImage& image, const frame::BorderedRaster& raster,
                         const Settings& settings, frame::RowCadence& cadence) {
  return frame::ApplyRankPass(image, raster, settings.lower, settings.upper, frame::RankOrder::Darkest,
                              cadence);
}

}  // namespace minfilter
