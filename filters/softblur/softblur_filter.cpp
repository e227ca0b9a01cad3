// softblur's weighted window. The profile table is symmetric about its centre
// row and column, so the row's window is first folded: the two raster rows
// at the same distance above and below are added (16-bit), then the two
// columns at the same distance left and right, and each folded sample is
// multiplied by its weight once, eight output bytes at a time with SSE2
// (pairs of weights per multiply-add). Zero weights are skipped. The sums
// wrap at 32 bits exactly as a plain sum over the window does, since the
// same products are added modulo 2^32.
#include "softblur_filter.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "profile_table.h"
#include "sse2_weighted_sums.h"

namespace softblur {
namespace {

// One folded sample of a window row: a column left of or on the centre
// (`closer`) and its mirror right of it (`mirror`, < 0 on the centre column,
// which has none), as offsets from the output byte's place in the folded
// row, with their common weight.
struct Term {
  int32_t closer;
  int32_t mirror;
  int32_t weight;
};

// The row's folded rows (16-bit) and the terms of each, kept between rows
// and runs: the entry points run one call at a time on the host's thread.
struct FoldedWindow {
  int32_t radius = -1;
  intptr_t length = 0;  // elements of one folded row, with slack for the last block
  std::unique_ptr<int16_t[]> rows;
  std::vector<std::vector<Term>> terms;  // per folded row 0 .. radius
  std::vector<uint16_t> table;           // the table the terms were made from
};
FoldedWindow folded_window;

constexpr int32_t kBlock = 8;  // output bytes per SSE2 step

bool TableIsSymmetric(const uint16_t* table, int32_t radius) {
  const int32_t side = 2 * radius + 1;
  for (int32_t r = 0; r < side; ++r) {
    for (int32_t c = 0; c < side; ++c) {
      const uint16_t weight = table[r * side + c];
      if (weight != table[(side - 1 - r) * side + c] || weight != table[r * side + side - 1 - c])
        return false;
    }
  }
  return true;
}

// Prepares the scratch and terms for the table; false when the table is not
// symmetric or the scratch cannot be had (the plain sum then does the row).
bool PrepareWindow(const uint16_t* table, int32_t radius, intptr_t pitch) {
  FoldedWindow& window = folded_window;
  const intptr_t length = pitch + kBlock;
  const std::size_t entries = static_cast<std::size_t>(blur::ProfileTableEntries(radius));
  if (window.rows && window.radius == radius && window.length == length && window.table.size() == entries &&
      std::memcmp(window.table.data(), table, entries * sizeof(uint16_t)) == 0) {
    return true;
  }
  window.table.clear();
  window.rows.reset();
  if (!TableIsSymmetric(table, radius)) return false;
  const std::size_t elements = static_cast<std::size_t>(radius + 1) * static_cast<std::size_t>(length);
  window.rows.reset(new (std::nothrow) int16_t[elements]());
  if (!window.rows) return false;
  window.radius = radius;
  window.length = length;
  window.table.assign(table, table + entries);
  const int32_t side = 2 * radius + 1;
  window.terms.assign(static_cast<std::size_t>(radius) + 1, {});
  for (int32_t r = 0; r <= radius; ++r) {
    for (int32_t c = 0; c <= radius; ++c) {
      const int32_t weight = table[r * side + c];
      if (weight == 0) continue;
      window.terms[r].push_back({3 * c, c == radius ? -1 : 3 * (side - 1 - c), weight});
    }
  }
  return true;
}

// Folded row r: raster rows y - R + r and y + R - r added (row R alone).
void FoldRows(const blur::WideRaster& raster, int32_t radius, int32_t y) {
  FoldedWindow& window = folded_window;
  const intptr_t pitch = raster.pitch;
  for (int32_t r = 0; r <= radius; ++r) {
    int16_t* out = window.rows.get() + r * window.length;
    const uint8_t* low = raster.Pixel(y - radius + r, -radius);
    const uint8_t* high = raster.Pixel(y + radius - r, -radius);
    if (r == radius) {
      for (intptr_t x = 0; x < pitch; ++x) out[x] = low[x];
    } else {
      for (intptr_t x = 0; x < pitch; ++x) out[x] = static_cast<int16_t>(low[x] + high[x]);
    }
  }
}

// The 32-bit window sum of output byte j, one byte at a time.
uint32_t FoldedSum(intptr_t j) {
  const FoldedWindow& window = folded_window;
  uint32_t sum = 0;
  for (int32_t r = 0; r <= window.radius; ++r) {
    const int16_t* row = window.rows.get() + r * window.length + j;
    for (const Term& term : window.terms[r]) {
      const int32_t sample = row[term.closer] + (term.mirror >= 0 ? row[term.mirror] : 0);
      sum += static_cast<uint32_t>(sample) * static_cast<uint32_t>(term.weight);
    }
  }
  return sum;
}

#ifdef VF_HAS_SSE2

VF_SSE2_TARGET inline __m128i FoldedSamples(const int16_t* row, const Term& term) {
  const __m128i closer = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + term.closer));
  if (term.mirror < 0) return closer;
  return _mm_add_epi16(closer, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + term.mirror)));
}

// Output bytes j .. j + 7: their window sums (modulo 2^32) into sums.
VF_SSE2_TARGET void FoldedSumsOfBlock(intptr_t j, uint32_t* sums) {
  const FoldedWindow& window = folded_window;
  __m128i low = _mm_setzero_si128(), high = _mm_setzero_si128();
  for (int32_t r = 0; r <= window.radius; ++r) {
    const int16_t* row = window.rows.get() + r * window.length + j;
    const std::vector<Term>& terms = window.terms[r];
    const std::size_t count = terms.size();
    std::size_t t = 0;
    for (; t + 1 < count; t += 2) {
      const __m128i first = FoldedSamples(row, terms[t]);
      const __m128i second = FoldedSamples(row, terms[t + 1]);
      const __m128i weights = blur::WeightPair(static_cast<uint32_t>(terms[t].weight),
                                               static_cast<uint32_t>(terms[t + 1].weight));
      low = blur::AddWeightedLow(low, first, second, weights);
      high = blur::AddWeightedHigh(high, first, second, weights);
    }
    if (t < count) {
      const __m128i last = FoldedSamples(row, terms[t]);
      const __m128i weights = blur::WeightPair(static_cast<uint32_t>(terms[t].weight), 0);
      const __m128i zero = _mm_setzero_si128();
      low = blur::AddWeightedLow(low, last, zero, weights);
      high = blur::AddWeightedHigh(high, last, zero, weights);
    }
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(sums), low);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 4), high);
}

#endif  // VF_HAS_SSE2

void PlainBlurRow(const frame::DibImage& image, const blur::WideRaster& raster, const uint16_t* table,
                  int32_t radius, uint32_t weightSum, int32_t y) {
  const int32_t side = 2 * radius + 1;
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

}  // namespace

uint32_t WeightSum(const uint16_t* table, int32_t radius) {
  uint32_t sum = 0;
  const int64_t entries = blur::ProfileTableEntries(radius);
  for (int64_t i = 0; i < entries; ++i) sum += table[i];
  return sum;
}

void BlurRow(const frame::DibImage& image, const blur::WideRaster& raster, const uint16_t* table,
             int32_t radius, uint32_t weightSum, int32_t y) {
  if (weightSum == 0 || raster.border != radius || !PrepareWindow(table, radius, raster.pitch)) {
    PlainBlurRow(image, raster, table, radius, weightSum, y);
    return;
  }
  FoldRows(raster, radius, y);
  uint8_t* out = image.Row(y);
  const intptr_t rowBytes = 3 * static_cast<intptr_t>(image.width);
  intptr_t j = 0;
#ifdef VF_HAS_SSE2
  if (frame::CanUseSse2()) {
    uint32_t sums[kBlock];
    for (; j + kBlock <= rowBytes; j += kBlock) {
      FoldedSumsOfBlock(j, sums);
      for (int32_t k = 0; k < kBlock; ++k) out[j + k] = static_cast<uint8_t>(sums[k] / weightSum);
    }
  }
#endif
  for (; j < rowBytes; ++j) out[j] = static_cast<uint8_t>(FoldedSum(j) / weightSum);
}

}  // namespace softblur
