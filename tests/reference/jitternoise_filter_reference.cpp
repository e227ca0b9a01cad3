// jitternoise's clusters and pixel hits, kept plain: the reference the
// shipped kernel is compared with.
#include "jitternoise_filter.h"

#include <algorithm>

namespace jitternoise {
namespace {

struct Point {
  int64_t x;
  int64_t y;
};

// The point at distance `reach` from the origin in the direction `degrees`
// (0 to the right, 90 towards higher rows), in hundredths truncated toward
// zero. 64-bit products keep huge pictures exact.
Point Displaced(Point origin, int32_t degrees, int32_t reach) {
  return Point{origin.x + int64_t{frame::IntSin(degrees + 90)} * reach / 100,
               origin.y + int64_t{frame::IntSin(degrees)} * reach / 100};
}

uint8_t AddClamped(uint8_t value, int32_t offset) {
  return static_cast<uint8_t>(std::clamp(int32_t{value} + offset, 0, 255));
}

// One cluster's offsets for blue, green and red, scaled by the strength.
struct ChannelOffsets {
  int32_t blue, green, red;
};

ChannelOffsets DrawOffsets(frame::RandomGenerator& generator, uint8_t strength) {
  const int32_t d0 = generator.DrawTimes(500) - 250;
  const int32_t d1 = d0 * (generator.DrawTimes(40) + 30) / 50;
  const int32_t d2 = d0 * (generator.DrawTimes(40) + 30) / 50;
  return ChannelOffsets{strength * d0 / 20, strength * d1 / 20, strength * d2 / 20};
}

}  // namespace

int32_t WrapPosition(int64_t position, int32_t n) {
  const int64_t r = position % n;
  return static_cast<int32_t>(r < 0 ? r + n : r);
}

void AddClusteredNoise(const frame::DibImage& image, const Settings& settings,
                       frame::RandomGenerator& generator, const AfterCluster& afterCluster) {
  const int32_t width = image.width;
  const int32_t height = image.height;
  if (width <= 0 || height <= 0) return;  // no pixel to hit
  const int32_t quarter = std::min(width, height) / 4;
  const uint64_t clustersPerSeed = settings.clustersPerSeed > 0 ? settings.clustersPerSeed : 0;

  for (int32_t a = 0; a < settings.seedPoints; ++a) {
    const Point seed{generator.DrawTimes(width - 1), generator.DrawTimes(height - 1)};
    for (int32_t b = 0; b < settings.clustersPerSeed; ++b) {
      const int32_t angle = generator.DrawTimes(360);
      const int32_t reach = generator.DrawTimes(quarter);
      const Point centre = Displaced(seed, angle, reach);
      const ChannelOffsets offsets = DrawOffsets(generator, settings.strength);

      for (int32_t c = 0; c < settings.pixelsPerCluster; ++c) {
        const int32_t pixelAngle = generator.DrawTimes(360);
        const int32_t t = generator.DrawTimes(4);
        const Point hit = Displaced(centre, pixelAngle, t * t / 4);
        uint8_t* pixel = image.Pixel(WrapPosition(hit.y, height), WrapPosition(hit.x, width));
        pixel[0] = AddClamped(pixel[0], offsets.blue);
        pixel[1] = AddClamped(pixel[1], offsets.green);
        pixel[2] = AddClamped(pixel[2], offsets.red);
      }
      if (!afterCluster(clustersPerSeed * static_cast<uint64_t>(a) + static_cast<uint64_t>(b))) return;
    }
  }
}

}  // namespace jitternoise
