// jitternoise's noise: A seed points at random places; around each, B
// clusters at a random distance (up to a quarter of the shorter side) and
// direction; each cluster adds one random brightness offset, nearly the same
// for the three channels, to C pixels within a few pixels of its centre.
// Positions wrap around the edges, so the noise has no seams.
#pragma once

#include <cstdint>
#include <functional>

#include "frame/host_interface.h"
#include "frame/random.h"
#include "jitternoise_settings.h"

namespace jitternoise {

// Called after every cluster with its running number B x a + b; returning
// false ends the run there.
using AfterCluster = std::function<bool(uint64_t cluster)>;

// Adds the noise to the image in place, drawing from the generator in this
// order: x0, y0 per seed point; angle, reach, d0, the factors of d1 and d2 per
// cluster; angle and spread per pixel. Every addition is clamped to 0 .. 255
// at once, so offsets that hit one pixel twice accumulate with clamping.
void AddClusteredNoise(const frame::DibImage& image, const Settings& settings,
                       frame::RandomGenerator& generator, const AfterCluster& afterCluster);

// a mod n in 0 .. n - 1 (n > 0): one wrap for positions just outside the
// image, and as many as needed on pictures too small for one.
inline int32_t WrapPosition(int64_t position, int32_t n) {
  const int64_t r = position % n;
  return static_cast<int32_t>(r < 0 ? r + n : r);
}

}  // namespace jitternoise
