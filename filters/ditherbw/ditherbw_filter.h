// ditherbw's pixels: every channel is reduced to the darkest and the lightest
// value it takes in the image, by ordered dithering with a 4 x 4 pattern.
#pragma once

#include <cstdint>

#include "ditherbw_settings.h"
#include "frame/host_interface.h"

namespace ditherbw {

// PROGRESS_PERCENT after each row y that is a multiple of H / 10, 5 more each
// time, continuing from one pass to the next. Pictures of fewer than 10 rows
// report after every row.
class TenthCadence {
 public:
  TenthCadence(HWND host, int32_t height);
  void AfterRow(int32_t row);

 private:
  HWND host_;
  int32_t step_;
  int32_t percent_ = 0;
};

// The two levels of one channel and how a value is placed between them.
class ChannelLevels {
 public:
  ChannelLevels(uint8_t darkest, uint8_t lightest);
  // How far v stands above the darkest, in 0 .. 17 steps for a usual range.
  int32_t Steps(uint8_t value) const;
  uint8_t Dithered(uint8_t value, uint8_t threshold) const {
    return Steps(value) > threshold ? lightest_ : darkest_;
  }

 private:
  uint8_t darkest_;
  uint8_t lightest_;
  int32_t step_;  // (lightest - darkest) / 17, or 0 for a range of 1 to 16
};

struct ImageLevels {
  uint8_t darkest[3];  // blue, green, red
  uint8_t lightest[3];
};

// The first pass: each channel's smallest and largest value over the image.
ImageLevels SurveyLevels(const frame::DibImage& image, TenthCadence& cadence);

// The second pass, in place.
void Dither(const frame::DibImage& image, const ImageLevels& levels, const Settings& settings,
            TenthCadence& cadence);

}  // namespace ditherbw
