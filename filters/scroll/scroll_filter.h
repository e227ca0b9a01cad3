// scroll's shift: the picture moved right and down with wrap-around, so that
// what leaves at one edge comes back at the opposite edge.
#pragma once

#include <cstdint>

#include "frame/host_interface.h"

namespace scroll {

// amount mod size in 0 .. size - 1 (0 for an empty side: nothing to move).
int32_t ReduceAmount(int32_t amount, int32_t size);

// Fills block (H x S bytes) with the shifted picture: working row r, column
// (c + fx) mod W receives image pixel ((r + fy) mod H, c), each row in two
// block copies. The padding of every row is the image's own, so a shift by
// nothing gives back the very bytes.
void BuildShifted(const frame::DibImage& image, uint8_t* block, int32_t fx, int32_t fy);

}  // namespace scroll
