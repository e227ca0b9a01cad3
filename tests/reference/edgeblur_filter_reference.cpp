// edgeblur's pass over the picture one pixel at a time: the reference for
// filters/edgeblur/edgeblur_filter.cpp.
#include <cstring>

#include "edgeblur_filter.h"

namespace edgeblur {

int64_t ApplyEdgeBlur(const frame::DibImage& image, const frame::BorderedRaster& raster,
                      const Settings& settings, frame::RowCadence& cadence) {
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t colour[3];
      if (!BlurredPixel(raster, y, x, settings.threshold, colour)) continue;
      std::memcpy(image.Pixel(y, x), colour, 3);
      ++processed;
    }
    cadence.AfterRow(y);
  }
  return processed;
}

}  // namespace edgeblur
