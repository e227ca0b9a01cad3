// colorreduce's reduction to a palette. The palette's keys and HSV colours
// are worked out once per run, and each colour's choice is remembered in a
// table, since photos repeat their colours many times.
#include "colorreduce_filter.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "frame/hsv.h"
#include "frame/run_control.h"

namespace colorreduce {
namespace {

constexpr uint32_t kTopFiveBits = 0x00F8F8F8;
// Larger than any distance (3 x 255), so the first slot always becomes the
// choice.
constexpr int32_t kFarthest = 195075;

frame::Hsv HsvOfWord(uint32_t word) {
  return frame::RgbToHsv(word, word >> 8, word >> 16);
}

// The palette as the search reads it: the first slot of each key, and the slots
// ordered by their value V with their HSV and S x V, so that a search can
// start at the colour's own value and stop where the value alone is too far.
constexpr int32_t kKeyCount = 1 << 15;
constexpr int16_t kNoSlot = -1;

// The top five bits of each channel of a colour word, packed into 15 bits.
int32_t KeyIndex(uint32_t colour) {
  return static_cast<int32_t>(((colour >> 3) & 0x1F) | ((colour >> 6) & 0x3E0) | ((colour >> 9) & 0x7C00));
}

struct PreparedPalette {
  int16_t firstSlotOfKey[kKeyCount];  // the first slot with that key, or kNoSlot
  int32_t slotByValue[colour_survey::kPaletteSlots];
  int32_t hue[colour_survey::kPaletteSlots];
  int32_t saturation[colour_survey::kPaletteSlots];
  int32_t value[colour_survey::kPaletteSlots];
  int32_t weight[colour_survey::kPaletteSlots];
  int32_t slots;
};

void PreparePalette(const uint32_t* palette, int32_t slots, PreparedPalette& prepared) {
  prepared.slots = slots;
  frame::Hsv colours[colour_survey::kPaletteSlots];
  std::fill(prepared.firstSlotOfKey, prepared.firstSlotOfKey + kKeyCount, kNoSlot);
  for (int32_t slot = slots - 1; slot >= 0; --slot)
    prepared.firstSlotOfKey[KeyIndex(palette[slot])] = static_cast<int16_t>(slot);
  for (int32_t slot = 0; slot < slots; ++slot) {
    colours[slot] = HsvOfWord(palette[slot]);
    prepared.slotByValue[slot] = slot;
  }
  std::stable_sort(prepared.slotByValue, prepared.slotByValue + slots,
                   [&](int32_t a, int32_t b) { return colours[a].v < colours[b].v; });
  for (int32_t i = 0; i < slots; ++i) {
    const frame::Hsv& hsv = colours[prepared.slotByValue[i]];
    prepared.hue[i] = hsv.h;
    prepared.saturation[i] = hsv.s;
    prepared.value[i] = hsv.v;
    prepared.weight[i] = hsv.s * hsv.v;
  }
}

int32_t Absolute(int32_t value) {
  return value < 0 ? -value : value;
}

// frame::DifferenceOf's hue term with the circular fold, written out with
// its constant divisor (180 x 510) so that the search divides by none.
int32_t CircularHueTerm(int32_t firstHue, int32_t secondHue, int32_t weightSum) {
  constexpr int32_t kFold = frame::kCircularHueFold;
  int32_t distance = Absolute(firstHue - secondHue);
  if (distance > kFold) distance = 2 * kFold - distance;
  return distance * weightSum / (kFold * 510);
}

// The nearest slot so far: the smallest distance, and on equal distances the
// earliest slot.
struct NearestSoFar {
  int32_t distance = kFarthest;
  int32_t slot = 0;
};

// Weighs the slot at position i of the value order against the best so far.
// The hue term is never negative, so a slot whose saturation and value
// differences alone exceed the best distance cannot win and its hue is not
// worked out.
void Weigh(const PreparedPalette& palette, int32_t i, const frame::Hsv& own, int32_t ownWeight,
           NearestSoFar& nearest) {
  const int32_t saturationAndValue =
      Absolute(palette.saturation[i] - own.s) + Absolute(palette.value[i] - own.v);
  if (saturationAndValue > nearest.distance) return;
  const int32_t distance =
      saturationAndValue + CircularHueTerm(palette.hue[i], own.h, palette.weight[i] + ownWeight);
  const int32_t slot = palette.slotByValue[i];
  if (distance < nearest.distance || (distance == nearest.distance && slot < nearest.slot)) {
    nearest.distance = distance;
    nearest.slot = slot;
  }
}

// The first slot agreeing in the top five bits wins wherever it stands; else
// the nearest, the earlier on equal distances. The slots are visited from
// the colour's own value outwards in both directions; a direction ends where
// the value difference alone exceeds the best distance, since every slot
// beyond is farther still.
int32_t NearestPreparedSlot(uint32_t colour, const PreparedPalette& palette) {
  const int16_t keySlot = palette.firstSlotOfKey[KeyIndex(colour)];
  if (keySlot != kNoSlot) return keySlot;
  const frame::Hsv own = HsvOfWord(colour);
  const int32_t ownWeight = own.s * own.v;
  const int32_t start = static_cast<int32_t>(
      std::lower_bound(palette.value, palette.value + palette.slots, own.v) - palette.value);
  NearestSoFar nearest;
  for (int32_t i = start; i < palette.slots && palette.value[i] - own.v <= nearest.distance; ++i)
    Weigh(palette, i, own, ownWeight, nearest);
  for (int32_t i = start - 1; i >= 0 && own.v - palette.value[i] <= nearest.distance; --i)
    Weigh(palette, i, own, ownWeight, nearest);
  return nearest.slot;
}

// The choice of every colour met so far: one byte per colour word (2^24),
// the slot + 1 once worked out and kUnknownChoice (0) before, so that the
// table can start as untouched zeroed memory (only the parts of it a picture's
// colours reach are ever brought in); a palette has at most 250 slots.
constexpr uint32_t kColourWords = 1u << 24;
constexpr uint8_t kUnknownChoice = 0;

struct FreeTable {
  void operator()(uint8_t* table) const { std::free(table); }
};
// Static: the entry points run one call at a time on the host's thread.
PreparedPalette prepared_palette;

}  // namespace

int32_t NearestSlot(uint32_t colour, const uint32_t* palette, int32_t slots) {
  PreparedPalette& prepared = prepared_palette;
  PreparePalette(palette, slots, prepared);
  return NearestPreparedSlot(colour, prepared);
}

bool ReduceToPalette(const frame::DibImage& image, const uint32_t* palette, int32_t slots, HWND host,
                     int32_t step, int32_t startPercent) {
  PreparedPalette& prepared = prepared_palette;
  PreparePalette(palette, slots, prepared);
  // Without the memory for the choices every pixel searches the palette.
  const std::unique_ptr<uint8_t, FreeTable> choices(static_cast<uint8_t*>(std::calloc(kColourWords, 1)));
  colour_survey::StepProgress progress(host, step, startPercent);
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      const uint32_t colour = colour_survey::ColourWordOfBgr(pixel);
      int32_t slot;
      if (choices) {
        uint8_t& choice = choices.get()[colour];
        if (choice == kUnknownChoice)
          choice = static_cast<uint8_t>(NearestPreparedSlot(colour, prepared) + 1);
        slot = choice - 1;
      } else {
        slot = NearestPreparedSlot(colour, prepared);
      }
      colour_survey::WriteColourWord(pixel, palette[slot]);
    }
    progress.AfterRow(y);
    if (frame::EscapeRequested()) return false;
  }
  return true;
}

}  // namespace colorreduce
