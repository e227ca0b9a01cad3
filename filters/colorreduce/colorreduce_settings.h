// colorreduce's settings record, stored raw as "colorreduce.dat" (1044
// bytes): the palette of the last survey is kept between runs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour_survey.h"

namespace colorreduce {

enum Method : uint8_t {
  kSurveyAndReduce = 0,  // "使用頻度を調べて減色する"
  kReduceToStored = 1,   // "前回使った色で減色する"
  kWriteStored = 2,      // "前回使った色を書き出す"
};

#pragma pack(push, 1)
struct Settings {
  uint8_t noticePending;  // 1: the one-time notice is still to be shown
  uint8_t colours;        // N, 2 .. 250
  uint8_t method;
  uint8_t reserved3;
  uint32_t palette[colour_survey::kPaletteSlots];  // colour words
  uint8_t reserved[16];

  static constexpr const char* kFileStem = "colorreduce";
  // Without a file only these fields are set; the others keep what they held.
  void ApplyDefaults() {
    noticePending = 1;
    colours = 16;
    method = kSurveyAndReduce;
    palette[0] = colour_survey::kNoPaletteMark;
  }
  bool HasPalette() const { return palette[0] != colour_survey::kNoPaletteMark; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 1044, "colorreduce.dat holds 1044 bytes");
static_assert(offsetof(Settings, method) == 2 && offsetof(Settings, palette) == 4 &&
                  offsetof(Settings, reserved) == 1028,
              "colorreduce.dat field order");

Settings& CurrentSettings();

}  // namespace colorreduce
