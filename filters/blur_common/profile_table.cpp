// Building the profile table of blur weights.
#include "profile_table.h"

namespace blur {

int32_t RoundedSqrt(int32_t n) {
  int64_t lo = 0, hi = 46340, m = 0;
  for (;;) {
    if (n - m * m < 0) {
      hi = m;
    } else {
      lo = m;
    }
    const int64_t mid = (lo + hi) / 2;
    if (mid == m) break;
    m = mid;
  }
  return static_cast<int32_t>(n >= (m * m + (m + 1) * (m + 1)) / 2 ? m + 1 : m);
}

namespace {

// Distances are counted in units of which 8192 make a + 1 pixels.
constexpr int64_t kUnitsPerRadius = 8192;
// Beyond this squared distance (255 x 2^18) every weight is 0.
constexpr int64_t kFarthestSquare = 66846720;

// The arcs of shapes 1 .. 3 and 5 .. 7: centre (C, C), squared radius Q, and
// whether the weight lies below (-1) or above (+1) the centre.
struct Arc {
  int64_t centre;
  int64_t squaredRadius;
  int64_t sign;
};
constexpr Arc kArcs[8] = {
    {0, 0, 0},
    {8192, 67108864, -1},
    {10912, 126157824, -1},
    {20672, 583705600, -1},
    {0, 0, 0},  // shape 4 is the straight line
    {-12480, 583705600, +1},
    {-2720, 126157824, +1},
    {0, 67108864, +1},
};

int64_t WeightAt(int64_t distance, int32_t shape) {
  if (shape == kLinearShape) return kMaxWeight - distance;
  const Arc& arc = kArcs[shape];
  const int64_t offset = distance - arc.centre;
  int64_t rest = arc.squaredRadius - offset * offset;
  if (rest < 0) rest = 0;
  return arc.centre + arc.sign * RoundedSqrt(static_cast<int32_t>(rest));
}

uint16_t ClampedWeight(int64_t weight) {
  if (weight < 0) return 0;
  if (weight > kMaxWeight) return kMaxWeight;
  return static_cast<uint16_t>(weight);
}

}  // namespace

void BuildProfileTable(uint16_t* table, int32_t a, int32_t shape) {
  const int64_t side = 2 * int64_t{a} + 1;
  const bool knownShape = shape >= 1 && shape <= 7;
  for (int64_t r = 0; r < side; ++r) {
    const int64_t rowUnits = kUnitsPerRadius * (r > a ? r - a : a - r) / (a + 1);
    for (int64_t c = 0; c < side; ++c) {
      const int64_t columnUnits = kUnitsPerRadius * (c > a ? c - a : a - c) / (a + 1);
      const int64_t square = rowUnits * rowUnits + columnUnits * columnUnits;
      uint16_t weight = 0;
      if (knownShape && square <= kFarthestSquare) {
        weight = ClampedWeight(WeightAt(RoundedSqrt(static_cast<int32_t>(square)), shape));
      }
      table[r * side + c] = weight;
    }
  }
}

}  // namespace blur
