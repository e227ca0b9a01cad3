// maxfilter's settings record, stored raw as "maxfilter.dat" (3 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace maxfilter {

#pragma pack(push, 1)
struct Settings {
  uint8_t lower;     // target luminance from ... (inclusive)
  uint8_t upper;     // ... up to (inclusive)
  uint8_t seamless;  // "継ぎ目のない画像を使う": 0 off, else on

  static constexpr const char* kFileStem = "maxfilter";
  static Settings Defaults() { return Settings{0, 255, 0}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 3, "maxfilter.dat holds 3 bytes");
static_assert(offsetof(Settings, lower) == 0 && offsetof(Settings, upper) == 1 &&
                  offsetof(Settings, seamless) == 2,
              "maxfilter.dat field order");

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace maxfilter
