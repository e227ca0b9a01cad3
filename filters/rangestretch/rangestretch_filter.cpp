// rangestretch's ranges and stretch.
#include "rangestretch_filter.h"

#include "colour_survey.h"
#include "frame/hsv.h"
#include "frame/win_api.h"

namespace rangestretch {
namespace {

void Include(ChannelRange& range, int32_t value) {
  if (value < range.minimum) range.minimum = value;
  if (value > range.maximum) range.maximum = value;
}

void Finish(ChannelRange& range, int32_t targetWidth) {
  range.range = range.maximum - range.minimum;
  if (range.range == 0) range.range = targetWidth + 1;
  range.middle = (range.maximum + range.minimum) / 2;
}

}  // namespace

Ranges RangesOfPalette(const uint32_t* palette, int32_t slots, uint8_t channelSet, int32_t targetWidth) {
  Ranges ranges;
  for (int32_t slot = 0; slot < slots; ++slot) {
    const uint32_t word = palette[slot];
    if (channelSet != kSaturationValue) {
      Include(ranges.channel[0], colour_survey::RedOf(word));
      Include(ranges.channel[1], colour_survey::GreenOf(word));
      Include(ranges.channel[2], colour_survey::BlueOf(word));
    } else {
      const frame::Hsv hsv = frame::RgbToHsv(word, word >> 8, word >> 16);
      Include(ranges.channel[0], hsv.s);
      Include(ranges.channel[1], hsv.v);
    }
  }
  for (ChannelRange& range : ranges.channel) Finish(range, targetWidth);
  return ranges;
}

uint8_t StretchValue(int32_t value, const ChannelRange& range, int32_t targetWidth) {
  const int32_t stretched = (value - range.middle) * (targetWidth + 1) / range.range + 127;
  if (stretched < 0) return 0;
  return static_cast<uint8_t>(stretched > 255 ? 255 : stretched);
}

void FormatRanges(const Ranges& ranges, uint8_t channelSet, char (&text)[256]) {
  const ChannelRange* c = ranges.channel;
  if (channelSet != kSaturationValue) {
    wsprintfA(text, "R %3d ～ %3d ( %3d )\nG %3d ～ %3d ( %3d )\nB %3d ～ %3d ( %3d )\n", c[0].minimum,
              c[0].maximum, c[0].range, c[1].minimum, c[1].maximum, c[1].range, c[2].minimum, c[2].maximum,
              c[2].range);
  } else {
    wsprintfA(text, "S %3d ～ %3d ( %3d )\nV %3d ～ %3d ( %3d )\n", c[0].minimum, c[0].maximum, c[0].range,
              c[1].minimum, c[1].maximum, c[1].range);
  }
}

void StretchPicture(const frame::DibImage& image, const Ranges& ranges, uint8_t channelSet,
                    int32_t targetWidth, HWND host, int32_t step, int32_t startPercent) {
  colour_survey::StepProgress progress(host, step, startPercent);
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      if (channelSet != kSaturationValue) {
        pixel[2] = StretchValue(pixel[2], ranges.channel[0], targetWidth);
        pixel[1] = StretchValue(pixel[1], ranges.channel[1], targetWidth);
        pixel[0] = StretchValue(pixel[0], ranges.channel[2], targetWidth);
      } else {
        const frame::Hsv hsv = frame::HsvOfBgr(pixel);
        frame::HsvToRgb(hsv.h, StretchValue(hsv.s, ranges.channel[0], targetWidth),
                        StretchValue(hsv.v, ranges.channel[1], targetWidth), &pixel[2], &pixel[1], &pixel[0]);
      }
    }
    progress.AfterRow(y);
  }
}

}  // namespace rangestretch
