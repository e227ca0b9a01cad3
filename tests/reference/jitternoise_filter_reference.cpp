// jitternoise's clusters and pixel hits, kept plain: the reference the
// shipped kernel is compared with.
#include "jitternoise_cluster.h"
#include "jitternoise_filter.h"

namespace jitternoise {

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
