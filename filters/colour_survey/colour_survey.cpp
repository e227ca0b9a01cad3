// The colour-group survey, its ranking and the band write-out.
#include "colour_survey.h"

#include <cstdlib>
#include <cstring>

#include "frame/progress.h"
#include "frame/run_control.h"
#include "frame/working_block.h"

namespace colour_survey {
namespace {

// The survey in one pass. A pixel joins the earliest seed before it that it
// resembles, and becomes a seed when none does; this is exactly what letting
// each seed in turn gather the later unmarked pixels yields. Two seeds never
// share a cell of kGroupReach values per channel (the later would resemble
// the earlier), so at most one seed per cell, and a pixel's candidates lie in
// the 3 x 3 x 3 cells around its own.
constexpr int32_t kCellsPerChannel = (255 / kGroupReach) + 1;
constexpr int32_t kCellCount = kCellsPerChannel * kCellsPerChannel * kCellsPerChannel;
constexpr uint16_t kNoSeed = 0xFFFF;
static_assert(kCellCount < kNoSeed, "seed numbers fit the cell index");

struct Seed {
  uint8_t blue, green, red;
  int32_t row;
  uint32_t groupSize;
};

// Each cell lists the seeds of itself and its 26 neighbours, in the order
// they were planted, so that a pixel's earliest resembling seed is the first
// of its cell's list that it resembles.
constexpr int32_t kNeighbourCells = 27;
// Static: the entry points run one call at a time on the host's thread.
struct SeedIndex {
  uint16_t nearbySeeds[kCellCount][kNeighbourCells];
  uint8_t nearbyCount[kCellCount];
  Seed seeds[kCellCount];
  int32_t seedCount;
};
SeedIndex seed_index;

bool Resembles(const uint8_t* pixel, const Seed& seed) {
  return std::abs(pixel[0] - seed.blue) < kGroupReach && std::abs(pixel[1] - seed.green) < kGroupReach &&
         std::abs(pixel[2] - seed.red) < kGroupReach;
}

int32_t CellOf(int32_t blueCell, int32_t greenCell, int32_t redCell) {
  return (blueCell * kCellsPerChannel + greenCell) * kCellsPerChannel + redCell;
}

int32_t CellOfPixel(const uint8_t* pixel) {
  return CellOf(pixel[0] / kGroupReach, pixel[1] / kGroupReach, pixel[2] / kGroupReach);
}

// The earliest seed the pixel resembles, or kNoSeed. Only seeds in the
// cells next to the pixel's own can be within reach.
uint16_t EarliestResemblingSeed(const SeedIndex& index, const uint8_t* pixel) {
  const int32_t cell = CellOfPixel(pixel);
  const uint16_t* nearby = index.nearbySeeds[cell];
  for (int32_t i = 0; i < index.nearbyCount[cell]; ++i)
    if (Resembles(pixel, index.seeds[nearby[i]])) return nearby[i];
  return kNoSeed;
}

uint16_t PlantSeed(SeedIndex& index, const uint8_t* pixel, int32_t row) {
  const uint16_t number = static_cast<uint16_t>(index.seedCount++);
  Seed& seed = index.seeds[number];
  seed.blue = pixel[0];
  seed.green = pixel[1];
  seed.red = pixel[2];
  seed.row = row;
  seed.groupSize = 1;
  const int32_t blueCell = pixel[0] / kGroupReach, greenCell = pixel[1] / kGroupReach,
                redCell = pixel[2] / kGroupReach;
  for (int32_t b = blueCell > 0 ? blueCell - 1 : 0; b <= blueCell + 1 && b < kCellsPerChannel; ++b) {
    for (int32_t g = greenCell > 0 ? greenCell - 1 : 0; g <= greenCell + 1 && g < kCellsPerChannel; ++g) {
      for (int32_t r = redCell > 0 ? redCell - 1 : 0; r <= redCell + 1 && r < kCellsPerChannel; ++r) {
        const int32_t cell = CellOf(b, g, r);
        index.nearbySeeds[cell][index.nearbyCount[cell]++] = number;
      }
    }
  }
  return number;
}

// Sorts every pixel into its group. Neighbouring pixels often share a
// colour, and a colour's group never changes once found, so the previous
// pixel's answer is reused for the same colour.
void GroupAllPixels(const frame::DibImage& image, SeedIndex& index) {
  std::memset(index.nearbyCount, 0, sizeof(index.nearbyCount));
  index.seedCount = 0;
  uint32_t previousColour = kNoPaletteMark;
  uint16_t previousSeed = kNoSeed;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      const uint32_t colour = ColourWordOfBgr(pixel);
      if (colour == previousColour) {
        ++index.seeds[previousSeed].groupSize;
        continue;
      }
      uint16_t seed = EarliestResemblingSeed(index, pixel);
      if (seed == kNoSeed) {
        seed = PlantSeed(index, pixel, y);
      } else {
        ++index.seeds[seed].groupSize;
      }
      previousColour = colour;
      previousSeed = seed;
    }
  }
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
  // The one-pass survey needs no marks; the plane stays the caller's
  // working block so that the memory a run asks for does not change.
  (void)marks;
  const bool hasPixels = image.width > 0 && image.height > 0;
  const uint32_t firstColour = hasPixels ? ColourWordOfBgr(image.Pixel(0, 0)) : 0;
  for (int32_t slot = 0; slot < kPaletteSlots; ++slot) palette[slot] = firstColour;
  if (hasPixels) GroupAllPixels(image, seed_index);

  // Report as a seed-by-seed survey would: after row y, the pixels joined
  // to the seeds of rows 0 .. y, and the groups of those seeds ranked in
  // scan order.
  const uint64_t unit = SurveyUnit(image) > 0 ? SurveyUnit(image) : 1;
  frame::SendProgress(host, frame::PROGRESS_PERCENT, 0);
  uint64_t joinedTotal = 0;
  int32_t nextSeed = 0;
  for (int32_t y = 0; hasPixels && y < image.height; ++y) {
    for (; nextSeed < seed_index.seedCount && seed_index.seeds[nextSeed].row == y; ++nextSeed) {
      const Seed& seed = seed_index.seeds[nextSeed];
      joinedTotal += seed.groupSize - 1;
      if (seed.groupSize >= rules.smallestRanked) {
        const uint32_t colour = static_cast<uint32_t>(seed.red) | static_cast<uint32_t>(seed.green) << 8 |
                                static_cast<uint32_t>(seed.blue) << 16;
        RankGroup(result.sizes, palette, rules.rankedSlots, seed.groupSize, colour);
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
