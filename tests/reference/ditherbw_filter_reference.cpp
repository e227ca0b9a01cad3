// ditherbw's two passes, kept plain: the reference the shipped kernel is
// compared with.
#include "ditherbw_filter.h"

#include "frame/progress.h"

namespace ditherbw {

TenthCadence::TenthCadence(HWND host, int32_t height)
    : host_(host), step_(height / 10 > 0 ? height / 10 : 1) {}

void TenthCadence::AfterRow(int32_t row) {
  if (row % step_ != 0) return;
  frame::SendProgress(host_, frame::PROGRESS_PERCENT, percent_);
  percent_ += 5;
}

ChannelLevels::ChannelLevels(uint8_t darkest, uint8_t lightest)
    : darkest_(darkest), lightest_(lightest), step_(darkest == lightest ? 1 : (lightest - darkest) / 17) {}

int32_t ChannelLevels::Steps(uint8_t value) const {
  const int32_t above = value - darkest_;
  if (step_ > 0) return above / step_;
  // A range of 1 to 16 is too narrow for whole steps: spread it over the
  // same 0 .. 17 as a usual range, so that its lightest value stays lightest.
  return above * 17 / (lightest_ - darkest_);
}

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
