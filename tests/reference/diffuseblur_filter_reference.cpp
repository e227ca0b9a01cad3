// diffuseblur's neighbour choice and mean, kept plain: the reference the
// shipped kernel is compared with.
#include "diffuseblur_filter.h"

namespace diffuseblur {

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  const frame::BorderFill fill =
      settings.seamless != 0 ? frame::BorderFill::WrapAround : frame::BorderFill::EdgeRepeat;
  frame::RasterLayout layout;
  layout.border = 2;
  layout.keepLuminance = false;
  layout.colourSides = fill;
  layout.colourRows = fill;
  return layout;
}

int32_t NeighbourOffset(int32_t draw) {
  const int32_t r = frame::ScaleDraw(draw, 50);
  if (r < 10) return -2;
  if (r < 30) return -1;
  if (r < 50) return 1;
  return 2;
}

int64_t ApplyDiffusion(const frame::DibImage& image, const frame::BorderedRaster& raster,
                       frame::RandomGenerator& generator, frame::RowCadence& cadence) {
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* target = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, target += 3) {
      const int32_t dy = NeighbourOffset(generator.Draw());
      const int32_t dx = NeighbourOffset(generator.Draw());
      const uint8_t* own = raster.Pixel(y, x);
      const uint8_t* neighbour = raster.Pixel(y + dy, x + dx);
      for (int channel = 0; channel < 3; ++channel) {
        target[channel] = static_cast<uint8_t>((own[channel] + neighbour[channel]) / 2);
      }
      ++processed;
    }
    cadence.AfterRow(y);
  }
  return processed;
}

}  // namespace diffuseblur
