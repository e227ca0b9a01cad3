// regionavg's settings record, stored raw as "regionavg.dat" (2 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace regionavg {

#pragma pack(push, 1)
struct Settings {
  uint8_t threshold;  // neighbours whose colour differs by less than this take part
  uint8_t seamless;   // "継ぎ目のない画像を使う": 0 off, else on

  static constexpr const char* kFileStem = "regionavg";
  static Settings Defaults() { return Settings{64, 0}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 2, "regionavg.dat holds 2 bytes");
static_assert(offsetof(Settings, threshold) == 0 && offsetof(Settings, seamless) == 1,
              "regionavg.dat field order");

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace regionavg
