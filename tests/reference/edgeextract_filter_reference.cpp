// edgeextract's plain pixel decisions: every place converted to HSV for each
// of its nine blocks. The reference for filters/edgeextract/.
#include <cstring>

#include "edgeextract_filter.h"
#include "frame/hsv.h"

namespace edgeextract {
namespace {

int32_t Absolute(int32_t a) {
  return a < 0 ? -a : a;
}

// The luminance difference from the centre.
class DensityDifference {
 public:
  void SetCentre(const uint8_t* pixel) { centre_ = frame::LuminanceOfBgr(pixel); }
  int32_t operator()(const uint8_t* neighbour) const {
    return Absolute(frame::LuminanceOfBgr(neighbour) - centre_);
  }

 private:
  int32_t centre_ = 0;
};

// One of the HSV measures, with the hue distance folded at 255.
class HsvDifference {
 public:
  explicit HsvDifference(Measure measure) : measure_(measure) {}
  void SetCentre(const uint8_t* pixel) { centre_ = frame::HsvOfBgr(pixel); }
  int32_t operator()(const uint8_t* neighbour) const {
    const frame::HsvDifference d =
        frame::DifferenceOf(frame::HsvOfBgr(neighbour), centre_, frame::kWideHueFold);
    switch (measure_) {
      case kHsvCombined:
        return frame::CombinedDifference(d);
      case kHue:
        return d.hue;
      case kSaturation:
        return d.saturation;
      default:
        return d.value;
    }
  }

 private:
  Measure measure_;
  frame::Hsv centre_ = {};
};

template <typename Difference>
int64_t ClassifyAll(const frame::DibImage& image, const frame::BorderedRaster& raster, int32_t threshold,
                    frame::RowCadence& cadence, Difference difference) {
  int64_t classified = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t* pixel = image.Pixel(y, x);
      difference.SetCentre(pixel);
      BlockDifferences d;
      for (int32_t row = 0; row < 3; ++row) {
        const uint8_t* place = raster.Pixel(y - 1 + row, x - 1);
        for (int32_t column = 0; column < 3; ++column, place += 3) d[row][column] = difference(place);
      }
      std::memset(pixel, ClassifyBlock(d, threshold), 3);
      ++classified;
    }
    cadence.AfterRow(y);
  }
  return classified;
}

}  // namespace

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  frame::RasterLayout layout;
  layout.border = 2;
  layout.keepLuminance = false;
  const frame::BorderFill fill =
      settings.seamless != 0 ? frame::BorderFill::WrapAround : frame::BorderFill::EdgeRepeat;
  layout.colourSides = fill;
  layout.colourRows = fill;
  return layout;
}

uint8_t ClassifyBlock(const BlockDifferences& d, int32_t threshold) {
  const int32_t ul = d[0][0], u = d[0][1], ur = d[0][2];
  const int32_t l = d[1][0], r = d[1][2];
  const int32_t dl = d[2][0], dn = d[2][1], dr = d[2][2];
  const auto differs = [threshold](int32_t value) { return value > threshold; };
  const bool boundary = (differs(u) && differs((ul + ur) / 2)) || (differs(l) && differs((ul + dl) / 2)) ||
                        (differs(dn) && differs((dl + dr) / 2)) || (differs(r) && differs((ur + dr) / 2));
  if (boundary) return kBoundaryLevel;
  const bool anyCorner = differs(ul) || differs(ur) || differs(dl) || differs(dr);
  return anyCorner ? kCornerLevel : kPlainLevel;
}

// The plain kernel keeps no rows of its own.
uint64_t ScratchBytesFor(const frame::DibImage&) {
  return 0;
}

int64_t ExtractBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                          const Settings& settings, uint8_t*, frame::RowCadence& cadence) {
  const int32_t threshold = settings.threshold;
  if (settings.measure == kDensity)
    return ClassifyAll(image, raster, threshold, cadence, DensityDifference());
  const Measure measure = settings.measure <= kValue ? static_cast<Measure>(settings.measure) : kValue;
  return ClassifyAll(image, raster, threshold, cadence, HsvDifference(measure));
}

}  // namespace edgeextract
