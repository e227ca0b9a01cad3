// colorreduce's plain reduction to a palette: every pixel searches the
// palette. The reference for the cached search in filters/colorreduce/.
#include "colorreduce_filter.h"
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

}  // namespace

int32_t NearestSlot(uint32_t colour, const uint32_t* palette, int32_t slots) {
  const uint32_t key = colour & kTopFiveBits;
  const frame::Hsv own = HsvOfWord(colour);
  int32_t best = kFarthest;
  int32_t choice = 0;
  for (int32_t slot = 0; slot < slots; ++slot) {
    if ((palette[slot] & kTopFiveBits) == key) return slot;
    const frame::HsvDifference difference =
        frame::DifferenceOf(HsvOfWord(palette[slot]), own, frame::kCircularHueFold);
    const int32_t distance = difference.hue + difference.saturation + difference.value;
    if (distance < best) {
      best = distance;
      choice = slot;
    }
  }
  return choice;
}

bool ReduceToPalette(const frame::DibImage& image, const uint32_t* palette, int32_t slots, HWND host,
                     int32_t step, int32_t startPercent) {
  colour_survey::StepProgress progress(host, step, startPercent);
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += 3) {
      const int32_t slot = NearestSlot(colour_survey::ColourWordOfBgr(pixel), palette, slots);
      colour_survey::WriteColourWord(pixel, palette[slot]);
    }
    progress.AfterRow(y);
    if (frame::EscapeRequested()) return false;
  }
  return true;
}

}  // namespace colorreduce
