// colorreduce's reduction to a palette. The palette's keys and HSV colours
// are worked out once per run, and each colour's choice is remembered in a
// small cache, since photos repeat their colours many times.
#include "colorreduce_filter.h"

#include "frame/hsv.h"
#include "frame/run_control.h"

namespace colorreduce {
namespace {

constexpr uint32_t kTopFiveBits = 0x00F8F8F8;
// Larger than any distance (3 x 255), so the first slot always becomes the
// choice.
constexpr int32_t kFarthest = 195075;

frame::Hsv HsvOfWord(uint32_t word) { return frame::RgbToHsv(word, word >> 8, word >> 16); }

// The palette as the search reads it.
struct PreparedPalette {
  uint32_t keys[colour_survey::kPaletteSlots];
  frame::Hsv colours[colour_survey::kPaletteSlots];
  int32_t slots;
};

void PreparePalette(const uint32_t* palette, int32_t slots, PreparedPalette& prepared) {
  prepared.slots = slots;
  for (int32_t slot = 0; slot < slots; ++slot) {
    prepared.keys[slot] = palette[slot] & kTopFiveBits;
    prepared.colours[slot] = HsvOfWord(palette[slot]);
  }
}

int32_t NearestPreparedSlot(uint32_t colour, const PreparedPalette& palette) {
  const uint32_t key = colour & kTopFiveBits;
  const frame::Hsv own = HsvOfWord(colour);
  int32_t best = kFarthest;
  int32_t choice = 0;
  for (int32_t slot = 0; slot < palette.slots; ++slot) {
    if (palette.keys[slot] == key) return slot;
    const frame::HsvDifference difference = frame::DifferenceOf(palette.colours[slot], own, frame::kCircularHueFold);
    const int32_t distance = difference.hue + difference.saturation + difference.value;
    if (distance < best) {
      best = distance;
      choice = slot;
    }
  }
  return choice;
}

// Direct-mapped: an entry holds a colour word (24 bits) and its slot in the
// top 8 bits; kEmptyEntry is no colour with slot 255, never a real entry
// since a palette has at most 250 slots.
constexpr int32_t kCacheBits = 16;
constexpr uint32_t kEmptyEntry = 0xFFFFFFFF;
struct ChoiceCache {
  uint32_t entries[1u << kCacheBits];
};
// Static: the entry points run one call at a time on the host's thread.
ChoiceCache choice_cache;
PreparedPalette prepared_palette;

uint32_t CacheIndexOf(uint32_t colour) { return (colour * 0x9E3779B1u) >> (32 - kCacheBits); }

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
  for (uint32_t& entry : choice_cache.entries) entry = kEmptyEntry;
  colour_survey::StepProgress progress(host, step, startPercent);
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      const uint32_t colour = colour_survey::ColourWordOfBgr(pixel);
      uint32_t& entry = choice_cache.entries[CacheIndexOf(colour)];
      if ((entry & 0x00FFFFFF) != colour || entry == kEmptyEntry) {
        entry = colour | static_cast<uint32_t>(NearestPreparedSlot(colour, prepared)) << 24;
      }
      colour_survey::WriteColourWord(pixel, palette[entry >> 24]);
    }
    progress.AfterRow(y);
    if (frame::EscapeRequested()) return false;
  }
  return true;
}

}  // namespace colorreduce
