// edgeblur's pixels: a pixel on the bright side of a luminance boundary
// (its darker side at least `threshold` levels darker) takes the weighted
// mean of a short stroke of its 5 x 5 window; the stroke is one of three
// kernels, turned into the pixel's orientation. Other pixels keep their colour.
#pragma once

#include <cstdint>

#include "edgeblur_settings.h"
#include "frame/bordered_raster.h"
#include "frame/progress.h"

namespace edgeblur {

// Border of 2 with luminance (initial 255), colour and luminance bordered by
// edge repeat, or by wrap-around with the seamless option.
frame::RasterLayout RasterLayoutFor(const Settings& settings);

// The new colour of image pixel (y, x) in blue, green, red, or false when
// the pixel is not on a boundary.
bool BlurredPixel(const frame::BorderedRaster& raster, int32_t y, int32_t x, uint8_t threshold,
                  uint8_t* colour);

// Decides every pixel from the raster and writes the blurred ones into the
// image, with the row cadence after each row. Returns the pixels blurred.
int64_t ApplyEdgeBlur(const frame::DibImage& image, const frame::BorderedRaster& raster,
                      const Settings& settings, frame::RowCadence& cadence);

}  // namespace edgeblur
