// colorreduce's pixels: each pixel takes the palette colour nearest to it.
#pragma once

#include <cstdint>

#include "colour_survey.h"
#include "frame/host_interface.h"

namespace colorreduce {

// The slot among 0 .. slots - 1 a colour takes: the first slot that agrees
// with it in the top five bits of every channel, else the nearest by hue term
// (fold 180) + saturation difference + value difference, the earlier slot on
// equal distances.
int32_t NearestSlot(uint32_t colour, const uint32_t* palette, int32_t slots);

// Reduces the picture row by row with progress after the rows that are
// multiples of step (from startPercent by one) and an ESC poll after each
// row. Returns false when the user stopped it.
bool ReduceToPalette(const frame::DibImage& image, const uint32_t* palette, int32_t slots, HWND host,
                     int32_t step, int32_t startPercent);

}  // namespace colorreduce
