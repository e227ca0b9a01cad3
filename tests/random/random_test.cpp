// The scatter filters' generator, its scaling and the integer sine table.
#include "frame/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "vfwin/vfwin_host.h"

namespace {

std::vector<int32_t> Draws(frame::RandomGenerator& generator, int count) {
  std::vector<int32_t> draws;
  for (int i = 0; i < count; ++i) draws.push_back(generator.Draw());
  return draws;
}

TEST(RandomGenerator, KnownSeedsGiveTheClassicSequence) {
  frame::RandomGenerator one(1);
  EXPECT_EQ(Draws(one, 6), (std::vector<int32_t>{41, 18467, 6334, 26500, 19169, 15724}));
  frame::RandomGenerator large(1234567);
  EXPECT_EQ(Draws(large, 8), (std::vector<int32_t>{1150, 4571, 2640, 11774, 4033, 26693, 30912, 32494}));
  // The state wraps at 2^32: a seed with the top bit set still yields 15 bits.
  frame::RandomGenerator top(0xFFFFFFFFu);
  for (int32_t draw : Draws(top, 1000)) ASSERT_TRUE(draw >= 0 && draw <= frame::kLargestDraw);
}

TEST(RandomGenerator, ClockSeedDiscardsTwoDraws) {
  VfPinTime(1148);
  frame::RandomGenerator fromClock = frame::ClockSeededGenerator();
  VfUnpinTime();
  frame::RandomGenerator seeded(1148);
  EXPECT_EQ(Draws(seeded, 6), (std::vector<int32_t>{3787, 26122, 16539, 3697, 20738, 30467}));
  EXPECT_EQ(Draws(fromClock, 4), (std::vector<int32_t>{16539, 3697, 20738, 30467}));
}

TEST(RandomGenerator, ScalingTruncatesAndReachesNOnlyForTheLargestDraw) {
  struct Case {
    int32_t draw, n, scaled;
  };
  const Case cases[] = {
      {0, 360, 0},
      {32766, 4, 3},
      {32767, 4, 4},
      {32767, 360, 360},
      {16384, 500, 250},
      {16383, 500, 249},
      {32767, 0, 0},
      {32767, -1, -1},
      {20000, 200000, 122074},  // past 32 bits
      {32767, 2147483647, 2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(frame::ScaleDraw(c.draw, c.n), c.scaled) << c.draw << " x " << c.n;
  }
}

TEST(IntSin, TellingEntries) {
  struct Case {
    int32_t degrees, value;
  };
  const Case cases[] = {
      {0, 0},      {1, 2},     {30, 50},    {45, 71},     {90, 100},   {180, 0},
      {270, -100}, {450, 100}, {459, 99},   {451, 100},   {720, 0},    {-30, -50},
      {-90, -100}, {-360, 0},  {-390, -50}, {-450, -100}, {-1000, 98},
  };
  for (const Case& c : cases) EXPECT_EQ(frame::IntSin(c.degrees), c.value) << c.degrees;
}

TEST(IntSin, EveryEntryIsTheNearestHundredthOfTheSine) {
  const double degree = std::acos(-1.0) / 180.0;
  for (int32_t k = -800; k <= 1200; ++k) {
    ASSERT_EQ(frame::IntSin(k), std::lround(100.0 * std::sin(k * degree))) << k;
  }
}

}  // namespace
