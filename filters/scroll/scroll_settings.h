// scroll's settings: the two shift amounts of "scroll.dat" (8 bytes, two
// little-endian 32-bit integers, right first). The dialog is the file's only
// writer; the run refuses to start until it exists.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/settings.h"

namespace scroll {

#pragma pack(push, 1)
struct Amounts {
  int32_t right;  // pixels to the right (negative: to the left)
  int32_t down;   // pixels down on the screen (negative: up)
};
#pragma pack(pop)
static_assert(sizeof(Amounts) == 8, "scroll.dat holds 8 bytes");
static_assert(offsetof(Amounts, right) == 0 && offsetof(Amounts, down) == 4, "scroll.dat field order");

constexpr const char* kFileStem = "scroll";
// What each amount holds before it is read: a file shorter than 8 bytes
// leaves the bytes it does not reach at these values.
constexpr Amounts kBeforeReading = {8, 6};
// What the dialog shows when there is no file yet.
constexpr Amounts kDialogDefaults = {80, 60};
// The amounts the dialog accepts.
constexpr int32_t kLargestAmount = 9999;

// dir + "scroll.dat", assembled by FilterOption and FilterProc and used by
// the dialog. Empty when dir is too long for it.
char (&SettingsPath())[frame::kPathBufferSize];

// Reads the file over kBeforeReading; false when it cannot be opened.
bool ReadAmounts(const char* path, Amounts& amounts);
// Creates or truncates the file and writes right, then down; gives up
// silently when it cannot be created.
void WriteAmounts(const char* path, const Amounts& amounts);

}  // namespace scroll
