// What radialblur and spinblur share: the settings record, the dialog with
// its centre and length, and the run that blurs every pixel along a line of
// 2L + 1 samples, weighted by the linear profile table. The plug-ins differ
// only in the direction of the line, which each supplies.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/host_interface.h"
#include "frame/win_api.h"
#include "signed_settings.h"
#include "wide_raster.h"

namespace blur {

#pragma pack(push, 1)
struct LineBlurSettings {
  uint8_t length;   // L, half-length of the sampled line in pixels ("長さ")
  int32_t centerX;  // column of the centre ("中心　Ｘ")
  int32_t centerY;  // row of the centre, counted downwards ("Ｙ")

  static LineBlurSettings Defaults() { return LineBlurSettings{10, 0, 0}; }
};
#pragma pack(pop)
static_assert(sizeof(LineBlurSettings) == 9, "the record after the signature holds 9 bytes");
static_assert(offsetof(LineBlurSettings, length) == 0 && offsetof(LineBlurSettings, centerX) == 1 &&
                  offsetof(LineBlurSettings, centerY) == 5,
              "record field order");

extern const RecordField kLineBlurFields[3];

constexpr int32_t kMinLength = 1;
constexpr int32_t kMaxLength = 100;
constexpr int32_t kCentreLimit = 32000;

// A length outside 1 .. 100 (from a file made by hand) is brought to the
// nearest of them, so that every sample stays inside the raster and the
// weighted sums stay within 32 bits.
LineBlurSettings InRange(const LineBlurSettings& settings);

// One sample of a pixel's line: rows (in the image's order) and columns from
// the pixel, each at most L in size.
struct SampleOffset {
  int32_t rows;
  int32_t columns;
};

// The line of one pixel as a direction: sample k (k = -L .. L) lies
// k x majorStep along the major axis (columns when alongColumns, else rows)
// and trunc(k x numerator / denominator) along the other axis, with
// |numerator| <= |denominator| and denominator != 0, so that every sample
// lies within L pixels on both axes.
struct LineDirection {
  bool alongColumns;
  int32_t majorStep;  // +1 or -1
  int64_t numerator;
  int64_t denominator;
};

// The direction of the line of the pixel at image row y, column x of a
// picture of the given height; false when the pixel is the centre and keeps
// its colour.
using LineDirectionOf = bool (*)(const LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                                 LineDirection* line);

// The 2L + 1 samples of a line for k = -L .. L, without a division per k.
void LineSamples(const LineDirection& line, int32_t length, SampleOffset* offsets);

// The line of a pixel as its 2L + 1 samples (k = -L .. L); false for the
// centre pixel.
using LineOffsets = bool (*)(const LineBlurSettings& settings, int32_t height, int32_t y, int32_t x,
                             SampleOffset* offsets);

// What a line blur plug-in supplies: its file, its dialog template and its
// line, both as a direction (the run) and as samples (the plain build and
// the tests). The plug-in's entry file defines kLineBlurPlugin and
// frame::kPluginTitle; line_blur_entry.cpp makes the plug-in of them.
struct LineBlurPlugin {
  SignedFormat format;
  const char* templateName;
  LineOffsets lineOffsets;
  LineDirectionOf lineDirection;
};
extern const LineBlurPlugin kLineBlurPlugin;

// FilterProc: reads the signed file, allocates the table and the
// edge-repeated raster, and blurs row by row with PROGRESS_PERCENT2 and the
// ESC poll after every row: every byte becomes the weighted mean of the same
// component over the pixel's line, with the table's entry for each sample's
// offset as its weight (32-bit unsigned sums, remainder dropped).
int RunLineBlur(HWND host, BITMAPINFOHEADER* header, const char* dir, const LineBlurPlugin& plugin);

// FilterOption and the dialog procedure's work; the record and path are the
// plug-in's static ones.
int RunLineBlurOption(HWND host, const char* dir, const LineBlurPlugin& plugin, SettingsPath& path,
                      DLGPROC procedure);
INT_PTR LineBlurDialog(HWND dialog, UINT message, WPARAM wParam, const LineBlurPlugin& plugin,
                       LineBlurSettings& settings, const char* path);

}  // namespace blur
