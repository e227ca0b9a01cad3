// radialblur's line: through the pixel towards the centre, which lies at
// column centerX and row index H - centerY (centerY 1 is the top row).
#pragma once

#include <cstdint>

#include "line_blur.h"

namespace radialblur {

// Along the columns (k columns across, -(k dy) / dx rows) when the line is
// nearer the horizontal, else along the rows (-k rows, (k dx) / dy
// columns); false for the centre pixel itself. Products are taken in 64 bits, so far centres on very large
// pictures give the same lines as small ones would.
bool RadialDirection(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                     blur::LineDirection* line);

// The same line as its 2L + 1 samples for k = -L .. L.
bool RadialLine(const blur::LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                blur::SampleOffset* offsets);

}  // namespace radialblur
