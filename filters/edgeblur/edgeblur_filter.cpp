// edgeblur's pass over the picture: sixteen pixels at a time where the
// processor allows, the rest one by one.
#include "edgeblur_filter.h"

#include <cstring>

#include "edgeblur_kernels.h"
#include "frame/simd.h"

namespace edgeblur {
namespace {
#ifdef VF_HAS_SSE2

// The chosen kernel's places in one orientation: colour-raster offsets from
// the pixel and their weights, zero weights left out.
struct OrientedKernel {
  intptr_t offset[8];
  uint32_t weight[8];
  int32_t places;
};

// The three kernels in each of the eight orientations, [kernel][orientation]
// with orientation = mirrorX + 2 mirrorY + 4 transpose, mapped back exactly
// as BlurredPixel maps them.
struct KernelTable {
  OrientedKernel entry[3][8];
};

KernelTable KernelTableFor(intptr_t pitch) {
  const Kernel* const kernels[3] = {&kKernel1, &kKernel2, &kKernel3};
  KernelTable table;
  for (int32_t k = 0; k < 3; ++k) {
    for (int32_t orientation = 0; orientation < 8; ++orientation) {
      const int32_t sx = (orientation & 1) != 0 ? -1 : 1;
      const int32_t sy = (orientation & 2) != 0 ? -1 : 1;
      const bool transpose = (orientation & 4) != 0;
      OrientedKernel& oriented = table.entry[k][orientation];
      oriented.places = 0;
      for (int32_t cy = -2; cy <= 2; ++cy) {
        for (int32_t cx = -2; cx <= 2; ++cx) {
          const uint32_t weight = kernels[k]->weight[cy + 2][cx + 2];
          if (weight == 0) continue;
          const int32_t dy = transpose ? -cx * sy : cy * sy;
          const int32_t dx = transpose ? -cy * sx : cx * sx;
          oriented.offset[oriented.places] = dy * pitch + 3 * dx;
          oriented.weight[oriented.places] = weight;
          ++oriented.places;
        }
      }
    }
  }
  return table;
}

// The weighted mean of one oriented kernel at pixel, divided by the kernel's
// constant sum so that the division is a multiplication.
void WeightedMean(const OrientedKernel& oriented, int32_t kernel, const uint8_t* pixel, uint8_t* colour) {
  uint32_t sums[3] = {0, 0, 0};
  for (int32_t j = 0; j < oriented.places; ++j) {
    const uint8_t* place = pixel + oriented.offset[j];
    const uint32_t weight = oriented.weight[j];
    for (int32_t i = 0; i < 3; ++i) sums[i] += weight * place[i];
  }
  for (int32_t i = 0; i < 3; ++i) {
    switch (kernel) {
      case 0:
        colour[i] = static_cast<uint8_t>(sums[i] / kKernel1.sum);
        break;
      case 1:
        colour[i] = static_cast<uint8_t>(sums[i] / kKernel2.sum);
        break;
      default:
        colour[i] = static_cast<uint8_t>(sums[i] / kKernel3.sum);
        break;
    }
  }
}

// a < b, unsigned bytes, as a mask.
VF_SSE2_TARGET inline __m128i Below(__m128i a, __m128i b) {
  const __m128i all = _mm_set1_epi8(-1);
  return _mm_xor_si128(_mm_cmpeq_epi8(_mm_max_epu8(a, b), a), all);
}

// u + v for the low (or high) eight bytes, in 16 bits.
VF_SSE2_TARGET inline __m128i WidenedSum(__m128i u, __m128i v, bool high) {
  const __m128i zero = _mm_setzero_si128();
  return high ? _mm_add_epi16(_mm_unpackhi_epi8(u, zero), _mm_unpackhi_epi8(v, zero))
              : _mm_add_epi16(_mm_unpacklo_epi8(u, zero), _mm_unpacklo_epi8(v, zero));
}

// a0 + a1 < b0 + b1 for bytes, summed in 16 bits, as a byte mask.
VF_SSE2_TARGET inline __m128i SumBelow(__m128i a0, __m128i a1, __m128i b0, __m128i b1) {
  return _mm_packs_epi16(_mm_cmplt_epi16(WidenedSum(a0, a1, false), WidenedSum(b0, b1, false)),
                         _mm_cmplt_epi16(WidenedSum(a0, a1, true), WidenedSum(b0, b1, true)));
}

// c - v >= T for signed differences: c at least T above v, the subtraction
// saturated at 0, and c >= v itself (which T = 0 alone would not give).
VF_SSE2_TARGET inline __m128i DarkerBy(__m128i c, __m128i v, __m128i threshold) {
  const __m128i difference = _mm_subs_epu8(c, v);
  return _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(difference, threshold), difference),
                       _mm_cmpeq_epi8(_mm_max_epu8(c, v), c));
}

// Row y, 16 pixels at a time while the block's 5 x 5 windows stay inside
// the plane row; returns the first pixel not covered. The orientation and
// the kernel choice are worked out for the sixteen at once, from the values
// the reflections bring to the deciding places: with sx = -1 after mirrorX
// (else 1) and sy likewise, the reflected n(dy, dx) is the original
// n(sy dy, sx dx), and after the transpose n(-sy dx, -sx dy). Only the
// pixels chosen are summed, one by one, with their oriented kernel.
VF_SSE2_TARGET int32_t BlurBlocksSse2(const frame::DibImage& image, const frame::BorderedRaster& raster,
                                      const KernelTable& table, int32_t y, uint8_t threshold,
                                      int64_t& processed) {
  const intptr_t up = raster.luminancePitch;
  const __m128i limit = _mm_set1_epi8(static_cast<char>(threshold));
  int32_t x = 0;
  for (; x + 16 <= image.width; x += 16) {
    const uint8_t* centre = raster.Lum(y, x);
    const __m128i c = frame::LoadBytes(centre);
    const __m128i left = frame::LoadBytes(centre - 1), right = frame::LoadBytes(centre + 1);
    const __m128i lower = frame::LoadBytes(centre - up), upper = frame::LoadBytes(centre + up);
    const __m128i mirrorX = SumBelow(left, frame::LoadBytes(centre - 2), right, frame::LoadBytes(centre + 2));
    const __m128i mirrorY =
        SumBelow(upper, frame::LoadBytes(centre + 2 * up), lower, frame::LoadBytes(centre - 2 * up));
    // The original places (a, sx) and (a, -sx) for rows a = -1 and +1.
    const __m128i lowerLeft = frame::LoadBytes(centre - up - 1),
                  lowerRight = frame::LoadBytes(centre - up + 1);
    const __m128i upperLeft = frame::LoadBytes(centre + up - 1),
                  upperRight = frame::LoadBytes(centre + up + 1);
    const __m128i lowerAhead = frame::SelectBytes(mirrorX, lowerLeft, lowerRight);
    const __m128i lowerBehind = frame::SelectBytes(mirrorX, lowerRight, lowerLeft);
    const __m128i upperAhead = frame::SelectBytes(mirrorX, upperLeft, upperRight);
    const __m128i upperBehind = frame::SelectBytes(mirrorX, upperRight, upperLeft);
    const __m128i side = frame::SelectBytes(mirrorX, left, right);                         // (0, sx)
    const __m128i below = frame::SelectBytes(mirrorY, upper, lower);                       // (-sy, 0)
    const __m128i farCorner = frame::SelectBytes(mirrorY, lowerAhead, upperAhead);         // (sy, sx)
    const __m128i nearCorner = frame::SelectBytes(mirrorY, upperAhead, lowerAhead);        // (-sy, sx)
    const __m128i oppositeCorner = frame::SelectBytes(mirrorY, upperBehind, lowerBehind);  // (-sy, -sx)
    const __m128i transpose = Below(oppositeCorner, farCorner);
    const __m128i rightDarker = DarkerBy(c, frame::SelectBytes(transpose, below, side), limit);
    if (_mm_movemask_epi8(rightDarker) == 0) continue;
    const __m128i lowerDarker = DarkerBy(c, frame::SelectBytes(transpose, side, below), limit);
    const __m128i upperRightDarker =
        DarkerBy(c, frame::SelectBytes(transpose, oppositeCorner, farCorner), limit);
    const __m128i lowerRightDarker = DarkerBy(c, nearCorner, limit);
    const __m128i first = _mm_and_si128(rightDarker, _mm_and_si128(lowerDarker, upperRightDarker));
    const __m128i second = _mm_andnot_si128(upperRightDarker, _mm_and_si128(rightDarker, lowerDarker));
    const __m128i third = _mm_andnot_si128(
        lowerDarker, _mm_and_si128(rightDarker, _mm_and_si128(lowerRightDarker, upperRightDarker)));
    unsigned chosen =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(first, _mm_or_si128(second, third))));
    if (chosen == 0) continue;
    const unsigned firstBits = static_cast<unsigned>(_mm_movemask_epi8(first));
    const unsigned secondBits = static_cast<unsigned>(_mm_movemask_epi8(second));
    const unsigned orientationBits[3] = {static_cast<unsigned>(_mm_movemask_epi8(mirrorX)),
                                         static_cast<unsigned>(_mm_movemask_epi8(mirrorY)),
                                         static_cast<unsigned>(_mm_movemask_epi8(transpose))};
    processed += __builtin_popcount(chosen);
    for (; chosen != 0; chosen &= chosen - 1) {
      const int32_t i = __builtin_ctz(chosen);
      const int32_t kernel = (firstBits >> i & 1) != 0 ? 0 : ((secondBits >> i & 1) != 0 ? 1 : 2);
      const int32_t orientation =
          static_cast<int32_t>((orientationBits[0] >> i & 1) | (orientationBits[1] >> i & 1) << 1 |
                               (orientationBits[2] >> i & 1) << 2);
      WeightedMean(table.entry[kernel][orientation], kernel, raster.Pixel(y, x + i), image.Pixel(y, x + i));
    }
  }
  return x;
}
#endif  // VF_HAS_SSE2

}  // namespace

int64_t ApplyEdgeBlur(const frame::DibImage& image, const frame::BorderedRaster& raster,
                      const Settings& settings, frame::RowCadence& cadence) {
#ifdef VF_HAS_SSE2
  const bool wide = frame::CanUseSse2();
  const KernelTable table = KernelTableFor(raster.pitch);
#endif
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    int32_t x = 0;
#ifdef VF_HAS_SSE2
    if (wide) x = BlurBlocksSse2(image, raster, table, y, settings.threshold, processed);
#endif
    for (; x < image.width; ++x) {
      uint8_t colour[3];
      if (!BlurredPixel(raster, y, x, settings.threshold, colour)) continue;
      std::memcpy(image.Pixel(y, x), colour, 3);
      ++processed;
    }
    cadence.AfterRow(y);
  }
  return processed;
}

}  // namespace edgeblur
