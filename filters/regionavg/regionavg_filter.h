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

// Bytes of the kernel's own rows, taken in the working block after the raster.
uint64_t ScratchBytesFor(const frame::DibImage& image);

// Averages every pixel from the raster into the image, with the row cadence
// after each row. scratch holds ScratchBytesFor(image) bytes. Returns the
// pixels averaged (those with at least one place taking part).
int64_t AverageWithinBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                                const Settings& settings, uint8_t* scratch, frame::RowCadence& cadence);

}  // namespace regionavg
