// jitternoise's clusters and pixel hits. A pixel hit lies at most four
// pixels from its cluster's centre: its displacement for each of the 361
// angles and 5 spreads a draw can give is tabled once per run, and the
// centre is wrapped into the image once per cluster, so a hit costs two
// draws, a table look-up and at most a step back into the image.
#include "jitternoise_filter.h"

#include <algorithm>

#include "jitternoise_cluster.h"

namespace jitternoise {
namespace {

constexpr int32_t kHitAngles = 361;  // draw x 360: 0 .. 360
constexpr int32_t kHitSpreads = 5;   // draw x 4: 0 .. 4

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
