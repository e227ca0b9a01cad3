// radialblur's plain sampling line: one division per sample. The reference
// for the incremental line in filters/radialblur/.
#include "radialblur_filter.h"

namespace radialblur {

bool RadialLine(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                blur::SampleOffset* offsets) {
  // The vector from the pixel to the centre is dx columns and -dy rows.
  const int64_t dx = int64_t{settings.centerX} - x;
  const int64_t dy = int64_t{settings.centerY} + y - height;
  const int32_t length = settings.length;
  if (dx * dx > dy * dy) {
    for (int32_t k = -length; k <= length; ++k) {
      const int64_t q = k * dy / dx;
      offsets[k + length] = {static_cast<int32_t>(-q), k};
    }
    return true;
  }
  if (dy == 0) return false;  // the centre pixel
  for (int32_t k = -length; k <= length; ++k) {
    const int64_t q = k * dx / dy;
    offsets[k + length] = {-k, static_cast<int32_t>(q)};
  }
  return true;
}

}  // namespace radialblur
