// despeckle's settings record, stored raw as "despeckle.dat" (2 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace despeckle {

#pragma pack(push, 1)
struct Settings {
  uint8_t background;  // t: luminance above t is background, below t is dark
  uint8_t contrast;    // "コントラストを調整する": 0 off, else on

  static constexpr const char* kFileStem = "despeckle";
  static Settings Defaults() { return Settings{180, 1}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 2, "despeckle.dat holds 2 bytes");
static_assert(offsetof(Settings, background) == 0 && offsetof(Settings, contrast) == 1,
              "despeckle.dat field order");

// The range of the background scroll bar.
constexpr int32_t kLowestBackground = 1;
constexpr int32_t kHighestBackground = 255;

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace despeckle
