// ditherbw's two passes, kept plain: the reference the shipped kernel is
// compared with.
#include "ditherbw_filter.h"

namespace ditherbw {

ImageLevels SurveyLevels(const frame::DibImage& image, TenthCadence& cadence) {
  ImageLevels levels = {{255, 255, 255}, {0, 0, 0}};
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      for (int channel = 0; channel < 3; ++channel) {
        if (pixel[channel] < levels.darkest[channel]) levels.darkest[channel] = pixel[channel];
        if (pixel[channel] > levels.lightest[channel]) levels.lightest[channel] = pixel[channel];
      }
    }
    cadence.AfterRow(y);
  }
  return levels;
}

void Dither(const frame::DibImage& image, const ImageLevels& levels, const Settings& settings,
            TenthCadence& cadence) {
  const ChannelLevels channels[3] = {ChannelLevels(levels.darkest[0], levels.lightest[0]),
                                     ChannelLevels(levels.darkest[1], levels.lightest[1]),
                                     ChannelLevels(levels.darkest[2], levels.lightest[2])};
  const int32_t cellShift = settings.twice != 0 ? 1 : 0;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* patternRow = settings.inUse.cells + kPatternSide * ((y >> cellShift) % kPatternSide);
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      const uint8_t threshold = patternRow[(x >> cellShift) % kPatternSide];
      for (int channel = 0; channel < 3; ++channel)
        pixel[channel] = channels[channel].Dithered(pixel[channel], threshold);
    }
    cadence.AfterRow(y);
  }
}

}  // namespace ditherbw
