// opaquefill's settings record, stored raw as "opaquefill.dat" (80 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace opaquefill {

// Colour words: red in bits 0-7, green in 8-15, blue in 16-23.
constexpr uint32_t kMidGrey = 0x808080;
constexpr int kCustomColourCount = 16;

enum NoticeFlag : int32_t {
  kNoticePending = 0,
  kNoticeShown = 1,
};

#pragma pack(push, 1)
struct Settings {
  uint32_t reserved;  // not used; written back as read
  uint32_t background;
  uint32_t customColours[kCustomColourCount];  // the colour chooser's own
  int32_t notice;                              // NoticeFlag
  int32_t checkerboard;                        // "チェック": 0 off, 1 on

  static constexpr const char* kFileStem = "opaquefill";
  static Settings Defaults() {
    Settings defaults = {};
    defaults.background = kMidGrey;
    for (uint32_t& colour : defaults.customColours) colour = kMidGrey;
    defaults.notice = kNoticePending;
    return defaults;
  }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 80, "opaquefill.dat holds 80 bytes");
static_assert(offsetof(Settings, reserved) == 0 && offsetof(Settings, background) == 4 &&
                  offsetof(Settings, customColours) == 8 && offsetof(Settings, notice) == 72 &&
                  offsetof(Settings, checkerboard) == 76,
              "opaquefill.dat field order");

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace opaquefill
