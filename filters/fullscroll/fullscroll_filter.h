// fullscroll's work: a cyclic shift of the colour, the alpha plane and the
// mask plane together, so that transparency and protection stay with the
// picture. Each layer is read completely before any row of it is written,
// so hosts whose read and write tables share storage give the same result.
#pragma once

#include <cstdint>

#include "frame/line_access.h"
#include "fullscroll_settings.h"

namespace fullscroll {

// The amount as a shift 0..size: the remainder of amount / size, with the
// size added to a negative one (size itself then acts as 0).
int32_t ShiftFor(int32_t amount, int32_t size);

// Working memory: a work image of 3 x W x H bytes (later the shifted planes),
// a line of 3 x W, the saved mask of W x H.
uint64_t WorkingBytes(int32_t width, int32_t height);

// Steps 3 to 8 of a run: save and clear the mask, shift the colour, then the
// alpha plane, put the saved mask back, and shift the mask read again.
void ScrollAllLayers(const frame::LineAccess& lines, const Settings& settings, uint8_t* block, HWND host);

}  // namespace fullscroll
