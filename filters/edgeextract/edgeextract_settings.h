// edgeextract's settings record, stored raw as "edgeextract.dat" (8 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace edgeextract {

constexpr int kMeasureCount = 5;

// How the difference of two pixels is measured.
enum Measure : uint8_t {
  kDensity = 0,      // "濃度": luminance
  kHsvCombined = 1,  // "HSV": (hue term + saturation + value differences) / 3
  kHue = 2,          // "H": hue term
  kSaturation = 3,   // "S"
  kValue = 4,        // "V"
};

#pragma pack(push, 1)
struct Settings {
  uint8_t threshold;             // T in use: a difference counts when it is greater
  uint8_t seamless;              // "継ぎ目のない画像を使う": 0 off, else on
  uint8_t measure;               // Measure; the filter treats anything above 4 as kValue
  uint8_t slots[kMeasureCount];  // the dialog's threshold kept for each measure

  static constexpr const char* kFileStem = "edgeextract";
  // Without a file a run uses density with T = 1; the dialog first shows 60.
  static Settings Defaults() { return Settings{1, 0, kDensity, {60, 61, 62, 63, 64}}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 8, "edgeextract.dat holds 8 bytes");
static_assert(offsetof(Settings, threshold) == 0 && offsetof(Settings, seamless) == 1 &&
                  offsetof(Settings, measure) == 2 && offsetof(Settings, slots) == 3,
              "edgeextract.dat field order");

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace edgeextract
