// softblur's settings record, stored after the signature "sftbl2" in the
// signed file "softblur.dat" (10 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

#include "signed_settings.h"

namespace softblur {

#pragma pack(push, 1)
struct Settings {
  uint8_t radius;    // half-width of the window in pixels ("半径"), 1 .. 30
  uint8_t profile;   // shape of the weights' fall-off ("強度分布"), 1 .. 7
  uint8_t reserved;  // kept as the file has it
  uint8_t seamless;  // "継ぎ目のない画像を使う": 0 off, else on

  static Settings Defaults() { return Settings{10, 3, 0, 0}; }
  static const blur::SignedFormat& Format();
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 4, "the record after the signature holds 4 bytes");
static_assert(offsetof(Settings, radius) == 0 && offsetof(Settings, profile) == 1 &&
                  offsetof(Settings, reserved) == 2 && offsetof(Settings, seamless) == 3,
              "record field order");

constexpr int32_t kMinRadius = 1;
constexpr int32_t kMaxRadius = 30;
constexpr int32_t kMinProfile = 1;
constexpr int32_t kMaxProfile = 7;

// A radius or shape outside the dialog's ranges (from a file made by hand) is
// brought to the nearest limit: the border then always covers the window,
// the weights never sum to 0 and the weighted sums stay within 32 bits.
Settings InRange(const Settings& settings);

// The dialog's record and the path of the file, kept while the library is
// loaded.
Settings& DialogSettings();
blur::SettingsPath& SettingsPath();

}  // namespace softblur
