// edgeextract's pixel decisions. For the HSV measures every place's colour is
// worked out once per run (three rows kept at a time), not once per block.
#include "edgeextract_filter.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

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

// The HSV colours of the raster rows y - 1 .. y + 1, each worked out once per
// run: a ring of three rows of W + 2 places, row r in slot (r + 1) mod 3.
class HsvRows {
 public:
  explicit HsvRows(const frame::BorderedRaster& raster)
      : raster_(raster),
        placesPerRow_(static_cast<std::size_t>(raster.width) + 2),
        rows_(new (std::nothrow) frame::Hsv[3 * placesPerRow_]) {}
  bool ready() const { return rows_ != nullptr; }
  void Convert(int32_t r) {
    frame::Hsv* out = Row(r) - 1;
    const uint8_t* place = raster_.Pixel(r, -1);
    for (std::size_t i = 0; i < placesPerRow_; ++i, place += 3) out[i] = frame::HsvOfBgr(place);
  }
  // Place (r, 0) of a converted row; x may run from -1 to W.
  const frame::Hsv* Row(int32_t r) const {
    return rows_.get() + static_cast<std::size_t>((r + 1) % 3) * placesPerRow_ + 1;
  }
  frame::Hsv* Row(int32_t r) {
    return rows_.get() + static_cast<std::size_t>((r + 1) % 3) * placesPerRow_ + 1;
  }

 private:
  const frame::BorderedRaster& raster_;
  std::size_t placesPerRow_;
  std::unique_ptr<frame::Hsv[]> rows_;
};

int32_t MeasureOf(const frame::HsvDifference& d, Measure measure) {
  switch (measure) {
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

// The HSV measures with every place converted once; false when the rows'
// memory cannot be had.
bool ClassifyAllByHsvRows(const frame::DibImage& image, const frame::BorderedRaster& raster,
                          int32_t threshold, frame::RowCadence& cadence, Measure measure,
                          int64_t& classified) {
  HsvRows hsv(raster);
  if (!hsv.ready()) return false;
  classified = 0;
  if (image.height > 0) {
    hsv.Convert(-1);
    hsv.Convert(0);
  }
  for (int32_t y = 0; y < image.height; ++y) {
    hsv.Convert(y + 1);
    const frame::Hsv* rows[3] = {hsv.Row(y - 1), hsv.Row(y), hsv.Row(y + 1)};
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t* pixel = image.Pixel(y, x);
      const frame::Hsv& centre = rows[1][x];
      BlockDifferences d;
      for (int32_t row = 0; row < 3; ++row) {
        for (int32_t column = 0; column < 3; ++column) {
          d[row][column] =
              MeasureOf(frame::DifferenceOf(rows[row][x - 1 + column], centre, frame::kWideHueFold), measure);
        }
      }
      std::memset(pixel, ClassifyBlock(d, threshold), 3);
      ++classified;
    }
    cadence.AfterRow(y);
  }
  return true;
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

int64_t ExtractBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                          const Settings& settings, frame::RowCadence& cadence) {
  const int32_t threshold = settings.threshold;
  if (settings.measure == kDensity)
    return ClassifyAll(image, raster, threshold, cadence, DensityDifference());
  const Measure measure = settings.measure <= kValue ? static_cast<Measure>(settings.measure) : kValue;
  int64_t classified = 0;
  if (ClassifyAllByHsvRows(image, raster, threshold, cadence, measure, classified)) return classified;
  return ClassifyAll(image, raster, threshold, cadence, HsvDifference(measure));
}

}  // namespace edgeextract
