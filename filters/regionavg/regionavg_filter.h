// regionavg's pixels: each pixel becomes the mean of the places of its 5 x 5
// block whose colour differs from its own by less than the threshold, so that
// the image is smoothed within regions but not across their boundaries.
#pragma once

#include <cstdint>

#include "frame/bordered_raster.h"
#include "frame/progress.h"
#include "regionavg_settings.h"

namespace regionavg {

// Border of 2 without luminance: wrap-around with the seamless option, edge
// repeat without it.
frame::RasterLayout RasterLayoutFor(const Settings& settings);

// Averages every pixel from the raster into the image, with the row cadence
// after each row. Returns the pixels averaged (those with at least one place
// taking part).
int64_t AverageWithinBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                                const Settings& settings, frame::RowCadence& cadence);

}  // namespace regionavg
