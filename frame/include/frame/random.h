// The pseudo-random numbers of the scatter filters and their integer sine.
//
// The generator is a 32-bit linear congruential one: each draw sets
// state = state x 214013 + 2531011 (mod 2^32) and yields bits 16 to 30 of the
// new state, an integer in 0 .. 32767. Seeded with the same value it repeats
// the same draws, so a run with a pinned clock is reproducible.
#pragma once

#include <cstdint>

namespace frame {

constexpr int32_t kLargestDraw = 32767;

class RandomGenerator {
 public:
  explicit RandomGenerator(uint32_t seed) : state_(seed) {}

  // 0 .. 32767.
  int32_t Draw() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
  }
  // "draw x n": Draw() x n / 32767, truncated toward zero, so 0 .. n with n
  // itself only for the draw 32767. The product is formed in 64 bits, so any
  // 32-bit n works.
  int32_t DrawTimes(int32_t n);

 private:
  uint32_t state_;
};

// Scales one draw as DrawTimes does.
inline int32_t ScaleDraw(int32_t draw, int32_t n) {
  return static_cast<int32_t>(static_cast<int64_t>(draw) * n / kLargestDraw);
}

inline int32_t RandomGenerator::DrawTimes(int32_t n) {
  return ScaleDraw(Draw(), n);
}

// The generator of one run: seeded with the current time in seconds (the
// frame's clock), its first two draws discarded.
RandomGenerator ClockSeededGenerator();

// The integer nearest to 100 x sin(k degrees), for any k; IntSin(k + 90) is
// the cosine. Held as a table of k = 0 .. 459: a negative k is first replaced
// by (k rem 360) + 360 with the remainder taken toward zero, and a k above
// 450 is looked up as k mod 360.
int32_t IntSin(int32_t degrees);

}  // namespace frame
