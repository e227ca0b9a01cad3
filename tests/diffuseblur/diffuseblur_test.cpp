// diffuseblur: the neighbour table, the means of a known seed with and
// without the seamless option, tiny and empty pictures, memory failure, and
// the DLGBOX dialog.
#include <gtest/gtest.h>

#include "../support/plugin_test.h"
#include "diffuseblur_filter.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using T = DialogAction::Type;
using ProgressList = std::vector<std::pair<int32_t, int64_t>>;

constexpr const char* kNothingText = "処理できるピクセルがありませんでした（＾＾；。";

TEST(NeighbourOffset, DrawsSplitAtTheTableBounds) {
  struct Case {
    int32_t draw, offset;
  };
  // r = draw x 50 / 32767: 10 from 6554, 30 from 19661, 50 only at 32767.
  const Case cases[] = {{0, -2}, {6553, -2}, {6554, -1}, {19660, -1}, {19661, 1}, {32766, 1}, {32767, 2}};
  for (const Case& c : cases) EXPECT_EQ(diffuseblur::NeighbourOffset(c.draw), c.offset) << c.draw;
  int shares[5] = {};
  for (int32_t draw = 0; draw <= 32767; ++draw) ++shares[diffuseblur::NeighbourOffset(draw) + 2];
  EXPECT_EQ(shares[0], 6554);
  EXPECT_EQ(shares[1], 13107);
  EXPECT_EQ(shares[2], 0);  // never the pixel's own row or column
  EXPECT_EQ(shares[3], 13106);
  EXPECT_EQ(shares[4], 1);
}

class DiffuseBlur : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("diffuseblur");
    ASSERT_TRUE(plugin_);
  }
  std::string SettingsFile() const { return settings_.path() + "diffuseblur.dat"; }
  void WriteSeamless(uint8_t seamless) { vftest::WriteFileBytes(SettingsFile(), {seamless}); }
  vfhost::RunOutcome Run(vfhost::Dib& dib, int64_t time) {
    vfhost::RunOptions options = vftest::OptionsFor(settings_);
    options.time = time;
    return plugin_->RunDib(dib, options);
  }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(DiffuseBlur, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "拡散ぼかし");
  EXPECT_EQ(plugin_->Kind(), 0);
}

// A 4 x 3 picture with a colour of its own in every pixel, at time 5003.
// The offsets (dy, dx) drawn row by row from the bottom are
// (-2,-2) (-2,+1) (-1,-2) (-1,-1) | (-1,-1) (-2,-1) (+1,+1) (+1,+1) |
// (+1,-2) (-1,-1) (-2,+1) (-2,-1); off, the border repeats the edge, on, it
// wraps to the opposite edge.
TEST_F(DiffuseBlur, KnownSeedAveragesWithTheDrawnNeighbour) {
  struct Case {
    uint8_t seamless;
    uint8_t expected[3][4][3];  // [y][x] blue, green, red
  };
  const Case cases[] = {
      {0,
       {{{10, 20, 200}, {100, 20, 125}, {70, 20, 150}, {160, 20, 75}},
        {{10, 70, 200}, {40, 70, 175}, {160, 170, 75}, {190, 170, 50}},
        {{10, 220, 200}, {40, 170, 175}, {160, 120, 75}, {160, 120, 75}}}},
      {1,
       {{{70, 70, 150}, {100, 70, 125}, {70, 120, 150}, {160, 120, 75}},
        {{100, 70, 125}, {40, 170, 175}, {160, 170, 75}, {100, 170, 125}},
        {{70, 120, 150}, {40, 170, 175}, {160, 120, 75}, {160, 120, 75}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.seamless});
    WriteSeamless(c.seamless);
    vfhost::Dib dib(4, 3);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 4; ++x) dib.SetPixel(y, x, 200 - 50 * x, 20 + 100 * y, 10 + 60 * x);
    const vfhost::RunOutcome outcome = Run(dib, 5003);
    EXPECT_EQ(outcome.result, 1);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 4; ++x) {
        const uint8_t* pixel = dib.Pixel(y, x);
        EXPECT_EQ(std::vector<uint8_t>(pixel, pixel + 3),
                  std::vector<uint8_t>(c.expected[y][x], c.expected[y][x] + 3))
            << y << "," << x;
      }
    // BEGIN, one report per row (fewer than 20 rows), END; no message.
    EXPECT_EQ(vftest::Progress(outcome.events), (ProgressList{{2, 0}, {3, 0}, {3, 5}, {3, 10}, {0, 0}}));
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  }
}

TEST_F(DiffuseBlur, UniformPictureStaysAndTheSeedIsTheSecond) {
  vfhost::Dib uniform = vftest::UniformDib(9, 7, 33, 66, 99);
  const std::vector<uint8_t> before = uniform.bytes();
  Run(uniform, 1);
  EXPECT_EQ(uniform.bytes(), before);

  vfhost::Dib noisy(40, 30);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x)
      noisy.SetPixel(y, x, (x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, x * y % 256);
  vfhost::Dib same = noisy, later = noisy;
  Run(noisy, 1700000000);
  Run(same, 1700000000);
  Run(later, 1700000001);
  EXPECT_EQ(noisy.bytes(), same.bytes());
  EXPECT_NE(noisy.bytes(), later.bytes());
}

// Seamless pictures narrower or lower than the border tile themselves: the
// neighbour is read modulo the size.
TEST_F(DiffuseBlur, TinySeamlessPicturesWrapWithinThemselves) {
  struct Case {
    int32_t width, height;
    std::vector<std::vector<uint8_t>> expected;  // pixels row by row, blue, green, red
  };
  const Case cases[] = {
      {1, 1, {{10, 20, 7}}},
      {1, 2, {{10, 20, 7}, {10, 120, 7}}},
      {2, 1, {{10, 20, 7}, {35, 20, 7}}},
      {3, 1, {{35, 20, 7}, {85, 20, 7}, {60, 20, 7}}},
  };
  WriteSeamless(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    vfhost::Dib dib(c.width, c.height);
    for (int32_t y = 0; y < c.height; ++y)
      for (int32_t x = 0; x < c.width; ++x) dib.SetPixel(y, x, 7, 100 * y + 20, 50 * x + 10);
    const vfhost::RunOutcome outcome = Run(dib, 5003);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
    size_t i = 0;
    for (int32_t y = 0; y < c.height; ++y)
      for (int32_t x = 0; x < c.width; ++x, ++i) {
        const uint8_t* pixel = dib.Pixel(y, x);
        EXPECT_EQ(std::vector<uint8_t>(pixel, pixel + 3), c.expected[i]) << y << "," << x;
      }
  }
}

TEST_F(DiffuseBlur, PictureWithoutPixelsIsReportedAsNothingProcessed) {
  for (const auto& [width, height] : {std::pair{4, 0}, std::pair{0, 3}}) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    vfhost::Dib dib(width, height);
    const vfhost::RunOutcome outcome = Run(dib, 5);
    EXPECT_EQ(outcome.result, 1);
    const auto messages = vftest::Messages(outcome.events);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "拡散ぼかし");
    EXPECT_EQ(messages[0].text, kNothingText);
    EXPECT_EQ(messages[0].icon, "information");
    EXPECT_EQ(vftest::Progress(outcome.events).back(), std::make_pair(0, int64_t{0}));
    EXPECT_EQ(outcome.events.back().type, Event::Type::Result);
  }
}

TEST_F(DiffuseBlur, MemoryFailureLeavesThePictureUntouched) {
  vfhost::Dib dib(6, 4);
  dib.SetPixel(1, 1, 255, 255, 255);
  const std::vector<uint8_t> before = dib.bytes();
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.failAllocation = -1;
  const vfhost::RunOutcome outcome = plugin_->RunDib(dib, options);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(dib.bytes(), before);
  const auto messages = vftest::Messages(outcome.events);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, " ごめんなさい");
  EXPECT_EQ(messages[0].text, "グローバルメモリーが確保できませんでした；＿；。");
  EXPECT_EQ(vftest::Progress(outcome.events), (ProgressList{{2, 0}, {0, 0}}));
  EXPECT_EQ(outcome.liveAllocations, 0);
}

TEST_F(DiffuseBlur, FortyRowsReportEveryOtherRow) {
  vfhost::Dib dib(3, 40);
  const ProgressList progress = vftest::Progress(Run(dib, 1).events);
  ASSERT_EQ(progress.size(), 22u);  // BEGIN, rows 0, 2, ..., 38, END
  EXPECT_EQ(progress[20], std::make_pair(3, int64_t{95}));
}

// The dialog.
class DiffuseDialog : public DiffuseBlur {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
};

TEST_F(DiffuseDialog, CheckBoxShowsAndSavesTheOption) {
  struct Case {
    const char* name;
    std::optional<uint8_t> stored;
    std::vector<DialogAction> actions;
    int shownChecked;
    std::optional<std::vector<uint8_t>> saved;  // none: no file
  };
  const Case cases[] = {
      {"no file, OK", std::nullopt, {Action(T::Ok)}, 0, std::vector<uint8_t>{0}},
      {"any non-zero byte is on", uint8_t{7}, {Action(T::Ok)}, 1, std::vector<uint8_t>{1}},
      {"checked", uint8_t{0}, {Action(T::Check, 1008), Action(T::Ok)}, 1, std::vector<uint8_t>{1}},
      {"unchecked", uint8_t{1}, {Action(T::Uncheck, 1008), Action(T::Ok)}, 0, std::vector<uint8_t>{0}},
      {"close keeps the file",
       uint8_t{1},
       {Action(T::Uncheck, 1008), Action(T::Close)},
       0,
       std::vector<uint8_t>{1}},
      {"close without a file creates none",
       std::nullopt,
       {Action(T::Check, 1008), Action(T::Close)},
       1,
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsFile().c_str());
    if (c.stored) WriteSeamless(*c.stored);
    const vfhost::OptionsOutcome outcome = Options(c.actions);
    EXPECT_EQ(outcome.result, 1);
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(outcome.state->templateName, "DLGBOX");
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1008)->checked, c.shownChecked);
    if (c.saved) {
      EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), *c.saved);
    } else {
      EXPECT_FALSE(vftest::FileExists(SettingsFile()));
    }
    const bool ok = c.actions.back().type == T::Ok;
    EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, ok ? 1 : 0);
  }
}

}  // namespace
