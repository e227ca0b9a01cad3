// jitternoise's geometry and draws of a cluster, shared by the pass and its
// plain reference.
#pragma once

#include <algorithm>
#include <cstdint>

#include "frame/random.h"

namespace jitternoise {

struct Point {
  int64_t x;
  int64_t y;
};

// The point at distance `reach` from the origin in the direction `degrees`
// (0 to the right, 90 towards higher rows), in hundredths truncated toward
// zero. 64-bit products keep huge pictures exact.
inline Point Displaced(Point origin, int32_t degrees, int32_t reach) {
  return Point{origin.x + int64_t{frame::IntSin(degrees + 90)} * reach / 100,
               origin.y + int64_t{frame::IntSin(degrees)} * reach / 100};
}

inline uint8_t AddClamped(uint8_t value, int32_t offset) {
  return static_cast<uint8_t>(std::clamp(int32_t{value} + offset, 0, 255));
}

// One cluster's offsets for blue, green and red, scaled by the strength.
struct ChannelOffsets {
  int32_t blue, green, red;
};

inline ChannelOffsets DrawOffsets(frame::RandomGenerator& generator, uint8_t strength) {
  const int32_t d0 = generator.DrawTimes(500) - 250;
  const int32_t d1 = d0 * (generator.DrawTimes(40) + 30) / 50;
  const int32_t d2 = d0 * (generator.DrawTimes(40) + 30) / 50;
  return ChannelOffsets{strength * d0 / 20, strength * d1 / 20, strength * d2 / 20};
}

}  // namespace jitternoise
