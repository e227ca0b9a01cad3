// edgeextract's pixels: each pixel becomes black on a boundary, mid grey where
// only diagonal neighbours differ, and white elsewhere, from the differences
// between the pixel and the eight places of its 3 x 3 block.
#pragma once

#include <cstdint>

#include "edgeextract_settings.h"
#include "frame/bordered_raster.h"
#include "frame/progress.h"

namespace edgeextract {

constexpr uint8_t kBoundaryLevel = 0;
constexpr uint8_t kCornerLevel = 180;
constexpr uint8_t kPlainLevel = 255;

// Border of 2 without luminance: wrap-around with the seamless option, edge
// repeat without it.
frame::RasterLayout RasterLayoutFor(const Settings& settings);

// The differences of a pixel's block, rows y - 1, y, y + 1 and in each the
// columns x - 1, x, x + 1 (the centre, [1][1], is not looked at).
using BlockDifferences = int32_t[3][3];

// Black when a straight neighbour differs and so, on average, do the two
// corners beside it; else grey when any corner differs; else white. Every
// comparison with the threshold is strict.
uint8_t ClassifyBlock(const BlockDifferences& d, int32_t threshold);

// Bytes of the kernel's own rows, taken in the working block after the raster.
uint64_t ScratchBytesFor(const frame::DibImage& image);

// Classifies every pixel from the raster and writes the level into all three
// bytes of the image's pixel, with the row cadence after each row. scratch
// holds ScratchBytesFor(image) bytes. Returns the pixels classified.
int64_t ExtractBoundaries(const frame::DibImage& image, const frame::BorderedRaster& raster,
                          const Settings& settings, uint8_t* scratch, frame::RowCadence& cadence);

}  // namespace edgeextract
