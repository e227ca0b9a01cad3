// The shared pieces of the weighted blurs: the rounded square root, the
// profile table's worked values and the working raster's borders.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "profile_table.h"
#include "wide_raster.h"

namespace {

using blur::BuildProfileTable;
using blur::RoundedSqrt;

TEST(RoundedSqrt, RoundsUpFromHalfwayAndGivesOneForZero) {
  const struct {
    int32_t n, root;
  } cases[] = {{0, 1},
               {1, 1},
               {2, 2},
               {3, 2},
               {4, 2},
               {5, 2},
               {6, 3},
               {12, 4},
               {66846720, 8176},
               {583705600, 24160},
               {-1, 0},
               {-583705600, 0},
               {2147395599, 46340},
               {16383, 128},
               {16382, 128},
               {16255, 127}};
  for (const auto& c : cases) EXPECT_EQ(RoundedSqrt(c.n), c.root) << c.n;
}

TEST(RoundedSqrt, IsFloorPlusOneExactlyFromMSquaredPlusM) {
  for (int32_t m = 1; m < 3000; m += 7) {
    EXPECT_EQ(RoundedSqrt(m * m + m - 1), m) << m;
    EXPECT_EQ(RoundedSqrt(m * m + m), m + 1) << m;
  }
}

std::vector<uint16_t> Table(int32_t a, int32_t shape) {
  std::vector<uint16_t> table(static_cast<std::size_t>(blur::ProfileTableEntries(a)), 0xBEEF);
  BuildProfileTable(table.data(), a, shape);
  return table;
}

std::vector<uint16_t> CentreRow(const std::vector<uint16_t>& table, int32_t a) {
  const auto side = static_cast<std::size_t>(2 * a + 1);
  return std::vector<uint16_t>(table.begin() + a * side, table.begin() + (a + 1) * side);
}

uint64_t Sum(const std::vector<uint16_t>& table) {
  return std::accumulate(table.begin(), table.end(), uint64_t{0});
}

TEST(ProfileTable, WorkedCentreRowsAndSums) {
  const struct {
    int32_t a, shape;
    std::vector<uint16_t> centreRow;
    uint64_t sum;
  } cases[] = {
      {0, 1, {8064}, 8064},
      {0, 4, {8159}, 8159},
      {0, 7, {8160}, 8160},
      {1, 4, {4064, 8159, 4064}, 33883},
      {2, 4, {2699, 5430, 8159, 5430, 2699}, 76059},
      {5, 1, {115, 469, 1098, 2087, 3664, 8064, 3664, 2087, 1098, 469, 115}, 91100},
      {5, 4, {1334, 2699, 4064, 5430, 6795, 8159, 6795, 5430, 4064, 2699, 1334}, 305299},
      {5, 7, {4529, 6106, 7094, 7724, 8077, 8160, 8077, 7724, 7094, 6106, 4529}, 612472},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "a " << c.a << " shape " << c.shape);
    const std::vector<uint16_t> table = Table(c.a, c.shape);
    EXPECT_EQ(CentreRow(table, c.a), c.centreRow);
    EXPECT_EQ(Sum(table), c.sum);
  }
}

TEST(ProfileTable, WholeSmallTableAndZeroCorners) {
  EXPECT_EQ(Table(1, 4), (std::vector<uint16_t>{2367, 4064, 2367, 4064, 8159, 4064, 2367, 4064, 2367}));
  const std::vector<uint16_t> large = Table(5, 4);
  EXPECT_EQ(std::vector<uint16_t>(large.begin(), large.begin() + 11),
            (std::vector<uint16_t>{0, 0, 199, 808, 1199, 1334, 1199, 808, 199, 0, 0}));
}

TEST(ProfileTable, EveryShapeIsSymmetricAndWithinRange) {
  for (int32_t shape = 0; shape <= 7; ++shape) {
    for (int32_t a : {0, 3, 30, 100}) {
      const std::vector<uint16_t> table = Table(a, shape);
      const int32_t side = 2 * a + 1;
      for (int32_t r = 0; r < side; ++r) {
        for (int32_t c = 0; c < side; ++c) {
          const uint16_t entry = table[r * side + c];
          ASSERT_LE(entry, 8160);
          ASSERT_EQ(entry, table[c * side + r]);
          ASSERT_EQ(entry, table[(side - 1 - r) * side + c]);
          ASSERT_EQ(entry, table[r * side + (side - 1 - c)]);
        }
      }
    }
  }
}

TEST(ProfileTable, ShapeZeroAndUnknownShapesGiveZeros) {
  for (int32_t shape : {0, 8, 255, -1}) EXPECT_EQ(Sum(Table(3, shape)), 0u) << shape;
}

// The largest table the dialogs allow keeps 255 x the sum within 32 bits.
TEST(ProfileTable, LargestWindowSumFitsThirtyTwoBitsOfBytes) {
  EXPECT_EQ(Sum(Table(30, 7)), 16479884u);
}

// Pixels of a W x H picture numbered 0, 1, 2, ... in every component, so
// that a raster place tells which image pixel it holds.
struct NumberedImage {
  int32_t width, height, stride;
  std::vector<uint8_t> bytes;
  NumberedImage(int32_t w, int32_t h) : width(w), height(h), stride((w * 24 + 31) / 32 * 4) {
    bytes.assign(static_cast<std::size_t>(stride * h), 0);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        for (int32_t i = 0; i < 3; ++i) bytes[y * stride + 3 * x + i] = static_cast<uint8_t>(y * w + x);
  }
  frame::DibImage View() { return frame::DibImage{bytes.data(), width, height, stride}; }
};

int32_t Wrap(int32_t a, int32_t n) {
  return ((a % n) + n) % n;
}
int32_t Clamp(int32_t a, int32_t n) {
  return a < 0 ? 0 : (a >= n ? n - 1 : a);
}

TEST(WideRaster, BordersRepeatTheEdgeOrWrapAroundEvenForTinyPictures) {
  const struct { int32_t width, height, border; } sizes[] = {{5, 4, 2}, {1, 1, 3}, {2, 3, 5}, {3, 1, 30}};
  for (const auto& size : sizes) {
    for (bool wrap : {false, true}) {
      SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " border " << size.border
                                      << (wrap ? " wrap" : " edge"));
      NumberedImage image(size.width, size.height);
      const frame::DibImage view = image.View();
      std::vector<uint8_t> block(blur::WideRasterSize(view, size.border) + 16, 0xEE);
      const blur::WideRaster raster = blur::FillWideRaster(view, block.data(), size.border, wrap);
      ASSERT_EQ(raster.pitch, 3 * (size.width + 2 * size.border));
      for (int32_t y = -size.border; y < size.height + size.border; ++y) {
        for (int32_t x = -size.border; x < size.width + size.border; ++x) {
          const int32_t sy = wrap ? Wrap(y, size.height) : Clamp(y, size.height);
          const int32_t sx = wrap ? Wrap(x, size.width) : Clamp(x, size.width);
          ASSERT_EQ(raster.Pixel(y, x)[1], sy * size.width + sx) << y << "," << x;
        }
      }
      // Nothing is written past the raster.
      EXPECT_EQ(block[blur::WideRasterSize(view, size.border)], 0xEE);
    }
  }
}

}  // namespace
