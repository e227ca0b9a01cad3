// radialblur's line as its 2L + 1 samples, made from its direction.
#include "radialblur_filter.h"

namespace radialblur {

bool RadialLine(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                blur::SampleOffset* offsets) {
  blur::LineDirection line;
  if (!RadialDirection(settings, height, y, x, &line)) return false;
  blur::LineSamples(line, settings.length, offsets);
  return true;
}

}  // namespace radialblur
