// fullscroll's settings record, stored raw as "fullscroll.dat" (8 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace fullscroll {

constexpr int32_t kLeastAmount = -500;
constexpr int32_t kGreatestAmount = 500;

#pragma pack(push, 1)
struct Settings {
  int32_t x;  // pixels; positive moves the picture to the right
  int32_t y;  // pixels; positive moves the picture down

  static constexpr const char* kFileStem = "fullscroll";
  static Settings Defaults() { return Settings{10, 10}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 8, "fullscroll.dat holds 8 bytes");
static_assert(offsetof(Settings, x) == 0 && offsetof(Settings, y) == 4, "fullscroll.dat field order");

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace fullscroll
