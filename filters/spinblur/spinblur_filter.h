// spinblur's line: through the pixel at right angles to the line towards the
// centre, which lies at column centerX and row index H - 1 - centerY
// (centerY 0 is the top row). Directions within about 4 % of a diagonal are
// snapped to the exact diagonal.
#pragma once

#include <cstdint>

#include "line_blur.h"

namespace spinblur {

// The line's direction, or false for the centre pixel itself. Products are
// taken in 64 bits, so far centres on very large pictures give the same
// lines as small ones would.
bool TangentDirection(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                      blur::LineDirection* line);

// The same line as its 2L + 1 samples for k = -L .. L.
bool TangentLine(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                 blur::SampleOffset* offsets);

}  // namespace spinblur
