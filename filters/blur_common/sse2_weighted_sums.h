// SSE2 weighted sums of 16-bit samples, shared by the weighted blurs: two
// sample vectors are interleaved and multiplied with a pair of 16-bit
// weights in one multiply-add, so each 32-bit lane gains
// first x weight 1 + second x weight 2. Samples up to 510 (two bytes added)
// and weights up to 8160 keep every lane's products within 31 bits.
//
// SSE2 is the baseline of 64-bit x86; the 32-bit build compiles these
// functions for SSE2 by attribute and calls them only after CanUseSse2().
#pragma once

#include <cstdint>

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define BLUR_HAS_X86 1
#include <emmintrin.h>
#if defined(__GNUC__) && !defined(__SSE2__)
#define BLUR_SSE2_TARGET __attribute__((target("sse2")))
#else
#define BLUR_SSE2_TARGET
#endif
#endif

#ifdef BLUR_HAS_X86
namespace blur {

// Whether the processor runs SSE2 code (always on 64-bit x86).
inline bool CanUseSse2() {
#if defined(__SSE2__) || defined(_M_X64)
  return true;
#else
  static const bool supported = __builtin_cpu_supports("sse2");
  return supported;
#endif
}

// Both weights in every 32-bit lane: the first in the low half.
BLUR_SSE2_TARGET inline __m128i WeightPair(uint32_t first, uint32_t second) {
  return _mm_set1_epi32(static_cast<int32_t>(first | second << 16));
}

// sums[i] + first[i] x weight 1 + second[i] x weight 2 for the 16-bit lanes
// i = 0 .. 3 (AddWeightedLow) or 4 .. 7 (AddWeightedHigh) of the samples.
BLUR_SSE2_TARGET inline __m128i AddWeightedLow(__m128i sums, __m128i first, __m128i second, __m128i weights) {
  return _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpacklo_epi16(first, second), weights));
}
BLUR_SSE2_TARGET inline __m128i AddWeightedHigh(__m128i sums, __m128i first, __m128i second,
                                                __m128i weights) {
  return _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpackhi_epi16(first, second), weights));
}

}  // namespace blur
#endif  // BLUR_HAS_X86
