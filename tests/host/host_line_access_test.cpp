// The host's line-access tables: shared and separate storage, and calls that
// reach outside the image.
#include <gtest/gtest.h>

#include "vfhost/line_access.h"

namespace {

using frame::LineAccessTable;

vfhost::LayeredImage Numbered(int32_t width, int32_t height) {
  vfhost::LayeredImage image(width, height);
  for (size_t i = 0; i < image.colour.size(); ++i) image.colour[i] = static_cast<uint8_t>(i);
  for (size_t i = 0; i < image.alpha.size(); ++i) {
    image.alpha[i] = static_cast<uint8_t>(100 + i);
    image.mask[i] = static_cast<uint8_t>(200 + i);
  }
  return image;
}

// A kind-10 pass as a plug-in makes one: every row read, inverted and
// written, then row 0 and its alpha read once more.
struct SecondReads {
  std::vector<uint8_t> colour, alpha;
};
SecondReads InvertEveryRow(const frame::ImageSize& size, const LineAccessTable& write,
                           const LineAccessTable& read) {
  std::vector<uint8_t> colour(static_cast<size_t>(size.width) * 3), alpha(static_cast<size_t>(size.width));
  for (int32_t row = 0; row < size.height; ++row) {
    read.ColorLine(row, 0, size.width - 1, colour.data(), -1);
    read.PlaneLine(row, 0, size.width - 1, alpha.data(), -1, frame::PLANE_ALPHA);
    for (uint8_t& byte : colour) byte = static_cast<uint8_t>(255 - byte);
    for (uint8_t& byte : alpha) byte = static_cast<uint8_t>(255 - byte);
    write.ColorLine(row, 0, size.width - 1, colour.data(), -1);
    write.PlaneLine(row, 0, size.width - 1, alpha.data(), -1, frame::PLANE_ALPHA);
  }
  SecondReads again{std::vector<uint8_t>(colour.size()), std::vector<uint8_t>(alpha.size())};
  read.ColorLine(0, 0, size.width - 1, again.colour.data(), -1);
  read.PlaneLine(0, 0, size.width - 1, again.alpha.data(), -1, frame::PLANE_ALPHA);
  return again;
}

TEST(LineAccessTables, SharedStorageReadsBackWritesSeparateStorageDoesNot) {
  for (bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "shared" : "separate");
    const vfhost::LayeredImage original = Numbered(3, 2);
    vfhost::LayeredImage image = original;
    vfhost::LineAccessSession session(image, shared);
    const SecondReads again = InvertEveryRow(*session.size(), *session.writeTable(), *session.readTable());

    for (size_t i = 0; i < image.colour.size(); ++i) EXPECT_EQ(image.colour[i], 255 - original.colour[i]);
    for (size_t i = 0; i < image.alpha.size(); ++i) EXPECT_EQ(image.alpha[i], 255 - original.alpha[i]);
    EXPECT_EQ(image.mask, original.mask);
    const std::vector<uint8_t> rowZeroBefore(original.colour.begin(), original.colour.begin() + 9);
    const std::vector<uint8_t> rowZeroAfter(image.colour.begin(), image.colour.begin() + 9);
    EXPECT_EQ(again.colour, shared ? rowZeroAfter : rowZeroBefore);
    EXPECT_EQ(again.alpha[0], shared ? 155 : 100);
    EXPECT_EQ(session.counts().colourReads, 3);
    EXPECT_EQ(session.counts().colourWrites, 2);
    EXPECT_EQ(session.counts().planeReads, 3);
    EXPECT_EQ(session.counts().planeWrites, 2);
    EXPECT_EQ(session.counts().ignored, 0);
  }
}

TEST(LineAccessTables, CallsOutsideTheImageTransferOnlyWhatLiesInside) {
  vfhost::LayeredImage image = Numbered(4, 2);
  const vfhost::LayeredImage original = image;
  vfhost::LineAccessSession session(image, true);
  const LineAccessTable& write = *session.writeTable();
  const LineAccessTable& read = *session.readTable();
  std::vector<uint8_t> buffer(64, 0xEE);

  // Nothing inside: other rows, columns wholly outside, reversed columns,
  // an unknown plane, no buffer.
  write.ColorLine(-1, 0, 3, buffer.data(), -1);
  write.ColorLine(2, 0, 3, buffer.data(), -1);
  write.ColorLine(0, 4, 9, buffer.data(), -1);
  write.ColorLine(0, -5, -1, buffer.data(), -1);
  write.ColorLine(0, 3, 0, buffer.data(), -1);
  write.PlaneLine(0, 0, 3, buffer.data(), -1, 2);
  write.PlaneLine(1, 0, 3, nullptr, -1, frame::PLANE_MASK);
  read.ColorLine(5, 0, 3, buffer.data(), -1);
  EXPECT_EQ(image.colour, original.colour);
  EXPECT_EQ(image.mask, original.mask);
  EXPECT_EQ(buffer, std::vector<uint8_t>(64, 0xEE));
  EXPECT_EQ(session.counts().ignored, 8);

  // Columns -1 .. 4 of a 4-pixel row: buffer pixels 1 .. 4 reach columns 0 .. 3.
  std::vector<uint8_t> plane = {1, 2, 3, 4, 5, 6};
  write.PlaneLine(1, -1, 4, plane.data(), -1, frame::PLANE_MASK);
  EXPECT_EQ(std::vector<uint8_t>(image.mask.begin() + 4, image.mask.end()),
            (std::vector<uint8_t>{2, 3, 4, 5}));
  EXPECT_EQ(std::vector<uint8_t>(image.mask.begin(), image.mask.begin() + 4),
            std::vector<uint8_t>(original.mask.begin(), original.mask.begin() + 4));
  std::vector<uint8_t> colour(6 * 3, 0xEE);
  read.ColorLine(0, -1, 4, colour.data(), -1);
  EXPECT_EQ(std::vector<uint8_t>(colour.begin(), colour.begin() + 3), std::vector<uint8_t>(3, 0xEE));
  EXPECT_EQ(std::vector<uint8_t>(colour.begin() + 3, colour.begin() + 15),
            std::vector<uint8_t>(original.colour.begin(), original.colour.begin() + 12));
  EXPECT_EQ(std::vector<uint8_t>(colour.begin() + 15, colour.end()), std::vector<uint8_t>(3, 0xEE));
}

}  // namespace
