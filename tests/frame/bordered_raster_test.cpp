// The bordered working raster: layout, the three fillings, tiny pictures.
#include "frame/bordered_raster.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame/working_block.h"

namespace {

using frame::BorderFill;
using frame::RasterLayout;

// A DIB's pixel bytes with every pixel distinct: (y, x) holds blue x,
// green y, red 100 + x + y.
struct TestPicture {
  int32_t width, height, stride;
  std::vector<uint8_t> bytes;
  TestPicture(int32_t w, int32_t h) : width(w), height(h), stride(frame::DibStride(w, 24)) {
    bytes.assign(static_cast<size_t>(stride) * h, 0xEE);  // padding bytes marked
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        uint8_t* p = &bytes[y * stride + 3 * x];
        p[0] = static_cast<uint8_t>(x);
        p[1] = static_cast<uint8_t>(y);
        p[2] = static_cast<uint8_t>(100 + x + y);
      }
  }
  frame::DibImage View() { return frame::DibImage{bytes.data(), width, height, stride}; }
};

struct Filled {
  std::vector<uint8_t> block;
  frame::BorderedRaster raster;
};

Filled Fill(TestPicture& picture, const RasterLayout& layout) {
  Filled filled;
  filled.block.assign(frame::BorderedRasterSize(picture.View(), layout), 0xAB);
  filled.raster = frame::FillBorderedRaster(picture.View(), filled.block.data(), layout);
  return filled;
}

// (column, row) of the image pixel whose colour a raster place holds.
std::pair<int, int> SourceOf(const frame::BorderedRaster& raster, int32_t y, int32_t x) {
  const uint8_t* p = raster.Pixel(y, x);
  return {p[0], p[1]};
}

RasterLayout Layout(int32_t border, BorderFill sides, BorderFill rows, BorderFill luminance,
                    uint8_t neutral = 0) {
  RasterLayout layout;
  layout.border = border;
  layout.keepLuminance = true;
  layout.luminanceInitial = neutral;
  layout.colourSides = sides;
  layout.colourRows = rows;
  layout.luminanceBorder = luminance;
  return layout;
}

TEST(Luminance, WeightsAddUpTo256) {
  EXPECT_EQ(frame::Luminance(255, 255, 255), 255);
  EXPECT_EQ(frame::Luminance(0, 0, 0), 0);
  EXPECT_EQ(frame::Luminance(255, 0, 0), 76);  // 77 * 255 >> 8
  EXPECT_EQ(frame::Luminance(0, 255, 0), 150);
  EXPECT_EQ(frame::Luminance(0, 0, 255), 27);
  const uint8_t bgr[3] = {30, 20, 10};
  EXPECT_EQ(frame::LuminanceOfBgr(bgr), (151 * 20 + 77 * 10 + 28 * 30) >> 8);
}

TEST(BorderedRaster, BlockSizeAndLayout) {
  TestPicture picture(5, 3);  // stride 16
  const RasterLayout layout =
      Layout(2, BorderFill::EdgeRepeat, BorderFill::EdgeRepeat, BorderFill::Unfilled, 255);
  EXPECT_EQ(frame::BorderedRasterSize(picture.View(), layout),
            uint64_t{(3 + 4) * (16 + 12) + (5 + 4) * (3 + 4)});
  Filled filled = Fill(picture, layout);
  EXPECT_EQ(filled.raster.pitch, 28);
  EXPECT_EQ(filled.raster.Pixel(0, 0), filled.block.data() + 2 * 28 + 6);
  EXPECT_EQ(filled.raster.luminance, filled.block.data() + 7 * 28);
  EXPECT_EQ(*filled.raster.Lum(1, 2), frame::LuminanceOfBgr(picture.View().Pixel(1, 2)));
  // The neutral border stays at N.
  EXPECT_EQ(*filled.raster.Lum(-2, -2), 255);
  EXPECT_EQ(*filled.raster.Lum(3, 6), 255);
}

TEST(BorderedRaster, WrapAroundTilesThePicture) {
  TestPicture picture(4, 3);
  Filled filled =
      Fill(picture, Layout(1, BorderFill::WrapAround, BorderFill::WrapAround, BorderFill::WrapAround));
  const auto& raster = filled.raster;
  EXPECT_EQ(SourceOf(raster, 1, -1), std::make_pair(3, 1));
  EXPECT_EQ(SourceOf(raster, 1, 4), std::make_pair(0, 1));
  EXPECT_EQ(SourceOf(raster, -1, 2), std::make_pair(2, 2));
  EXPECT_EQ(SourceOf(raster, 3, 2), std::make_pair(2, 0));
  EXPECT_EQ(SourceOf(raster, -1, -1), std::make_pair(3, 2));  // corner: diagonally opposite
  // Luminance corner cells: (0, 0) holds pixel (H-1, W-1) and the last cell pixel (0, 0).
  EXPECT_EQ(*raster.Lum(-1, -1), frame::LuminanceOfBgr(picture.View().Pixel(2, 3)));
  EXPECT_EQ(*raster.Lum(3, 4), frame::LuminanceOfBgr(picture.View().Pixel(0, 0)));
}

TEST(BorderedRaster, EdgeRepeatCopiesTheNearestEdge) {
  TestPicture picture(3, 2);
  Filled filled =
      Fill(picture, Layout(2, BorderFill::EdgeRepeat, BorderFill::EdgeRepeat, BorderFill::EdgeRepeat));
  const auto& raster = filled.raster;
  EXPECT_EQ(SourceOf(raster, 1, -2), std::make_pair(0, 1));
  EXPECT_EQ(SourceOf(raster, 1, -1), std::make_pair(0, 1));
  EXPECT_EQ(SourceOf(raster, 0, 4), std::make_pair(2, 0));
  EXPECT_EQ(SourceOf(raster, -2, -2), std::make_pair(0, 0));
  EXPECT_EQ(SourceOf(raster, 3, 4), std::make_pair(2, 1));
  EXPECT_EQ(*raster.Lum(-2, 1), *raster.Lum(0, 1));
  EXPECT_EQ(*raster.Lum(3, -2), *raster.Lum(1, 0));
}

TEST(BorderedRaster, UnfilledRowsAreNotWritten) {
  TestPicture picture(3, 2);
  Filled filled =
      Fill(picture, Layout(1, BorderFill::WrapAround, BorderFill::Unfilled, BorderFill::Unfilled, 0));
  const uint8_t* below = filled.raster.Pixel(-1, -1);
  for (intptr_t i = 0; i < filled.raster.pitch; ++i) EXPECT_EQ(below[i], 0xAB);
  EXPECT_EQ(*filled.raster.Lum(-1, 0), 0);
  EXPECT_EQ(*filled.raster.Lum(0, -1), 0);
}

// Pictures smaller than the border tile themselves (wrap) or repeat (edge);
// every border place shows a real image pixel.
TEST(BorderedRaster, TinyPicturesNeverReachOutsideTheImage) {
  struct Case {
    int32_t width, height, border;
    BorderFill fill;
  };
  const Case cases[] = {{1, 1, 1, BorderFill::WrapAround}, {1, 5, 2, BorderFill::WrapAround},
                        {5, 1, 2, BorderFill::WrapAround}, {1, 1, 2, BorderFill::EdgeRepeat},
                        {2, 1, 2, BorderFill::WrapAround}, {1, 2, 2, BorderFill::EdgeRepeat}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " b" << c.border);
    TestPicture picture(c.width, c.height);
    Filled filled = Fill(picture, Layout(c.border, c.fill, c.fill, c.fill));
    for (int32_t y = -c.border; y < c.height + c.border; ++y)
      for (int32_t x = -c.border; x < c.width + c.border; ++x) {
        const auto [column, row] = SourceOf(filled.raster, y, x);
        ASSERT_LT(column, c.width);
        ASSERT_LT(row, c.height);
        const int32_t expectColumn = c.fill == BorderFill::WrapAround ? ((x % c.width) + c.width) % c.width
                                                                      : std::min(std::max(x, 0), c.width - 1);
        EXPECT_EQ(column, expectColumn);
        EXPECT_EQ(*filled.raster.Lum(y, x), frame::LuminanceOfBgr(picture.View().Pixel(row, column)));
      }
  }
}

// The luminance plane holds the formula's value for every colour (a picture
// of all 2^24, rows of 4096), and for rows of every width round the blocks
// in which rows are worked (the pixels after the last whole block), with the
// border cells left at N.
TEST(BorderedRaster, LuminanceOfEveryColourAndEveryRowWidth) {
  const RasterLayout layout =
      Layout(1, BorderFill::WrapAround, BorderFill::Unfilled, BorderFill::Unfilled, 7);
  TestPicture everyColour(4096, 4096);
  for (int32_t y = 0; y < 4096; ++y)
    for (int32_t x = 0; x < 4096; ++x) {
      const uint32_t colour = static_cast<uint32_t>(y) * 4096 + static_cast<uint32_t>(x);
      uint8_t* p = &everyColour.bytes[y * everyColour.stride + 3 * x];
      p[0] = static_cast<uint8_t>(colour);
      p[1] = static_cast<uint8_t>(colour >> 8);
      p[2] = static_cast<uint8_t>(colour >> 16);
    }
  const Filled all = Fill(everyColour, layout);
  int64_t wrong = 0;
  for (int32_t y = 0; y < 4096; ++y)
    for (int32_t x = 0; x < 4096; ++x)
      wrong += *all.raster.Lum(y, x) != frame::LuminanceOfBgr(everyColour.View().Pixel(y, x));
  EXPECT_EQ(wrong, 0);

  uint32_t noise = 12345;
  for (int32_t width = 1; width <= 50; ++width) {
    SCOPED_TRACE(testing::Message() << "width " << width);
    TestPicture picture(width, 3);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 3 * width; ++x) {
        noise = noise * 1664525u + 1013904223u;
        picture.bytes[y * picture.stride + x] = static_cast<uint8_t>(noise >> 24);
      }
    const Filled filled = Fill(picture, layout);
    for (int32_t y = 0; y < 3; ++y) {
      EXPECT_EQ(*filled.raster.Lum(y, -1), 7);
      EXPECT_EQ(*filled.raster.Lum(y, width), 7);
      for (int32_t x = 0; x < width; ++x)
        EXPECT_EQ(*filled.raster.Lum(y, x), frame::LuminanceOfBgr(picture.View().Pixel(y, x))) << "x " << x;
    }
  }
}

TEST(BorderedRaster, EmptyAndNegativeSizesNeedOnlyTheBorder) {
  frame::DibImage image{nullptr, -3, -2, -12};
  const RasterLayout layout =
      Layout(1, BorderFill::WrapAround, BorderFill::WrapAround, BorderFill::WrapAround);
  EXPECT_EQ(frame::BorderedRasterSize(image, layout), uint64_t{2 * 6 + 2 * 2});
  std::vector<uint8_t> block(16, 0xAB);
  const frame::BorderedRaster raster = frame::FillBorderedRaster(image, block.data(), layout);
  EXPECT_EQ(raster.width, 0);
  EXPECT_EQ(raster.height, 0);
}

}  // namespace
