// radialblur's sampling line. The line is symmetric about the pixel
// (truncation is symmetric about zero), so only k = 0 .. L are worked out.
#include "radialblur_filter.h"

namespace radialblur {

bool RadialLine(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                blur::SampleOffset* offsets) {
  // The vector from the pixel to the centre is dx columns and -dy rows.
  const int64_t dx = int64_t{settings.centerX} - x;
  const int64_t dy = int64_t{settings.centerY} + y - height;
  const int32_t length = settings.length;
  int64_t q[blur::kMaxLength + 1];
  if (dx * dx > dy * dy) {
    blur::TruncatedMultiples(dy, dx, length, q);
    for (int32_t k = 0; k <= length; ++k) {
      offsets[length + k] = {static_cast<int32_t>(-q[k]), k};
      offsets[length - k] = {static_cast<int32_t>(q[k]), -k};
    }
    return true;
  }
  if (dy == 0) return false;  // the centre pixel
  blur::TruncatedMultiples(dx, dy, length, q);
  for (int32_t k = 0; k <= length; ++k) {
    offsets[length + k] = {-k, static_cast<int32_t>(q[k])};
    offsets[length - k] = {k, static_cast<int32_t>(-q[k])};
  }
  return true;
}

}  // namespace radialblur
