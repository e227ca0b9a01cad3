// rangestretch's settings record, stored raw as "rangestretch.dat" (1048
// bytes): the palette of the last survey is kept between runs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour_survey.h"

namespace rangestretch {

enum Method : uint8_t {
  kSurveyAndStretch = 0,  // "使用頻度を調べて処理する"
  kStretchByStored = 1,   // "前回使った色で処理する"
  kWriteStored = 2,       // "前回使った色を書き出す"
};

enum ChannelSet : uint8_t {
  kSaturationValue = 0,  // "S,V"
  kRedGreenBlue = 1,     // "R,G,B"
};

#pragma pack(push, 1)
struct Settings {
  uint8_t noticePending;  // 1: the one-time notice is still to be shown
  uint8_t colours;        // N, the palette slots surveyed and used
  uint8_t method;
  uint8_t reserved3;
  uint32_t palette[colour_survey::kPaletteSlots];
  uint8_t reserved1028[12];
  uint16_t targetWidth;  // W_t, 1 .. 500; 255 spans the whole scale
  uint8_t channelSet;
  uint8_t showResult;  // "色調査結果の表示"
  uint8_t reserved1044[4];

  static constexpr const char* kFileStem = "rangestretch";
  // Without a file only these fields are set; the others keep what they held.
  void ApplyDefaults() {
    noticePending = 1;
    colours = 16;
    method = kSurveyAndStretch;
    palette[0] = colour_survey::kNoPaletteMark;
    targetWidth = 255;
    channelSet = kRedGreenBlue;
    showResult = 0;
  }
  bool HasPalette() const { return palette[0] != colour_survey::kNoPaletteMark; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 1048, "rangestretch.dat holds 1048 bytes");
static_assert(offsetof(Settings, palette) == 4 && offsetof(Settings, targetWidth) == 1040 &&
                  offsetof(Settings, channelSet) == 1042 && offsetof(Settings, showResult) == 1043,
              "rangestretch.dat field order");

Settings& CurrentSettings();

}  // namespace rangestretch
