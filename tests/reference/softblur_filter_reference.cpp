// softblur's plain weighted window: every byte sums its whole window. The
// reference for the paired SSE2 sums in filters/softblur/.
#include "profile_table.h"
#include "softblur_filter.h"

namespace softblur {

uint32_t WeightSum(const uint16_t* table, int32_t radius) {
  uint32_t sum = 0;
  const int64_t entries = blur::ProfileTableEntries(radius);
  for (int64_t i = 0; i < entries; ++i) sum += table[i];
  return sum;
}

void BlurRow(const frame::DibImage& image, const blur::WideRaster& raster, const uint16_t* table,
             int32_t radius, uint32_t weightSum, int32_t y) {
  const int32_t side = 2 * radius + 1;
  // The window's lower left corner for the row's first byte.
  const uint8_t* corner = raster.Pixel(y - radius, -radius);
  uint8_t* out = image.Row(y);
  const int32_t rowBytes = 3 * image.width;
  for (int32_t j = 0; j < rowBytes; ++j) {
    uint32_t sum = 0;
    const uint16_t* weight = table;
    const uint8_t* windowRow = corner + j;
    for (int32_t r = 0; r < side; ++r, windowRow += raster.pitch) {
      for (int32_t c = 0; c < side; ++c) sum += uint32_t{*weight++} * windowRow[3 * c];
    }
    out[j] = static_cast<uint8_t>(sum / weightSum);
  }
}

}  // namespace softblur
