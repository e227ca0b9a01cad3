// SSE2 weighted sums of 16-bit samples, shared by the weighted blurs: two
// sample vectors are interleaved and multiplied with a pair of 16-bit
// weights in one multiply-add, so each 32-bit lane gains
// first x weight 1 + second x weight 2. Samples up to 510 (two bytes added)
// and weights up to 8160 keep every lane's products within 31 bits.
// Callers check frame::CanUseSse2() first (frame/simd.h).
#pragma once

#include <cstdint>

#include "frame/simd.h"

#ifdef VF_HAS_SSE2
namespace blur {

// Both weights in every 32-bit lane: the first in the low half.
VF_SSE2_TARGET inline __m128i WeightPair(uint32_t first, uint32_t second) {
  return _mm_set1_epi32(static_cast<int32_t>(first | second << 16));
}

// sums[i] + first[i] x weight 1 + second[i] x weight 2 for the 16-bit lanes
// i = 0 .. 3 (AddWeightedLow) or 4 .. 7 (AddWeightedHigh) of the samples.
VF_SSE2_TARGET inline __m128i AddWeightedLow(__m128i sums, __m128i first, __m128i second, __m128i weights) {
  return _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpacklo_epi16(first, second), weights));
}
VF_SSE2_TARGET inline __m128i AddWeightedHigh(__m128i sums, __m128i first, __m128i second, __m128i weights) {
  return _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpackhi_epi16(first, second), weights));
}

}  // namespace blur
#endif  // VF_HAS_SSE2
