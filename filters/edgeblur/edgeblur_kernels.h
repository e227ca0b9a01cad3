// edgeblur's three kernels in their canonical orientation, shared by the
// pixel-by-pixel decision and the sixteen-pixel one.
#pragma once

#include <cstdint>

namespace edgeblur {

// Kernels in their canonical orientation (the bright side left, above and
// towards the lower left corner): [dy + 2][dx + 2], dy = -1 the row with the
// next lower index.
struct Kernel {
  uint8_t weight[5][5];
  uint32_t sum;
};
inline constexpr Kernel kKernel1 = {{{0, 6, 1, 0, 0},  //
                                     {0, 0, 6, 0, 0},
                                     {0, 0, 30, 6, 0},
                                     {0, 0, 0, 6, 0},
                                     {0, 0, 0, 6, 1}},
                                    62};
inline constexpr Kernel kKernel2 = {{{0, 4, 1, 0, 0},  //
                                     {0, 0, 4, 0, 0},
                                     {0, 0, 30, 4, 1},
                                     {0, 0, 0, 0, 4},
                                     {0, 0, 0, 0, 0}},
                                    48};
inline constexpr Kernel kKernel3 = {{{0, 0, 15, 1, 0},  //
                                     {0, 0, 0, 3, 0},
                                     {0, 0, 90, 3, 0},
                                     {0, 0, 0, 3, 0},
                                     {0, 0, 0, 8, 1}},
                                    124};

}  // namespace edgeblur
