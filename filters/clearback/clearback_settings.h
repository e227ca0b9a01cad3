// clearback's settings record, stored raw as "clearback.dat" (8 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace clearback {

// The corner flag: which pixel of row 0 gives the background colour, and
// whether the one-time notice is still to come.
enum CornerFlag : int32_t {
  kUpperRight = 0,
  kUpperLeft = 1,
  kNoticePending = 2,  // no settings file yet; the corner is the upper-left one
};

constexpr int32_t kLeastRange = 1;
constexpr int32_t kGreatestRange = 30;

#pragma pack(push, 1)
struct Settings {
  int32_t range;   // in pixels, 1..30
  int32_t corner;  // CornerFlag

  static constexpr const char* kFileStem = "clearback";
  static Settings Defaults() { return Settings{2, kNoticePending}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 8, "clearback.dat holds 8 bytes");
static_assert(offsetof(Settings, range) == 0 && offsetof(Settings, corner) == 4, "clearback.dat field order");

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace clearback
