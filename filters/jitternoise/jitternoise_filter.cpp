// jitternoise's clusters and pixel hits. A pixel hit lies at most four
// pixels from its cluster's centre: its displacement for each of the 361
// angles and 5 spreads a draw can give is tabled once per run, and the
// centre is wrapped into the image once per cluster, so a hit costs two
// draws, a table look-up and at most a step back into the image.
#include "jitternoise_filter.h"

#include <algorithm>

namespace jitternoise {
namespace {

constexpr int32_t kHitAngles = 361;  // draw x 360: 0 .. 360
constexpr int32_t kHitSpreads = 5;   // draw x 4: 0 .. 4

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

struct HitOffset {
  int8_t dx, dy;
};

// A hit's displacement from its centre: Displaced(centre, angle, t x t / 4)
// less the centre, which depends on angle and t alone (at most 4 across).
struct HitOffsetTable {
  HitOffset offsets[kHitAngles][kHitSpreads];

  HitOffsetTable() {
    for (int32_t angle = 0; angle < kHitAngles; ++angle) {
      for (int32_t t = 0; t < kHitSpreads; ++t) {
        const Point hit = Displaced(Point{0, 0}, angle, t * t / 4);
        offsets[angle][t] = HitOffset{static_cast<int8_t>(hit.x), static_cast<int8_t>(hit.y)};
      }
    }
  }
};

// position mod n for a position within a few sizes of 0 .. n - 1.
int32_t StepIntoRange(int32_t position, int32_t n) {
  while (position < 0) position += n;
  while (position >= n) position -= n;
  return position;
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
  static const HitOffsetTable hitTable;

  for (int32_t a = 0; a < settings.seedPoints; ++a) {
    const Point seed{generator.DrawTimes(width - 1), generator.DrawTimes(height - 1)};
    for (int32_t b = 0; b < settings.clustersPerSeed; ++b) {
      const int32_t angle = generator.DrawTimes(360);
      const int32_t reach = generator.DrawTimes(quarter);
      const Point centre = Displaced(seed, angle, reach);
      const int32_t centreX = WrapPosition(centre.x, width), centreY = WrapPosition(centre.y, height);
      const ChannelOffsets offsets = DrawOffsets(generator, settings.strength);

      for (int32_t c = 0; c < settings.pixelsPerCluster; ++c) {
        const int32_t pixelAngle = generator.DrawTimes(360);
        const int32_t t = generator.DrawTimes(4);
        const HitOffset hit = hitTable.offsets[pixelAngle][t];
        uint8_t* pixel =
            image.Pixel(StepIntoRange(centreY + hit.dy, height), StepIntoRange(centreX + hit.dx, width));
        pixel[0] = AddClamped(pixel[0], offsets.blue);
        pixel[1] = AddClamped(pixel[1], offsets.green);
        pixel[2] = AddClamped(pixel[2], offsets.red);
      }
      if (!afterCluster(clustersPerSeed * static_cast<uint64_t>(a) + static_cast<uint64_t>(b))) return;
    }
  }
}

}  // namespace jitternoise
