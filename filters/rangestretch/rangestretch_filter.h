// rangestretch's pixels: the range the palette's colours span, per channel,
// is mapped linearly onto a range of the target width centred on 127.
#pragma once

#include <cstdint>

#include "frame/host_interface.h"
#include "rangestretch_settings.h"

namespace rangestretch {

struct ChannelRange {
  int32_t minimum = 255;
  int32_t maximum = 0;
  int32_t range = 0;  // maximum - minimum, or W_t + 1 when that is 0
  int32_t middle = 0;
};

// R, G, B (or S, V and an unused third) over palette slots 0 .. slots - 1.
struct Ranges {
  ChannelRange channel[3];
};
Ranges RangesOfPalette(const uint32_t* palette, int32_t slots, uint8_t channelSet, int32_t targetWidth);

// (v - middle) x (W_t + 1) / range + 127, truncated toward zero, held to 0 .. 255.
uint8_t StretchValue(int32_t value, const ChannelRange& range, int32_t targetWidth);

// The survey-result text (code page 932), formatted into a 256-byte buffer.
void FormatRanges(const Ranges& ranges, uint8_t channelSet, char (&text)[256]);

// Stretches every pixel, progress after rows that are multiples of step.
void StretchPicture(const frame::DibImage& image, const Ranges& ranges, uint8_t channelSet,
                    int32_t targetWidth, HWND host, int32_t step, int32_t startPercent);

}  // namespace rangestretch
