// despeckle's pixels: light background becomes pure white, dark clusters that
// fit in a 3 x 3 block are erased, and with the contrast option the remaining
// pixels become greys stretched from 4 .. background onto 0 .. 250.
#pragma once

#include <cstdint>

#include "despeckle_settings.h"
#include "frame/bordered_raster.h"
#include "frame/progress.h"

namespace despeckle {

// Border of 2: colour by edge repeat; the luminance border keeps 255, so that
// everything outside the picture counts as light.
frame::RasterLayout WorkingRasterLayout();

// The contrast factor: 25000 / (t - 4) when t > 4, else 25000.
uint32_t ContrastFactor(uint8_t background);

// The bytes of working rows the kernel needs beside the raster.
uint64_t ScratchBytesFor(const frame::DibImage& image);

// Decides every pixel from the luminance plane (the picture before the run)
// and writes the results into the raster's colour, with the row cadence after
// each row. scratch holds ScratchBytesFor(image) bytes. Returns the pixels
// whose neighbourhood was isolated.
int64_t Despeckle(const frame::DibImage& image, const frame::BorderedRaster& raster, const Settings& settings,
                  uint8_t* scratch, frame::RowCadence& cadence);

// Copies the picture's rows of the raster's colour back into the image.
void CopyRasterIntoImage(const frame::BorderedRaster& raster, const frame::DibImage& image);

}  // namespace despeckle
