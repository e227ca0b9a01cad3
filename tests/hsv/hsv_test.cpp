// The frame's HSV colour space: the conversions both ways, their round trip
// over every 24-bit colour, the quick conversions (one colour, and rows of
// 16-bit fields) against the plain one for every colour, and the HSV
// difference with its two fold points.
#include "frame/hsv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "frame/hsv_lanes.h"

namespace {

using frame::Hsv;

struct Rgb {
  uint32_t r, g, b;
};

struct ToHsvCase {
  Rgb rgb;
  Hsv hsv;
};

TEST(RgbToHsv, KnownColours) {
  const ToHsvCase cases[] = {
      {{255, 0, 0}, {0, 255, 255}},
      {{0, 255, 0}, {120, 255, 255}},
      {{0, 0, 255}, {240, 255, 255}},
      {{255, 255, 0}, {60, 255, 255}},
      {{0, 255, 255}, {180, 255, 255}},
      {{255, 0, 255}, {300, 255, 255}},
      {{255, 128, 0}, {40, 255, 255}},
      {{200, 100, 50}, {30, 191, 200}},
      {{10, 20, 30}, {200, 170, 30}},
      {{0, 0, 0}, {0, 0, 0}},
      {{128, 128, 128}, {0, 0, 128}},
      {{255, 255, 255}, {0, 0, 255}},
      {{1, 0, 0}, {0, 255, 1}},
      {{255, 1, 0}, {0, 255, 255}},
      // Shared minima: the earlier test decides.
      {{0, 0, 9}, {240, 255, 9}},
      {{0, 9, 0}, {120, 255, 9}},
      {{9, 0, 0}, {0, 255, 9}},
      // Green minimum near red: 359, and the wrap of 360 to 0.
      {{255, 0, 1}, {359, 255, 255}},
  };
  for (const ToHsvCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rgb.r << "," << c.rgb.g << "," << c.rgb.b);
    const Hsv hsv = frame::RgbToHsv(c.rgb.r, c.rgb.g, c.rgb.b);
    EXPECT_EQ(hsv.h, c.hsv.h);
    EXPECT_EQ(hsv.s, c.hsv.s);
    EXPECT_EQ(hsv.v, c.hsv.v);
  }
}

TEST(RgbToHsv, UsesOnlyTheLowEightBitsOfAPackedWord) {
  const uint32_t word = 0x00FF8000;  // red 0, green 128, blue 255
  const Hsv packed = frame::RgbToHsv(word, word >> 8, word >> 16);
  const Hsv plain = frame::RgbToHsv(0, 128, 255);
  EXPECT_EQ(packed.h, 199);
  EXPECT_EQ(packed.s, 255);
  EXPECT_EQ(packed.v, 255);
  EXPECT_EQ(plain.h, packed.h);
}

TEST(QuickHsvOfBgr, AgreesWithRgbToHsvForEveryColour) {
  long mismatches = 0;
  for (uint32_t colour = 0; colour < (1u << 24); ++colour) {
    const uint8_t bgr[3] = {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                            static_cast<uint8_t>(colour)};
    const Hsv plain = frame::RgbToHsv(bgr[2], bgr[1], bgr[0]);
    const Hsv quick = frame::QuickHsvOfBgr(bgr);
    if (quick.h != plain.h || quick.s != plain.s || quick.v != plain.v) {
      if (++mismatches <= 5) ADD_FAILURE() << "colour " << colour << " quick " << quick.h << "," << quick.s;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(ConvertToHsvFields, AgreesWithRgbToHsvForEveryColour) {
  // Rows of 4099 places: whole groups of eight and a tail of three.
  constexpr int32_t kRow = 4099;
  std::vector<uint8_t> bgr(3 * kRow);
  std::vector<int16_t> fields(5 * kRow);
  const frame::HsvFields out = {&fields[0], &fields[kRow], &fields[2 * kRow], &fields[3 * kRow],
                                &fields[4 * kRow]};
  long mismatches = 0;
  for (uint32_t first = 0; first < (1u << 24); first += kRow) {
    const int32_t count = static_cast<int32_t>(std::min<uint32_t>(kRow, (1u << 24) - first));
    for (int32_t i = 0; i < count; ++i) {
      const uint32_t colour = first + static_cast<uint32_t>(i);
      bgr[3 * i] = static_cast<uint8_t>(colour >> 16);
      bgr[3 * i + 1] = static_cast<uint8_t>(colour >> 8);
      bgr[3 * i + 2] = static_cast<uint8_t>(colour);
    }
    const auto expectSame = [&](int32_t converted, const char* how) {
      for (int32_t i = 0; i < converted; ++i) {
        const Hsv plain = frame::RgbToHsv(bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]);
        const bool same = out.hue[i] == plain.h && out.saturation[i] == plain.s && out.value[i] == plain.v &&
                          frame::WeightOf(out.weightHigh[i], out.weightLow[i]) == plain.s * plain.v &&
                          out.weightLow[i] < 512;
        if (!same && ++mismatches <= 5)
          ADD_FAILURE() << how << ": colour " << first + static_cast<uint32_t>(i);
      }
    };
    frame::ConvertToHsvFields(bgr.data(), count, out);
    expectSame(count, "the best the processor has");
#ifdef VF_HAS_SSE2
    // The lanes filled one place at a time, for processors without SSSE3.
    if (frame::CanUseSse2()) expectSame(frame::ConvertToHsvFieldsSse2(bgr.data(), count, out), "SSE2");
#endif
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(HsvToRgb, KnownColoursAndGreys) {
  struct Case {
    Hsv hsv;
    Rgb rgb;
  };
  const Case cases[] = {
      {{0, 255, 255}, {255, 0, 0}},
      {{60, 255, 255}, {255, 255, 0}},
      {{40, 255, 255}, {255, 127, 0}},
      {{200, 170, 30}, {10, 20, 30}},
      {{120, 255, 255}, {0, 255, 0}},
      {{240, 255, 255}, {0, 0, 255}},
      {{300, 255, 255}, {255, 0, 255}},
      // Out of range: the hue is taken modulo 360, S and V held to 0 .. 255.
      {{360, 255, 255}, {255, 0, 0}},
      {{-60, 255, 255}, {255, 0, 255}},
      {{0, 300, -5}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hsv.h << "," << c.hsv.s << "," << c.hsv.v);
    uint8_t r = 1, g = 1, b = 1;
    frame::HsvToRgb(c.hsv.h, c.hsv.s, c.hsv.v, &r, &g, &b);
    EXPECT_EQ(r, c.rgb.r);
    EXPECT_EQ(g, c.rgb.g);
    EXPECT_EQ(b, c.rgb.b);
  }
  for (int32_t h = 0; h < 360; h += 7) {
    uint8_t r = 0, g = 0, b = 0;
    frame::HsvToRgb(h, 0, 77, &r, &g, &b);
    EXPECT_TRUE(r == 77 && g == 77 && b == 77) << "hue " << h;
  }
}

TEST(HsvRoundTrip, EveryColourComesBackWithinEight) {
  long unchanged = 0;
  int largestError = 0;
  for (uint32_t colour = 0; colour < (1u << 24); ++colour) {
    const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = colour >> 16;
    const Hsv hsv = frame::RgbToHsv(r, g, b);
    uint8_t r2, g2, b2;
    frame::HsvToRgb(hsv.h, hsv.s, hsv.v, &r2, &g2, &b2);
    const int error =
        std::max({std::abs(int(r2) - int(r)), std::abs(int(g2) - int(g)), std::abs(int(b2) - int(b))});
    if (error == 0) ++unchanged;
    if (error > largestError) largestError = error;
  }
  EXPECT_EQ(unchanged, 4909675);
  EXPECT_EQ(largestError, 8);
}

TEST(HsvDifference, FoldPointsAndGreys) {
  struct Case {
    const char* name;
    Hsv first, second;
    int32_t fold;
    frame::HsvDifference expected;
  };
  const Case cases[] = {
      {"across 0, circular", {0, 255, 255}, {359, 255, 255}, frame::kCircularHueFold, {1, 0, 0}},
      {"across 0, folded at 255", {0, 255, 255}, {359, 255, 255}, frame::kWideHueFold, {151, 0, 0}},
      {"opposite hues, circular", {0, 255, 255}, {180, 255, 255}, frame::kCircularHueFold, {255, 0, 0}},
      {"256 apart, folded at 255", {0, 255, 255}, {256, 255, 255}, frame::kWideHueFold, {254, 0, 0}},
      {"greys", {0, 0, 40}, {0, 0, 200}, frame::kCircularHueFold, {0, 0, 160}},
      {"grey against green", {0, 0, 255}, {120, 255, 255}, frame::kCircularHueFold, {85, 255, 0}},
      {"black against bright cyan", {0, 0, 0}, {180, 255, 255}, frame::kCircularHueFold, {127, 255, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool swapped : {false, true}) {
      const frame::HsvDifference d = swapped ? frame::DifferenceOf(c.second, c.first, c.fold)
                                             : frame::DifferenceOf(c.first, c.second, c.fold);
      EXPECT_EQ(d.hue, c.expected.hue);
      EXPECT_EQ(d.saturation, c.expected.saturation);
      EXPECT_EQ(d.value, c.expected.value);
    }
  }
  EXPECT_EQ(frame::CombinedDifference({127, 255, 255}), 212);
}

}  // namespace
