// The suite's HSV colours laid out for wide lanes: rows of places as 16-bit
// fields, and the product of a hue distance with two places' S x V, which
// the hue term of the HSV difference is built from, in 32-bit lanes.
#pragma once

#include <cstdint>

#include "frame/hsv.h"
#include "frame/simd.h"

namespace frame {

// S x V (at most 65025) does not fit a signed 16-bit lane, so it is kept as
// 512 q + low in two fields: weightHigh = 8 q (at most 1016) and weightLow =
// low (at most 511). A hue distance d of at most 255 times the S x V sum of
// two places is then (64 d) x (their weightHigh sum) + d x (their weightLow
// sum), where every factor fits a signed 16-bit lane (16320, 2032 and 1022 at
// most) and the result (at most 255 x 130050) a 32-bit one.
struct HsvFields {
  int16_t* hue;
  int16_t* saturation;
  int16_t* value;
  int16_t* weightHigh;
  int16_t* weightLow;

  // The same fields from place i on.
  HsvFields From(intptr_t i) const {
    return {hue + i, saturation + i, value + i, weightHigh + i, weightLow + i};
  }
};

inline int32_t WeightOf(int32_t weightHigh, int32_t weightLow) {
  return 64 * weightHigh + weightLow;
}

inline void StoreHsvFields(const Hsv& hsv, const HsvFields& out, int32_t i) {
  const int32_t weight = hsv.s * hsv.v;
  out.hue[i] = static_cast<int16_t>(hsv.h);
  out.saturation[i] = static_cast<int16_t>(hsv.s);
  out.value[i] = static_cast<int16_t>(hsv.v);
  out.weightHigh[i] = static_cast<int16_t>(8 * (weight >> 9));
  out.weightLow[i] = static_cast<int16_t>(weight & 511);
}

#ifdef VF_HAS_SSE2

// |a - b| in 16-bit lanes (for differences inside the signed range).
VF_SSE2_TARGET inline __m128i AbsoluteDifferences16(__m128i a, __m128i b) {
  return _mm_max_epi16(_mm_sub_epi16(a, b), _mm_sub_epi16(b, a));
}

// distance x (S x V of both places) for eight 16-bit lanes, from the sums of
// both places' weightHigh and weightLow: lanes 0-3 into *first, 4-7 into
// *second, as 32-bit lanes.
VF_SSE2_TARGET inline void HueWeightProducts(__m128i distance, __m128i weightHighSum, __m128i weightLowSum,
                                             __m128i* first, __m128i* second) {
  const __m128i scaled = _mm_slli_epi16(distance, 6);
  *first =
      _mm_madd_epi16(_mm_unpacklo_epi16(scaled, distance), _mm_unpacklo_epi16(weightHighSum, weightLowSum));
  *second =
      _mm_madd_epi16(_mm_unpackhi_epi16(scaled, distance), _mm_unpackhi_epi16(weightHighSum, weightLowSum));
}

// n / d, truncated, in 16-bit lanes for n < 2^16 and d from 1 to 510 with
// n / d at most 255, through single-precision division: n and d are exact,
// the quotient is correctly rounded, so an integer quotient comes out exact
// and any other lies at least 1 / d > 255 x 2^-24 (the rounding error at
// most) from the integers beside it.
static_assert(255 * 510 < (1 << 24), "the float quotient truncates to the integer one");
VF_SSE2_TARGET inline __m128i TruncatedQuotients32(__m128i n, __m128i d) {
  return _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(n), _mm_cvtepi32_ps(d)));
}
VF_SSE2_TARGET inline __m128i TruncatedQuotients16(__m128i n, __m128i d) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_packs_epi32(TruncatedQuotients32(_mm_unpacklo_epi16(n, zero), _mm_unpacklo_epi16(d, zero)),
                         TruncatedQuotients32(_mm_unpackhi_epi16(n, zero), _mm_unpackhi_epi16(d, zero)));
}

VF_SSE2_TARGET inline void StoreLanes(int16_t* at, __m128i lanes) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(at), lanes);
}

// QuickHsvOfBgr on eight places whose blue, green and red are in 16-bit lanes.
VF_SSE2_TARGET inline void StoreHsvFieldsOf8(__m128i blue, __m128i green, __m128i red, const HsvFields& out,
                                             int32_t i) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  const __m128i max = _mm_max_epi16(_mm_max_epi16(red, green), blue);
  const __m128i min = _mm_min_epi16(_mm_min_epi16(red, green), blue);
  const __m128i dRed = _mm_sub_epi16(red, min), dGreen = _mm_sub_epi16(green, min),
                dBlue = _mm_sub_epi16(blue, min);
  const __m128i sum = _mm_add_epi16(_mm_add_epi16(dRed, dGreen), dBlue);
  const __m128i redMinimum = _mm_cmpeq_epi16(dRed, zero);
  const __m128i greenMinimum = _mm_andnot_si128(redMinimum, _mm_cmpeq_epi16(dGreen, zero));
  const __m128i otherMinimum = _mm_or_si128(redMinimum, greenMinimum);
  const __m128i towards =
      _mm_or_si128(_mm_or_si128(_mm_and_si128(redMinimum, dBlue), _mm_and_si128(greenMinimum, dRed)),
                   _mm_andnot_si128(otherMinimum, dGreen));
  const __m128i sectorStart = _mm_or_si128(_mm_and_si128(redMinimum, _mm_set1_epi16(120)),
                                           _mm_and_si128(greenMinimum, _mm_set1_epi16(240)));
  __m128i hue = _mm_add_epi16(
      TruncatedQuotients16(_mm_mullo_epi16(towards, _mm_set1_epi16(120)), _mm_max_epi16(sum, one)),
      sectorStart);
  hue = _mm_sub_epi16(hue, _mm_and_si128(_mm_cmpgt_epi16(hue, _mm_set1_epi16(359)), _mm_set1_epi16(360)));
  hue = _mm_andnot_si128(_mm_cmpeq_epi16(sum, zero), hue);
  // (max - min) x 255 is at most 65025: unsigned 16-bit, unpacked with zeros.
  const __m128i saturation =
      _mm_andnot_si128(_mm_cmpeq_epi16(max, zero),
                       TruncatedQuotients16(_mm_mullo_epi16(_mm_sub_epi16(max, min), _mm_set1_epi16(255)),
                                            _mm_max_epi16(max, one)));
  const __m128i weight = _mm_mullo_epi16(saturation, max);  // at most 65025, unsigned
  StoreLanes(out.hue + i, hue);
  StoreLanes(out.saturation + i, saturation);
  StoreLanes(out.value + i, max);
  StoreLanes(out.weightHigh + i, _mm_slli_epi16(_mm_srli_epi16(weight, 9), 3));
  StoreLanes(out.weightLow + i, _mm_and_si128(weight, _mm_set1_epi16(511)));
}

// Eight places at a time, their bytes gathered into lanes one by one.
VF_SSE2_TARGET inline int32_t ConvertToHsvFieldsSse2(const uint8_t* bgr, int32_t count,
                                                     const HsvFields& out) {
  int32_t i = 0;
  for (; i + 8 <= count; i += 8, bgr += 24) {
    int16_t channels[3][8];
    for (int32_t k = 0; k < 8; ++k) {
      channels[0][k] = bgr[3 * k];
      channels[1][k] = bgr[3 * k + 1];
      channels[2][k] = bgr[3 * k + 2];
    }
    StoreHsvFieldsOf8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(channels[0])),
                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(channels[1])),
                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(channels[2])), out, i);
  }
  return i;
}

// Sixteen places at a time, their channels gathered by byte shuffles.
VF_SSSE3_TARGET inline int32_t ConvertToHsvFieldsSsse3(const uint8_t* bgr, int32_t count,
                                                       const HsvFields& out) {
  const __m128i zero = _mm_setzero_si128();
  int32_t i = 0;
  for (; i + 16 <= count; i += 16, bgr += 48) {
    const __m128i parts[3] = {LoadBytes(bgr), LoadBytes(bgr + 16), LoadBytes(bgr + 32)};
    const __m128i blue = GatherChannel(parts, 0), green = GatherChannel(parts, 1),
                  red = GatherChannel(parts, 2);
    StoreHsvFieldsOf8(_mm_unpacklo_epi8(blue, zero), _mm_unpacklo_epi8(green, zero),
                      _mm_unpacklo_epi8(red, zero), out, i);
    StoreHsvFieldsOf8(_mm_unpackhi_epi8(blue, zero), _mm_unpackhi_epi8(green, zero),
                      _mm_unpackhi_epi8(red, zero), out, i + 8);
  }
  return i;
}

#endif  // VF_HAS_SSE2

// count places of 3 bytes each (blue, green, red) from bgr into out, with the
// results of RgbToHsv.
inline void ConvertToHsvFields(const uint8_t* bgr, int32_t count, const HsvFields& out) {
  int32_t i = 0;
#ifdef VF_HAS_SSE2
  if (CanUseSsse3()) {
    i = ConvertToHsvFieldsSsse3(bgr, count, out);
  } else if (CanUseSse2()) {
    i = ConvertToHsvFieldsSse2(bgr, count, out);
  }
#endif
  for (; i < count; ++i) StoreHsvFields(QuickHsvOfBgr(bgr + 3 * i), out, i);
}

}  // namespace frame
