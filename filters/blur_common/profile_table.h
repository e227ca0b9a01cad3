// The table of 16-bit blur weights that fall off with the distance from its
// centre, and the integer square root it is built with.
#pragma once

#include <cstdint>

namespace blur {

// Integer square root rounded up from m to m + 1 when n >= m^2 + m
// (m = floor(sqrt(n))). RoundedSqrt(0) is 1; negative numbers give 0.
int32_t RoundedSqrt(int32_t n);

// The largest weight of a table, 255 x 32.
constexpr int32_t kMaxWeight = 8160;

// Shapes of the fall-off: 0 makes every weight 0, 1 .. 3 fall steeply near
// the centre, 4 falls linearly, 5 .. 7 keep a flat top. Other indices give a
// table of zeros like shape 0.
constexpr int32_t kLinearShape = 4;

// Entries of the (2a + 1) x (2a + 1) table, and its size in bytes.
inline int64_t ProfileTableEntries(int32_t a) {
  return (2 * int64_t{a} + 1) * (2 * int64_t{a} + 1);
}
inline int64_t ProfileTableBytes(int32_t a) {
  return 2 * ProfileTableEntries(a);
}

// Fills the table for half-width a (0 .. 255) row by row: entry (r, c)
// belongs to the offset (r - a, c - a) from the centre.
void BuildProfileTable(uint16_t* table, int32_t a, int32_t shape);

}  // namespace blur
