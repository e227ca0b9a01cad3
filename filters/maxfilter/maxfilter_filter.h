// maxfilter's pixels: every pixel whose luminance lies in lower .. upper takes
// the colour of the brightest place of its 3 x 3 neighbourhood, when that
// place is brighter than the pixel itself.
#pragma once

#include <cstdint>

#include "frame/bordered_raster.h"
#include "frame/progress.h"
#include "maxfilter_settings.h"

namespace maxfilter {

// Border of 1 with luminance (neutral 0, which no search can choose): colour
// sides always wrap around; with the seamless option the border rows and the
// luminance border wrap around too.
frame::RasterLayout RasterLayoutFor(const Settings& settings);

// Decides every pixel from the raster and writes the changed ones into the
// image, with the row cadence after each row. Returns the pixels changed.
int64_t ApplyMaximum(const frame::DibImage& image, const frame::BorderedRaster& raster,
                     const Settings& settings, frame::RowCadence& cadence);

}  // namespace maxfilter
