// spinblur's line as its 2L + 1 samples, made from its direction.
#include "spinblur_filter.h"

namespace spinblur {

bool TangentLine(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                 blur::SampleOffset* offsets) {
  blur::LineDirection line;
  if (!TangentDirection(settings, height, y, x, &line)) return false;
  blur::LineSamples(line, settings.length, offsets);
  return true;
}

}  // namespace spinblur
