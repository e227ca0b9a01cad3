// spinblur's plain sampling line: one division per sample. The reference
// for the incremental line in filters/spinblur/.
#include "spinblur_filter.h"

namespace spinblur {

bool TangentLine(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                 blur::SampleOffset* offsets) {
  // The vector from the pixel to the centre is dx columns and -dy rows; the
  // line runs along dy columns and dx rows.
  const int64_t dx = int64_t{settings.centerX} - x;
  const int64_t dy = int64_t{settings.centerY} + y - height + 1;
  const int64_t absDx = dx < 0 ? -dx : dx;
  const int64_t absDy = dy < 0 ? -dy : dy;
  int64_t steepness = absDy;
  int64_t rowStep = dy;
  if (absDx != 0) {
    const int64_t ratio = 100 * absDy / absDx;
    if (ratio >= 96 && ratio <= 104) {
      rowStep = dx * dy > 0 ? dx : -dx;  // dy's sign, dx's size
      steepness = rowStep;
    }
  }
  const int32_t length = settings.length;
  if (steepness > absDx) {
    for (int32_t k = -length; k <= length; ++k) {
      const int64_t q = k * dx / rowStep;
      offsets[k + length] = {static_cast<int32_t>(-q), -k};
    }
    return true;
  }
  if (dx == 0) return false;  // the centre pixel
  for (int32_t k = -length; k <= length; ++k) {
    const int64_t q = k * rowStep / dx;
    offsets[k + length] = {-k, static_cast<int32_t>(-q)};
  }
  return true;
}

}  // namespace spinblur
