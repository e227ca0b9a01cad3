// spinblur: the 5 x 5 example with its events, the tangent lines with the
// diagonal snap (also with 64-bit products), the centre far above as a
// motion blur, and the suite shared with radialblur.
#include <gtest/gtest.h>

#include "../blur_common/line_blur_suite.h"
#include "profile_table.h"
#include "spinblur_filter.h"

namespace {

using blurtest::LineBlur;

INSTANTIATE_TEST_SUITE_P(Spin, LineBlur,
                         testing::Values(blurtest::LineBlurCase{"spinblur", "spnblr", "CSMS_DLG",
                                                                "spinblur"}));

class SpinBlur : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("spinblur");
    ASSERT_TRUE(plugin_);
  }
  void WriteSettings(uint8_t length, int32_t centerX, int32_t centerY) {
    vftest::WriteFileBytes(settings_.path() + "spinblur.dat",
                           blurtest::SignedFile("spnblr", blurtest::LineRecord(length, centerX, centerY)));
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(SpinBlur, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "円周ぼかし");
  EXPECT_EQ(plugin_->Kind(), 0);
}

TEST_F(SpinBlur, WhitePixelBesideTheCentreSpreadsAlongItsColumn) {
  WriteSettings(1, 4, 2);  // the centre at column 4, row index 5 - 1 - 2 = 2
  vfhost::Dib dib(5, 5);
  dib.SetPixel(2, 1, 255, 255, 255);
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 5; ++x) {
      const uint8_t expected = x != 1 ? 0 : (y == 2 ? 127 : (y == 1 || y == 3 ? 63 : 0));
      for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(dib.Pixel(y, x)[i], expected) << y << "," << x;
    }
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":20}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":40}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":60}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":80}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":100}\n"
            "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
            "{\"event\":\"result\",\"value\":1}\n");
}

TEST_F(SpinBlur, TheCentrePixelKeepsItsColour) {
  const vfhost::Dib source = blurtest::RandomDib(7, 6, 4);
  vfhost::Dib dib = source;
  WriteSettings(3, 2, 6 - 1 - 4);  // column 2, row index 4
  Run(dib);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(dib.Pixel(4, 2)[i], source.Pixel(4, 2)[i]);
  EXPECT_NE(dib.bytes(), source.bytes());
}

TEST_F(SpinBlur, ACentreFarAboveGivesAHorizontalMotionBlur) {
  const int32_t length = 3;
  const vfhost::Dib source = blurtest::RandomDib(9, 6, 5);
  vfhost::Dib dib = source;
  WriteSettings(length, 4, -32000);
  Run(dib);
  std::vector<uint16_t> table(static_cast<std::size_t>(blur::ProfileTableEntries(length)));
  blur::BuildProfileTable(table.data(), length, 4);
  const uint16_t* centreRow = table.data() + length * (2 * length + 1);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 9; ++x)
      for (int32_t i = 0; i < 3; ++i) {
        uint32_t sum = 0, weights = 0;
        for (int32_t k = -length; k <= length; ++k) {
          const int32_t column = std::min(std::max(x + k, 0), 8);
          sum += centreRow[length + k] * uint32_t{source.Pixel(y, column)[i]};
          weights += centreRow[length + k];
        }
        ASSERT_EQ(dib.Pixel(y, x)[i], sum / weights) << y << "," << x;
      }
}

// The samples of one pixel's line for dx = centerX - x and dy = centerY + y - H + 1.
std::vector<std::pair<int32_t, int32_t>> Line(uint8_t length, int32_t dx, int32_t dy) {
  blur::LineBlurSettings settings{length, dx, dy};  // pixel (0, 0) of a picture 1 row high
  std::vector<blur::SampleOffset> offsets(2 * length + 1);
  if (!spinblur::TangentLine(settings, 1, 0, 0, offsets.data())) return {};
  std::vector<std::pair<int32_t, int32_t>> line;
  for (const auto& o : offsets) line.emplace_back(o.rows, o.columns);
  return line;
}

TEST(TangentLine, RunsAtRightAnglesToTheCentreAndSnapsNearDiagonals) {
  using Line_ = std::vector<std::pair<int32_t, int32_t>>;  // (rows, columns) for k = -L .. L
  const struct {
    const char* name;
    uint8_t length;
    int32_t dx, dy;
    Line_ expected;
  } cases[] = {
      {"t = 96 snaps to the diagonal", 2, 25, 24, {{2, 2}, {1, 1}, {0, 0}, {-1, -1}, {-2, -2}}},
      {"t = 104 snaps too", 1, 25, 26, {{1, 1}, {0, 0}, {-1, -1}}},
      {"snap against the sign of dx", 1, -25, 24, {{1, -1}, {0, 0}, {-1, 1}}},
      {"t = 92: (23 k) / 25 columns, truncated", 2, 25, 23, {{2, 1}, {1, 0}, {0, 0}, {-1, 0}, {-2, -1}}},
      {"t = 105 is not snapped: steps by columns", 2, 20, 21, {{1, 2}, {0, 1}, {0, 0}, {0, -1}, {-1, -2}}},
      {"straight above the centre: along the row", 1, 0, 5, {{0, 1}, {0, 0}, {0, -1}}},
      {"beside the centre: along the column", 1, 5, 0, {{1, 0}, {0, 0}, {-1, 0}}},
      {"the centre itself", 1, 0, 0, {}},
      {"products beyond 32 bits", 2, 47000, 46000, {{2, 2}, {1, 1}, {0, 0}, {-1, -1}, {-2, -2}}},
      {"large values, not snapped", 2, 60000, 47000, {{2, 1}, {1, 0}, {0, 0}, {-1, 0}, {-2, -1}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Line(c.length, c.dx, c.dy), c.expected) << c.name;
}

}  // namespace
