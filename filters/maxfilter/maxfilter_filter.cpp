// maxfilter's pixel decisions.
#include "maxfilter_filter.h"

#include "frame/rank_search.h"

namespace maxfilter {

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  return frame::RankRasterLayout(0, settings.seamless != 0);
}

int64_t ApplyMaximum(const frame::DibImage& image, const frame::BorderedRaster& raster,
                     const Settings& settings, frame::RowCadence& cadence) {
  return frame::ApplyRankPass(image, raster, settings.lower, settings.upper, frame::RankOrder::Brightest,
                              cadence);
}

}  // namespace maxfilter
