// diffuseblur's pixels: each becomes the mean of itself and one random
// neighbour of the picture as it was before the run, one or two pixels away
// both across and up or down, never in its own row or column.
#pragma once

#include <cstdint>

#include "diffuseblur_settings.h"
#include "frame/bordered_raster.h"
#include "frame/progress.h"
#include "frame/random.h"

namespace diffuseblur {

// Border of 2 without luminance: edge repeat, or wrap-around with the
// seamless option.
frame::RasterLayout RasterLayoutFor(const Settings& settings);

// The neighbour offset of one draw: r = draw x 50 gives -2 for 0 .. 9, -1 for
// 10 .. 29, +1 for 30 .. 49 and +2 for 50 (the draw 32767 alone).
int32_t NeighbourOffset(int32_t draw);

// Averages every pixel with its neighbour (row offset drawn first, then the
// column offset) from the raster into the image, with the row cadence after
// each row. Returns the pixels processed.
int64_t ApplyDiffusion(const frame::DibImage& image, const frame::BorderedRaster& raster,
                       frame::RandomGenerator& generator, frame::RowCadence& cadence);

}  // namespace diffuseblur
