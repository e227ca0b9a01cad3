// ditherbw's settings record, stored raw as "ditherbw.dat" (51 bytes), and
// its 4 x 4 threshold patterns.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ditherbw {

// Sixteen thresholds 0 .. 15, row by row: byte i is row i / 4, column i % 4.
// Row r applies to the image rows r modulo 4 in memory order (row 0 is the
// first row in memory), column c to the pixel columns c modulo 4.
constexpr int kPatternSide = 4;
constexpr int kPatternCells = kPatternSide * kPatternSide;
struct Pattern {
  uint8_t cells[kPatternCells];
};

constexpr int kBuiltInPatterns = 6;
constexpr int kUserPatternA = 6;  // "ユーザー設定Ａ"
constexpr int kUserPatternB = 7;  // "ユーザー設定Ｂ"
constexpr int kPatternCount = 8;

#pragma pack(push, 1)
struct Settings {
  uint8_t chosen;  // the pattern chosen in the dialog, 0 .. 7
  Pattern inUse;   // a copy of the chosen pattern, made when the dialog is accepted
  Pattern userA;
  Pattern userB;
  uint8_t twice;     // "２倍": each cell covers 2 x 2 pixels; 0 off, else on
  uint8_t reserved;  // kept as it is

  static constexpr const char* kFileStem = "ditherbw";
  // Keeps reserved as it is.
  static Settings Defaults();
};
#pragma pack(pop)
static_assert(sizeof(Pattern) == 16, "a pattern is 16 bytes");
static_assert(sizeof(Settings) == 51, "ditherbw.dat holds 51 bytes");
static_assert(offsetof(Settings, chosen) == 0 && offsetof(Settings, inUse) == 1 &&
                  offsetof(Settings, userA) == 17 && offsetof(Settings, userB) == 33 &&
                  offsetof(Settings, twice) == 49 && offsetof(Settings, reserved) == 50,
              "ditherbw.dat field order");

// The built-in patterns 0 .. 5 and their names with the two user patterns',
// in the order of the dialog's list.
extern const Pattern kBuiltInPattern[kBuiltInPatterns];
extern const char* const kPatternName[kPatternCount];
extern const Pattern kDefaultUserPatternA;
extern const Pattern kDefaultUserPatternB;

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace ditherbw
