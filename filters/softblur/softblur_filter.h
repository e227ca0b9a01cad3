// softblur's pixels: every colour component becomes the weighted mean of the
// same component over the (2R + 1) x (2R + 1) window centred on the pixel,
// with the profile table's entries as weights.
#pragma once

#include <cstdint>

#include "frame/host_interface.h"
#include "wide_raster.h"

namespace softblur {

// The sum of all table entries (32-bit unsigned).
uint32_t WeightSum(const uint16_t* table, int32_t radius);

// Blurs image row y from the raster (border R = radius); the row's padding
// bytes are left alone.
void BlurRow(const frame::DibImage& image, const blur::WideRaster& raster, const uint16_t* table,
             int32_t radius, uint32_t weightSum, int32_t y);

}  // namespace softblur
