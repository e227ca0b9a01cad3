// colorreduce's reduction to a palette. The palette's keys and HSV colours
// are worked out once per run, and each colour's choice is remembered in a
// table, since photos repeat their colours many times.
#include "colorreduce_filter.h"

#include <cstring>
#include <memory>
#include <new>

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

int32_t Absolute(int32_t value) {
  return value < 0 ? -value : value;
}

// The first slot agreeing in the top five bits wins wherever it stands; else
// the nearest, the earlier on equal distances. The hue term is never
// negative, so a slot whose saturation and value differences alone reach
// the best distance so far cannot win and its hue is not worked out.
int32_t NearestPreparedSlot(uint32_t colour, const PreparedPalette& palette) {
  const uint32_t key = colour & kTopFiveBits;
  for (int32_t slot = 0; slot < palette.slots; ++slot)
    if (palette.keys[slot] == key) return slot;
  const frame::Hsv own = HsvOfWord(colour);
  int32_t best = kFarthest;
  int32_t choice = 0;
  for (int32_t slot = 0; slot < palette.slots; ++slot) {
    const frame::Hsv& other = palette.colours[slot];
    if (Absolute(other.s - own.s) + Absolute(other.v - own.v) >= best) continue;
    const frame::HsvDifference difference = frame::DifferenceOf(other, own, frame::kCircularHueFold);
    const int32_t distance = difference.hue + difference.saturation + difference.value;
    if (distance < best) {
      best = distance;
      choice = slot;
    }
  }
  return choice;
}

// The choice of every colour met so far: one byte per colour word (2^24),
// kUnknownChoice until worked out; a palette has at most 250 slots.
constexpr uint32_t kColourWords = 1u << 24;
constexpr uint8_t kUnknownChoice = 0xFF;
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
  const std::unique_ptr<uint8_t[]> choices(new (std::nothrow) uint8_t[kColourWords]);
  if (choices) std::memset(choices.get(), kUnknownChoice, kColourWords);
  colour_survey::StepProgress progress(host, step, startPercent);
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      const uint32_t colour = colour_survey::ColourWordOfBgr(pixel);
      int32_t slot;
      if (choices) {
        uint8_t& choice = choices[colour];
        if (choice == kUnknownChoice) choice = static_cast<uint8_t>(NearestPreparedSlot(colour, prepared));
        slot = choice;
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
