// regionavg's plain pixel averages: every place converted to HSV for every
// block it is in. The reference for filters/regionavg/.
#include "frame/hsv.h"
#include "regionavg_filter.h"

namespace regionavg {
namespace {

constexpr int32_t kReach = 2;  // the block is the pixel and 2 places on every side

// Sums of the places taking part; returns false when none does.
bool AverageOfSimilar(const frame::BorderedRaster& raster, int32_t y, int32_t x, const frame::Hsv& centre,
                      int32_t threshold, uint8_t* average) {
  uint32_t blue = 0, green = 0, red = 0, count = 0;
  for (int32_t dy = -kReach; dy <= kReach; ++dy) {
    const uint8_t* place = raster.Pixel(y + dy, x - kReach);
    for (int32_t dx = -kReach; dx <= kReach; ++dx, place += 3) {
      const frame::HsvDifference d =
          frame::DifferenceOf(frame::HsvOfBgr(place), centre, frame::kCircularHueFold);
      if (frame::CombinedDifference(d) >= threshold) continue;
      blue += place[0];
      green += place[1];
      red += place[2];
      ++count;
    }
  }
  if (count == 0) return false;
  average[0] = static_cast<uint8_t>(blue / count);
  average[1] = static_cast<uint8_t>(green / count);
  average[2] = static_cast<uint8_t>(red / count);
  return true;
}

}  // namespace

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  frame::RasterLayout layout;
  layout.border = kReach;
  layout.keepLuminance = false;
  const frame::BorderFill fill =
      settings.seamless != 0 ? frame::BorderFill::WrapAround : frame::BorderFill::EdgeRepeat;
  layout.colourSides = fill;
  layout.colourRows = fill;
  return layout;
}

// The plain kernel keeps no rows of its own.
uint64_t ScratchBytesFor(const frame::DibImage&) {
  return 0;
}

int64_t AverageWithinBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                                const Settings& settings, uint8_t*, frame::RowCadence& cadence) {
  const int32_t threshold = settings.threshold;
  int64_t averaged = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t* pixel = image.Pixel(y, x);
      if (AverageOfSimilar(raster, y, x, frame::HsvOfBgr(pixel), threshold, pixel)) ++averaged;
    }
    cadence.AfterRow(y);
  }
  return averaged;
}

}  // namespace regionavg
