// edgeblur's settings record, stored raw as "edgeblur.dat" (2 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace edgeblur {

#pragma pack(push, 1)
struct Settings {
  uint8_t threshold;  // luminance difference that makes a boundary ("境界の濃度差")
  uint8_t seamless;   // "継ぎ目のない画像を使う": 0 off, else on

  static constexpr const char* kFileStem = "edgeblur";
  static Settings Defaults() { return Settings{64, 0}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 2, "edgeblur.dat holds 2 bytes");
static_assert(offsetof(Settings, threshold) == 0 && offsetof(Settings, seamless) == 1,
              "edgeblur.dat field order");

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace edgeblur
