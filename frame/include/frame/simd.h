// SSE2 and SSSE3 for the fast kernels: the attributes that let a function
// use them where they are not the compiler's baseline (32-bit x86 must run
// on any x86, and SSSE3 is beyond the 64-bit baseline), and the run-time
// checks that guard every call of such a function. VF_HAS_SSE2 is defined
// where the intrinsics can be compiled at all.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define VF_HAS_SSE2 1
#include <emmintrin.h>
#include <tmmintrin.h>
#if defined(__GNUC__) && !defined(__SSE2__)
#define VF_SSE2_TARGET __attribute__((target("sse2")))
#else
#define VF_SSE2_TARGET
#endif
#if defined(__GNUC__)
#define VF_SSSE3_TARGET __attribute__((target("ssse3")))
#else
#define VF_SSSE3_TARGET
#endif

namespace frame {

// Sixteen bytes from any address.
VF_SSE2_TARGET inline __m128i LoadBytes(const uint8_t* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

// mask ? a : b, bytewise, for masks of 0x00 / 0xFF bytes.
VF_SSE2_TARGET inline __m128i SelectBytes(__m128i mask, __m128i a, __m128i b) {
  return _mm_xor_si128(b, _mm_and_si128(_mm_xor_si128(a, b), mask));
}

// pshufb masks over the 48 bytes of sixteen pixels in blue, green, red
// order, in three parts of 16. gather[c][s] takes channel c (0 blue, 1
// green, 2 red) from part s: byte j of the result is byte 3 j + c - 16 s of
// the part where that lies in it, else 0. triple[s] spreads sixteen bytes
// (one a pixel) over part s of 48: byte b takes byte (16 s + b) / 3.
struct PixelShuffles {
  alignas(16) int8_t gather[3][3][16];
  alignas(16) int8_t triple[3][16];
};

constexpr PixelShuffles MakePixelShuffles() {
  PixelShuffles shuffles{};
  for (int s = 0; s < 3; ++s) {
    for (int j = 0; j < 16; ++j) {
      for (int c = 0; c < 3; ++c) {
        const int source = 3 * j + c - 16 * s;
        shuffles.gather[c][s][j] = static_cast<int8_t>(source >= 0 && source < 16 ? source : -128);
      }
      shuffles.triple[s][j] = static_cast<int8_t>((16 * s + j) / 3);
    }
  }
  return shuffles;
}

inline constexpr PixelShuffles kPixelShuffles = MakePixelShuffles();

// Channel c of the sixteen pixels whose 48 bytes are parts[0 .. 2].
VF_SSSE3_TARGET inline __m128i GatherChannel(const __m128i parts[3], int c) {
  __m128i channel = _mm_setzero_si128();
  for (int s = 0; s < 3; ++s) {
    const __m128i mask = _mm_load_si128(reinterpret_cast<const __m128i*>(kPixelShuffles.gather[c][s]));
    channel = _mm_or_si128(channel, _mm_shuffle_epi8(parts[s], mask));
  }
  return channel;
}

// Part s of 48 bytes in which each of the sixteen bytes of v stands three
// times, as one value for the three bytes of its pixel.
VF_SSSE3_TARGET inline __m128i TripledPart(__m128i v, int s) {
  return _mm_shuffle_epi8(v, _mm_load_si128(reinterpret_cast<const __m128i*>(kPixelShuffles.triple[s])));
}

// The widest unit the kernels may use: 0 none, 1 SSE2, 2 SSSE3. The
// environment variable VF_SIMD set to "none" or "sse2" holds the kernels
// below what the processor offers, so that the tests can run every fallback
// on any machine, and a user chasing a fault can rule the vector paths out.
inline int SimdCeiling() {
  static const int ceiling = [] {
    const char* setting = std::getenv("VF_SIMD");
    if (setting == nullptr) return 2;
    if (std::strcmp(setting, "none") == 0) return 0;
    if (std::strcmp(setting, "sse2") == 0) return 1;
    return 2;
  }();
  return ceiling;
}

inline bool CanUseSse2() {
#if defined(__SSE2__) || defined(_M_X64)
  const bool processor = true;
#else
  static const bool processor = __builtin_cpu_supports("sse2");
#endif
  return processor && SimdCeiling() >= 1;
}

inline bool CanUseSsse3() {
#if defined(__SSSE3__)
  const bool processor = true;
#else
  static const bool processor = __builtin_cpu_supports("ssse3");
#endif
  return processor && SimdCeiling() >= 2;
}

}  // namespace frame
#endif  // x86
