// regionavg's pixel averages. Every place's HSV colour is worked out once
// per run (five rows kept at a time), not once for each block it is in.
#include "regionavg_filter.h"

#include <cstddef>
#include <memory>
#include <new>

#include "frame/hsv.h"

namespace regionavg {
namespace {

constexpr int32_t kReach = 2;  // the block is the pixel and 2 places on every side
constexpr int32_t kBlockRows = 2 * kReach + 1;

int32_t Absolute(int32_t value) {
  return value < 0 ? -value : value;
}

// The HSV colours of the raster rows y - 2 .. y + 2, each worked out once
// per run: a ring of five rows of W + 4 places, row r in slot (r + 2) mod 5.
class HsvRows {
 public:
  explicit HsvRows(const frame::BorderedRaster& raster)
      : raster_(raster),
        placesPerRow_(static_cast<std::size_t>(raster.width) + 2 * kReach),
        rows_(new (std::nothrow) frame::Hsv[kBlockRows * placesPerRow_]) {}
  bool ready() const { return rows_ != nullptr; }

  // Row r of the raster (from -2), converted.
  void Convert(int32_t r) {
    frame::Hsv* out = Row(r) - kReach;
    const uint8_t* place = raster_.Pixel(r, -kReach);
    for (std::size_t i = 0; i < placesPerRow_; ++i, place += 3) out[i] = frame::HsvOfBgr(place);
  }
  // Place (r, 0) of a converted row; x may run from -2 to W + 1.
  frame::Hsv* Row(int32_t r) const {
    return rows_.get() + static_cast<std::size_t>((r + kReach) % kBlockRows) * placesPerRow_ + kReach;
  }

 private:
  const frame::BorderedRaster& raster_;
  std::size_t placesPerRow_;
  std::unique_ptr<frame::Hsv[]> rows_;
};

// Whether a place takes part: (hue term + |dS| + |dV|) / 3 below the
// threshold, i.e. the undivided sum below 3T. The hue term is never
// negative, so places whose S and V differences alone reach 3T are out
// without it. The terms are frame::DifferenceOf's with the circular fold,
// written out here so that the division by a constant is inlined.
bool TakesPart(const frame::Hsv& place, const frame::Hsv& centre, int32_t threshold) {
  const int32_t limit = 3 * threshold;
  const int32_t saturationAndValue = Absolute(place.s - centre.s) + Absolute(place.v - centre.v);
  if (saturationAndValue >= limit) return false;
  int32_t distance = Absolute(place.h - centre.h);
  if (distance > frame::kCircularHueFold) distance = 2 * frame::kCircularHueFold - distance;
  const int32_t hue = distance * (place.s * place.v + centre.s * centre.v) / (frame::kCircularHueFold * 510);
  return hue + saturationAndValue < limit;
}

bool AverageOfSimilar(const frame::BorderedRaster& raster, const HsvRows& hsv, int32_t y, int32_t x,
                      int32_t threshold, uint8_t* average) {
  const frame::Hsv centre = hsv.Row(y)[x];
  uint32_t blue = 0, green = 0, red = 0, count = 0;
  for (int32_t dy = -kReach; dy <= kReach; ++dy) {
    const uint8_t* place = raster.Pixel(y + dy, x - kReach);
    const frame::Hsv* colour = hsv.Row(y + dy) + x - kReach;
    for (int32_t dx = -kReach; dx <= kReach; ++dx, place += 3, ++colour) {
      if (!TakesPart(*colour, centre, threshold)) continue;
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

// The plain form, for when the rows' memory cannot be had.
bool AverageOfSimilarPlain(const frame::BorderedRaster& raster, int32_t y, int32_t x,
                           const frame::Hsv& centre, int32_t threshold, uint8_t* average) {
  uint32_t blue = 0, green = 0, red = 0, count = 0;
  for (int32_t dy = -kReach; dy <= kReach; ++dy) {
    const uint8_t* place = raster.Pixel(y + dy, x - kReach);
    for (int32_t dx = -kReach; dx <= kReach; ++dx, place += 3) {
      if (!TakesPart(frame::HsvOfBgr(place), centre, threshold)) continue;
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

int64_t AverageWithinBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                                const Settings& settings, frame::RowCadence& cadence) {
  const int32_t threshold = settings.threshold;
  int64_t averaged = 0;
  HsvRows hsv(raster);
  if (hsv.ready() && image.height > 0) {
    for (int32_t r = -kReach; r < kReach; ++r) hsv.Convert(r);
  }
  for (int32_t y = 0; y < image.height; ++y) {
    if (hsv.ready()) hsv.Convert(y + kReach);
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t* pixel = image.Pixel(y, x);
      const bool changed =
          hsv.ready() ? AverageOfSimilar(raster, hsv, y, x, threshold, pixel)
                      : AverageOfSimilarPlain(raster, y, x, frame::HsvOfBgr(pixel), threshold, pixel);
      if (changed) ++averaged;
    }
    cadence.AfterRow(y);
  }
  return averaged;
}

}  // namespace regionavg
