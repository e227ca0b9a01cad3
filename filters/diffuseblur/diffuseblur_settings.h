// diffuseblur's settings record, stored raw as "diffuseblur.dat" (1 byte).
#pragma once

#include <cstddef>
#include <cstdint>

namespace diffuseblur {

#pragma pack(push, 1)
struct Settings {
  uint8_t seamless;  // "継ぎ目のない画像を使う": 0 off, else on

  static constexpr const char* kFileStem = "diffuseblur";
  static Settings Defaults() { return Settings{0}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 1 && offsetof(Settings, seamless) == 0, "diffuseblur.dat holds 1 byte");

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace diffuseblur
