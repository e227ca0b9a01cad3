// The plain colour-group survey: every seed scans all later pixels. The
// reference the fast survey in filters/colour_survey/ is compared with; it is
// linked into the reference plug-ins in place of the fast one.
#include <cstdlib>
#include <cstring>

#include "colour_survey.h"
#include "frame/progress.h"
#include "frame/run_control.h"
#include "frame/working_block.h"

namespace colour_survey {
namespace {

bool Resembles(const uint8_t* pixel, const uint8_t* seed) {
  return std::abs(pixel[0] - seed[0]) < kGroupReach && std::abs(pixel[1] - seed[1]) < kGroupReach &&
         std::abs(pixel[2] - seed[2]) < kGroupReach;
}

// Marks every unmarked pixel after the seed (y, x) in scan order that
// resembles it; returns how many joined.
uint32_t GatherGroup(const frame::DibImage& image, uint8_t* marks, int32_t seedY, int32_t seedX) {
  const uint8_t* seed = image.Pixel(seedY, seedX);
  uint32_t joined = 0;
  int32_t x = seedX + 1;
  for (int32_t y = seedY; y < image.height; ++y, x = 0) {
    const uint8_t* pixel = image.Pixel(y, x);
    uint8_t* mark = marks + static_cast<intptr_t>(y) * image.width + x;
    for (; x < image.width; ++x, pixel += 3, ++mark) {
      if (*mark != 0 || !Resembles(pixel, seed)) continue;
      *mark = 1;
      ++joined;
    }
  }
  return joined;
}

}  // namespace

const char kSlowSurveyNotice[] =
    "このフィルターはとっても時間がかかります。\n途中でやめたい場合は、ESCキーを押してください。\n"
    "ただし、途中でやめた場合は変な結果になります。\nアンドゥなどで戻してくださいませ。\n\n"
    "なおこの文章は最初の一回だけ表示されます。";

int32_t UsableSlots(uint8_t colours, int32_t fewest) {
  if (colours < fewest) return fewest;
  return colours > kMostRankedSlots ? kMostRankedSlots : colours;
}

uint64_t MarkPlaneSize(const frame::DibImage& image) {
  if (image.width <= 0 || image.height < 0) return 0;
  return frame::CheckedProduct(static_cast<uint64_t>(image.height) + 1, static_cast<uint64_t>(image.width));
}

uint64_t SurveyUnit(const frame::DibImage& image) {
  if (image.width <= 0 || image.height <= 0) return 0;
  return static_cast<uint64_t>(image.height) * static_cast<uint64_t>(image.width) / 80;
}

void RankGroup(uint32_t* sizes, uint32_t* palette, int32_t rankedSlots, uint32_t groupSize, uint32_t colour) {
  for (int32_t k = 0; k <= rankedSlots; ++k) {
    if (sizes[k] > groupSize) continue;
    const std::size_t moved = static_cast<std::size_t>(rankedSlots - k + 1);
    std::memmove(sizes + k + 1, sizes + k, moved * sizeof(uint32_t));
    std::memmove(palette + k + 1, palette + k, moved * sizeof(uint32_t));
    sizes[k] = groupSize;
    palette[k] = colour;
    return;
  }
}

SurveyResult SurveyColourGroups(const frame::DibImage& image, uint8_t* marks, uint32_t* palette,
                                const SurveyRules& rules, HWND host) {
  SurveyResult result;
  std::memset(marks, 0, static_cast<std::size_t>(MarkPlaneSize(image)));
  const bool hasPixels = image.width > 0 && image.height > 0;
  const uint32_t firstColour = hasPixels ? ColourWordOfBgr(image.Pixel(0, 0)) : 0;
  for (int32_t slot = 0; slot < kPaletteSlots; ++slot) palette[slot] = firstColour;

  const uint64_t unit = SurveyUnit(image) > 0 ? SurveyUnit(image) : 1;
  frame::SendProgress(host, frame::PROGRESS_PERCENT, 0);
  uint64_t joinedTotal = 0;
  for (int32_t y = 0; hasPixels && y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      uint8_t& mark = marks[static_cast<intptr_t>(y) * image.width + x];
      if (mark != 0) continue;
      mark = 1;
      const uint32_t joined = GatherGroup(image, marks, y, x);
      joinedTotal += joined;
      const uint32_t groupSize = joined + 1;
      if (groupSize >= rules.smallestRanked) {
        RankGroup(result.sizes, palette, rules.rankedSlots, groupSize, ColourWordOfBgr(image.Pixel(y, x)));
      }
    }
    result.lastPercent = static_cast<int32_t>(joinedTotal / unit);
    frame::SendProgress(host, frame::PROGRESS_PERCENT2, result.lastPercent);
    if (frame::EscapeRequested()) {
      result.stopped = true;
      break;
    }
  }
  return result;
}

void WritePaletteBands(const frame::DibImage& image, const uint32_t* palette, int32_t slots, HWND host) {
  if (image.height <= 0) return;
  const int32_t step = image.height / 20 + 1;
  int32_t percent = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    const int64_t slot = static_cast<int64_t>(slots) * y / image.height;
    const uint32_t colour = palette[slot];
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) WriteColourWord(pixel, colour);
    if (y % step == 0) {
      frame::SendProgress(host, frame::PROGRESS_PERCENT, percent);
      percent += 5;
    }
  }
}

void StepProgress::AfterRow(int32_t row) {
  if (row % step_ != 0) return;
  frame::SendProgress(host_, frame::PROGRESS_PERCENT, value_);
  ++value_;
}

int32_t StepAfterSurvey(int32_t height, int32_t lastPercent) {
  const int32_t divisor = 99 - lastPercent;
  return divisor > 0 ? height / divisor : 0;
}

int32_t StepWithoutSurvey(int32_t height) {
  return height / 100 + 1;
}

}  // namespace colour_survey
