// minfilter's settings record, stored raw as "minfilter.dat" (4 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace minfilter {

#pragma pack(push, 1)
struct Settings {
  uint8_t lower;     // target luminance from ... (inclusive)
  uint8_t upper;     // ... up to (inclusive)
  uint8_t seamless;  // "継ぎ目のない画像を使う": 0 off, else on
  uint8_t repeat;    // "連続（最大５０回）": 0 one pass, else up to kMaxPasses

  static constexpr const char* kFileStem = "minfilter";
  static Settings Defaults() { return Settings{255, 255, 0, 1}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 4, "minfilter.dat holds 4 bytes");
static_assert(offsetof(Settings, lower) == 0 && offsetof(Settings, upper) == 1 &&
                  offsetof(Settings, seamless) == 2 && offsetof(Settings, repeat) == 3,
              "minfilter.dat field order");

constexpr int32_t kMaxPasses = 50;

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace minfilter
