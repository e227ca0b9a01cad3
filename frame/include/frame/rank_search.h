// The 3 x 3 rank search of the maximum and minimum filters, their raster and
// their pass over the picture. The search visits the nine places of a pixel's
// neighbourhood in luminance column by column from the left and, within a
// column, from the lower row (lower row index) up; a place replaces the
// running best only when strictly better, so among equal places the first in
// this order wins.
#pragma once

#include <cstdint>
#include <cstring>

#include "frame/bordered_raster.h"
#include "frame/host_interface.h"
#include "frame/progress.h"
#include "frame/simd.h"

namespace frame {

struct RankChoice {
  int32_t dx = 0;
  int32_t dy = 0;
  uint8_t value = 0;
};

// centre points at the pixel's cell of a luminance plane of pitch
// luminancePitch (row + 1 is the row above); start is the running best's
// initial value (0 for the brightest, 255 for the darkest).
template <typename StrictlyBetter>
inline RankChoice FindRankNeighbour(const uint8_t* centre, intptr_t luminancePitch, uint8_t start,
                                    StrictlyBetter better) {
  RankChoice choice;
  choice.value = start;
  for (int32_t dx = -1; dx <= 1; ++dx) {
    for (int32_t dy = -1; dy <= 1; ++dy) {
      const uint8_t v = centre[dy * luminancePitch + dx];
      if (better(v, choice.value)) {
        choice.value = v;
        choice.dx = dx;
        choice.dy = dy;
      }
    }
  }
  return choice;
}

// The raster of the rank filters: border 1 with a luminance plane whose
// border holds the neutral value (which no search can choose); the colour
// sides always wrap around; with the seamless option the colour border rows
// and the luminance border wrap around too, so the picture is one tile.
inline RasterLayout RankRasterLayout(uint8_t neutral, bool seamless) {
  RasterLayout layout;
  layout.border = 1;
  layout.keepLuminance = true;
  layout.luminanceInitial = neutral;
  layout.colourSides = BorderFill::WrapAround;
  layout.colourRows = seamless ? BorderFill::WrapAround : BorderFill::Unfilled;
  layout.luminanceBorder = seamless ? BorderFill::WrapAround : BorderFill::Unfilled;
  return layout;
}

enum class RankOrder { Brightest, Darkest };

namespace rank_detail {

// Pixels from..width - 1 of row y one at a time; returns those changed.
template <bool kBrightest>
int64_t RankPixelsOneByOne(const DibImage& image, const BorderedRaster& raster, int32_t y, int32_t from,
                           uint8_t lower, uint8_t upper) {
  const auto better = [](uint8_t candidate, uint8_t best) {
    return kBrightest ? candidate > best : candidate < best;
  };
  const uint8_t start = kBrightest ? 0 : 255;
  const uint8_t* luminanceRow = raster.Lum(y, 0);
  int64_t processed = 0;
  for (int32_t x = from; x < image.width; ++x) {
    const uint8_t own = luminanceRow[x];
    if (own < lower || own > upper) continue;
    const RankChoice best = FindRankNeighbour(luminanceRow + x, raster.luminancePitch, start, better);
    if (best.value == own) continue;
    std::memcpy(image.Pixel(y, x), raster.Pixel(y + best.dy, x + best.dx), 3);
    ++processed;
  }
  return processed;
}

#ifdef VF_HAS_SSE2
// The nine places as offsets, k = 3 (dx + 1) + (dy + 1) in visiting order.
inline intptr_t PlaceDx(int k) {
  return k / 3 - 1;
}
inline intptr_t PlaceDy(int k) {
  return k % 3 - 1;
}

// Row y, 16 pixels at a time while at least one pixel stays after the block;
// returns the first pixel not covered and adds the changed pixels to
// processed. Per block: the best of the nine places by a running unsigned
// max (or min), which the strict search reaches too; the winner is the
// first place in visiting order equal to the best, found by selecting the
// places in reverse order. A pixel in range whose best is not its own value
// changes; as its own value is one of the nine, the best is then strictly
// better and the search's start value cannot have won. When a block changes
// any pixel all sixteen are written, the unchanged ones with their own colour
// from the raster, which the image holds already. The colours move four
// bytes at a time, each overwriting the next pixel's first byte before that
// pixel is written; the last one moves three.
template <bool kBrightest>
VF_SSE2_TARGET int32_t RankBlocksSse2(const DibImage& image, const BorderedRaster& raster, int32_t y,
                                      uint8_t lower, uint8_t upper, int64_t& processed) {
  const intptr_t up = raster.luminancePitch;
  const uint8_t* luminanceRow = raster.Lum(y, 0);
  const uint8_t* colourRow = raster.Pixel(y, 0);
  uint8_t* imageRow = image.Row(y);
  intptr_t colourOffset[9];
  for (int k = 0; k < 9; ++k) colourOffset[k] = PlaceDy(k) * raster.pitch + 3 * PlaceDx(k);
  const __m128i lowerBound = _mm_set1_epi8(static_cast<char>(lower));
  const __m128i upperBound = _mm_set1_epi8(static_cast<char>(upper));
  const __m128i ownPlace = _mm_set1_epi8(4);
  int32_t x = 0;
  for (; x + 16 < image.width; x += 16) {
    const uint8_t* centre = luminanceRow + x;
    const __m128i own = LoadBytes(centre);
    const __m128i inRange = _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(own, lowerBound), own),
                                          _mm_cmpeq_epi8(_mm_min_epu8(own, upperBound), own));
    if (_mm_movemask_epi8(inRange) == 0) continue;
    const __m128i place[9] = {
        LoadBytes(centre - up - 1),
        LoadBytes(centre - 1),
        LoadBytes(centre + up - 1),
        LoadBytes(centre - up),
        own,
        LoadBytes(centre + up),
        LoadBytes(centre - up + 1),
        LoadBytes(centre + 1),
        LoadBytes(centre + up + 1),
    };
    __m128i best = place[0];
    for (int k = 1; k < 9; ++k)
      best = kBrightest ? _mm_max_epu8(best, place[k]) : _mm_min_epu8(best, place[k]);
    const __m128i changed = _mm_andnot_si128(_mm_cmpeq_epi8(best, own), inRange);
    const int changedBits = _mm_movemask_epi8(changed);
    if (changedBits == 0) continue;
    __m128i winner = _mm_set1_epi8(8);
    for (int k = 7; k >= 0; --k)
      winner = SelectBytes(_mm_cmpeq_epi8(place[k], best), _mm_set1_epi8(static_cast<char>(k)), winner);
    winner = SelectBytes(changed, winner, ownPlace);
    alignas(16) uint8_t chosen[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(chosen), winner);
    const uint8_t* source = colourRow + 3 * x;
    uint8_t* target = imageRow + 3 * x;
    for (int i = 0; i < 15; ++i) std::memcpy(target + 3 * i, source + 3 * i + colourOffset[chosen[i]], 4);
    std::memcpy(target + 45, source + 45 + colourOffset[chosen[15]], 3);
    processed += __builtin_popcount(static_cast<unsigned>(changedBits));
  }
  return x;
}
#endif  // VF_HAS_SSE2

template <bool kBrightest>
int64_t ApplyRankPassOf(const DibImage& image, const BorderedRaster& raster, uint8_t lower, uint8_t upper,
                        RowCadence& cadence) {
#ifdef VF_HAS_SSE2
  const bool wide = CanUseSse2();
#endif
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    int32_t x = 0;
#ifdef VF_HAS_SSE2
    if (wide) x = RankBlocksSse2<kBrightest>(image, raster, y, lower, upper, processed);
#endif
    processed += RankPixelsOneByOne<kBrightest>(image, raster, y, x, lower, upper);
    cadence.AfterRow(y);
  }
  return processed;
}

}  // namespace rank_detail

// One pass of a rank filter: every pixel whose luminance lies in
// lower .. upper takes the colour of the brightest (or darkest) place of its
// neighbourhood, when that place is strictly better than the pixel itself.
// Decisions and colours come from the raster, so no change of the pass feeds
// another; the row cadence reports after each row. Returns the pixels
// changed.
inline int64_t ApplyRankPass(const DibImage& image, const BorderedRaster& raster, uint8_t lower,
                             uint8_t upper, RankOrder order, RowCadence& cadence) {
  return order == RankOrder::Brightest
             ? rank_detail::ApplyRankPassOf<true>(image, raster, lower, upper, cadence)
             : rank_detail::ApplyRankPassOf<false>(image, raster, lower, upper, cadence);
}

}  // namespace frame
