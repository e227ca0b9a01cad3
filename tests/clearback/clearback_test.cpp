// clearback through its exports, with the host's tables on shared and on
// separate storage: the white made transparent, the zones and their
// distance ring, the mask applied and put back, the background corner, the
// ESC per pass, the one-time notice, memory failure, and its dialog.
#include <gtest/gtest.h>

#include <cstdio>

#include "../line_access/layered_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using vftest::Bgr;
using vftest::kBlack;
using vftest::kWhite;

constexpr const char* kNoticeText =
    "　このフィルターは Velmora 1.4e 以降、もしくは\n A/VELMORA 0.0u 以降で動作します。\n\n"
    "　白を透明に置き換えるのでモノトーンの線画以外は\n意図通りの結果にならないかもしれません(^^;。";
constexpr const char* kNoticeCaption = "背景透明化フィルター ( ver 0.01 ) の注意";
constexpr uint32_t kUpperRight = 0, kUpperLeft = 1;
// Scroll codes of WM_HSCROLL.
enum : int32_t {
  SB_LINELEFT,
  SB_LINERIGHT,
  SB_PAGELEFT,
  SB_PAGERIGHT,
  SB_THUMBPOSITION,
  SB_THUMBTRACK,
  SB_ENDSCROLL = 8
};

class ClearBack : public vftest::LineAccessPluginTest {
 protected:
  ClearBack() : LineAccessPluginTest("clearback") {}
  void WriteRecord(int32_t range, uint32_t corner) {
    WriteSettings(vftest::WordBytes({static_cast<uint32_t>(range), corner}));
  }
};

TEST_P(ClearBack, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "背景透明化");
  EXPECT_EQ(plugin_->Kind(), 10);
}

// The first run: the notice, saved at once, then the three passes with their
// progress spans; a white picture becomes white at opacity 0 everywhere.
TEST_P(ClearBack, WhitePictureBecomesTransparentAfterTheNotice) {
  vfhost::LayeredImage image = vftest::UniformLayers(3, 12, kWhite, 255, 0);
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_EQ(outcome.result, 1);
  ASSERT_FALSE(outcome.events.empty());
  EXPECT_EQ(outcome.events[0].type, Event::Type::Message);
  EXPECT_EQ(outcome.events[0].text, kNoticeText);
  EXPECT_EQ(outcome.events[0].caption, kNoticeCaption);
  EXPECT_EQ(outcome.events[0].icon, "information");
  EXPECT_EQ(vftest::Messages(outcome.events).size(), 1u);
  const vftest::ProgressList expected =
      vftest::Append(vftest::Percent({0, 27, 54, 65, 67, 69, 70, 82, 95}), {{0, 0}});
  EXPECT_EQ(vftest::Progress(outcome.events), expected);
  EXPECT_EQ(SavedSettings(), vftest::WordBytes({2, kUpperLeft}));

  for (int32_t y = 0; y < image.height; ++y)
    for (int32_t x = 0; x < image.width; ++x) {
      EXPECT_EQ(vftest::ColourAt(image, x, y), kWhite);
      EXPECT_EQ(vftest::AlphaAt(image, x, y), 0);
    }

  // Never again once the file exists.
  vfhost::LayeredImage again = vftest::UniformLayers(2, 2, kWhite, 255, 0);
  EXPECT_TRUE(vftest::Messages(Run(again).events).empty());
}

// Range 1 (R = 2) with the white corner at (0, 0) and black or grey around:
// grey 128 at distance 1 (alpha-work 127) becomes 85 at opacity 191, black
// in the zone keeps its colour and becomes opaque, distance 2 and beyond is
// untouched.
TEST_P(ClearBack, ZoneTakesTheLightnessOutOfGreyAndMakesBlackOpaque) {
  WriteRecord(1, kUpperLeft);
  vfhost::LayeredImage image = vftest::UniformLayers(3, 3, kBlack, 100, 0);
  vftest::SetColour(image, 0, 0, kWhite);
  vftest::SetColour(image, 1, 0, vftest::Grey(128));
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  const uint8_t expectedAlpha[3][3] = {{0, 191, 100}, {255, 255, 100}, {100, 100, 100}};
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(vftest::AlphaAt(image, x, y), expectedAlpha[y][x]) << x << "," << y;
  EXPECT_EQ(vftest::ColourAt(image, 0, 0), kWhite);
  EXPECT_EQ(vftest::ColourAt(image, 1, 0), vftest::Grey(85));
  EXPECT_EQ(vftest::ColourAt(image, 0, 1), kBlack);
  EXPECT_EQ(vftest::ColourAt(image, 1, 1), kBlack);
}

// White pixels take the alpha-work value itself as opacity, so they show the
// ring: with range 1 a lone red background pixel gives 127 to its direct and
// 180 to its diagonal neighbours. The background is the upper-right pixel,
// whose zone is cut off by the edges.
TEST_P(ClearBack, RingOfALoneBackgroundPixelAndTheClippedCornerZone) {
  WriteRecord(1, kUpperRight);
  const Bgr red{0, 0, 255};
  vfhost::LayeredImage image = vftest::UniformLayers(7, 7, kWhite, 77, 0);
  vftest::SetColour(image, 6, 0, red);
  vftest::SetColour(image, 3, 3, red);
  Run(image);
  std::vector<uint8_t> expected(49, 77);
  auto at = [&](int32_t x, int32_t y) -> uint8_t& { return expected[y * 7 + x]; };
  for (auto [x, y] : {std::pair{3, 3}, {6, 0}}) {
    at(x, y) = 255;  // red: no lightness to take, fully opaque
    for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
      if (x + dx < 7 && y + dy >= 0) at(x + dx, y + dy) = 127;
    for (auto [dx, dy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
      if (x + dx < 7 && y + dy >= 0) at(x + dx, y + dy) = 180;
  }
  EXPECT_EQ(image.alpha, expected);
  EXPECT_EQ(vftest::ColourAt(image, 3, 3), red);
  EXPECT_EQ(vftest::ColourAt(image, 4, 4), kWhite);
}

// Mask 255 keeps colour and opacity; mask 128 at a background pixel lifts
// alpha-work 0 to 128. The mask plane is what it was, never the zeros the
// run writes in between.
TEST_P(ClearBack, MaskProtectsAndIsPutBack) {
  WriteRecord(2, kUpperLeft);
  vfhost::LayeredImage image = vftest::UniformLayers(3, 2, vftest::Grey(200), 50, 0);
  vftest::MaskAt(image, 1, 0) = 255;
  vftest::MaskAt(image, 2, 0) = 128;
  vftest::MaskAt(image, 0, 1) = 7;
  const std::vector<uint8_t> maskBefore = image.mask;
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_EQ(image.mask, maskBefore);
  // Free background pixel: a = 0, lightness 200.
  EXPECT_EQ(vftest::AlphaAt(image, 1, 1), 55);
  EXPECT_EQ(vftest::ColourAt(image, 1, 1), vftest::Grey(0));
  // Protected.
  EXPECT_EQ(vftest::AlphaAt(image, 1, 0), 50);
  EXPECT_EQ(vftest::ColourAt(image, 1, 0), vftest::Grey(200));
  // a = 128: opacity 255 - (127 x 200) / 255 = 156, colour (101 x 255) / 156.
  EXPECT_EQ(vftest::AlphaAt(image, 2, 0), 156);
  EXPECT_EQ(vftest::ColourAt(image, 2, 0), vftest::Grey(165));
  // Save, clear, restore: three mask transfers a row, plus pass 3's alpha.
  EXPECT_EQ(outcome.lineCalls.planeWrites, 3 * 2);
  EXPECT_EQ(outcome.lineCalls.planeReads, 2 + 2);
}

// An ESC ends the pass that runs; the later passes start and, the key still
// being reported, end after their first row. Rows that pass 1 never read are
// never written.
TEST_P(ClearBack, EscEndsEachRunningPassAndUnreadRowsStayUntouched) {
  WriteRecord(2, kUpperLeft);
  constexpr int32_t kHeight = 7;
  struct Case {
    const char* name;
    long escFromPoll;  // 0: never
    int32_t rowsWritten;
    long polls;
    vftest::ProgressList progress;
  };
  const Case cases[] = {
      {"in pass 1", 1, 1, 3, vftest::Percent({0, 65, 70})},
      {"in pass 2", kHeight + 1, 1, kHeight + 2, vftest::Percent({0, 46, 65, 70})},
      {"in pass 3 after two rows", 2 * kHeight + 2, 2, 2 * kHeight + 2, vftest::Percent({0, 46, 65, 68, 70})},
      {"never", 0, kHeight, 3 * kHeight, vftest::Percent({0, 46, 65, 68, 70, 91})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vfhost::LayeredImage image = vftest::UniformLayers(3, kHeight, kWhite, 255, 0);
    vftest::MaskAt(image, 2, kHeight - 1) = 9;
    vfhost::RunOptions options = Options();
    if (c.escFromPoll) options.escFromPoll = c.escFromPoll;
    const vfhost::RunOutcome outcome = Run(image, options);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.escPolls, c.polls);
    EXPECT_EQ(vftest::Progress(outcome.events), vftest::Append(c.progress, {{0, 0}}));
    EXPECT_EQ(outcome.lineCalls.colourWrites, c.rowsWritten);
    for (int32_t y = 0; y < kHeight; ++y)
      EXPECT_EQ(vftest::AlphaAt(image, 1, y), y < c.rowsWritten ? 0 : 255) << "row " << y;
    EXPECT_EQ(vftest::MaskAt(image, 2, kHeight - 1), 9);
  }
}

// A range that the dialog cannot set (only a hand-made file holds one) runs
// as the nearest of 1 and 30.
TEST_P(ClearBack, RangeOutsideTheDialogsSpanRunsAsTheNearestLimit) {
  auto alphaAfter = [&](int32_t range) {
    WriteRecord(range, kUpperLeft);
    vfhost::LayeredImage image = vftest::UniformLayers(40, 2, kBlack, 10, 0);
    vftest::SetColour(image, 0, 0, kWhite);
    vftest::SetColour(image, 10, 0, vftest::Grey(255));
    for (int32_t x = 1; x < 40; ++x) vftest::SetColour(image, x, 1, vftest::Grey(128));
    EXPECT_EQ(Run(image).result, 1);
    return image.alpha;
  };
  EXPECT_EQ(alphaAfter(0), alphaAfter(1));
  EXPECT_EQ(alphaAfter(-5), alphaAfter(1));
  EXPECT_EQ(alphaAfter(31), alphaAfter(30));
  EXPECT_EQ(alphaAfter(INT32_MAX), alphaAfter(30));
  EXPECT_NE(alphaAfter(30), alphaAfter(1));
}

// A short file fills the leading bytes; the corner keeps what the last load
// left (upper right), so the black corner pixel is the background.
TEST_P(ClearBack, ShortFileKeepsTheRestOfTheRecord) {
  WriteRecord(9, kUpperRight);
  vfhost::LayeredImage first = vftest::UniformLayers(1, 1, kWhite, 255, 0);
  Run(first);
  WriteSettings(vftest::WordBytes({1}));
  vfhost::LayeredImage image = vftest::UniformLayers(3, 1, kWhite, 255, 0);
  vftest::SetColour(image, 2, 0, kBlack);
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  EXPECT_EQ(image.alpha, (std::vector<uint8_t>{255, 127, 255}));
}

TEST_P(ClearBack, SinglePixelIsItsOwnBackground) {
  WriteRecord(30, kUpperRight);
  vfhost::LayeredImage image = vftest::UniformLayers(1, 1, vftest::Grey(90), 255, 0);
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_EQ(vftest::AlphaAt(image, 0, 0), 255 - 90);
  EXPECT_EQ(vftest::ColourAt(image, 0, 0), vftest::Grey(0));
  EXPECT_EQ(outcome.lineCalls.colourReads, 2);  // the background, then pass 1
}

TEST_P(ClearBack, MemoryFailureTouchesNothingAfterTheNotice) {
  for (bool withFile : {true, false}) {
    SCOPED_TRACE(withFile);
    std::remove(SettingsPath().c_str());
    if (withFile) WriteRecord(2, kUpperLeft);
    vfhost::LayeredImage image = vftest::UniformLayers(4, 3, kWhite, 255, 33);
    const vfhost::LayeredImage before = image;
    vfhost::RunOptions options = Options();
    options.failAllocation = -1;
    const vfhost::RunOutcome outcome = Run(image, options);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_TRUE(vftest::Progress(outcome.events).empty());
    EXPECT_EQ(vftest::Messages(outcome.events).size(), withFile ? 0u : 1u);  // only the notice
    EXPECT_EQ(outcome.lineCalls.colourReads + outcome.lineCalls.planeReads + outcome.lineCalls.colourWrites +
                  outcome.lineCalls.planeWrites,
              0);
    EXPECT_EQ(image.colour, before.colour);
    EXPECT_EQ(image.alpha, before.alpha);
    EXPECT_EQ(image.mask, before.mask);
    EXPECT_EQ(SavedSettings(), vftest::WordBytes({2, kUpperLeft}));
  }
}

TEST_P(ClearBack, EmptyPictureEndsAtOnceWithoutTransfers) {
  WriteRecord(2, kUpperLeft);
  for (auto [width, height] : {std::pair{0, 3}, {3, 0}, {-2, 4}}) {
    SCOPED_TRACE(testing::Message() << width << "x" << height);
    vfhost::LayeredImage image;
    image.width = width;
    image.height = height;
    const vfhost::RunOutcome outcome = Run(image);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::Progress(outcome.events), (vftest::ProgressList{{0, 0}}));
    EXPECT_EQ(outcome.lineCalls.colourReads + outcome.lineCalls.planeReads, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Storage, ClearBack, testing::Bool(), vftest::StorageName);

// The dialog.
class ClearBackDialog : public ClearBack {};

TEST_P(ClearBackDialog, ShowsTheRecord) {
  struct Case {
    uint32_t corner;
    int checkedRadio;
  };
  for (const Case& c : {Case{kUpperLeft, 101}, Case{kUpperRight, 102}, Case{2, 101}}) {
    SCOPED_TRACE(c.corner);
    WriteRecord(17, c.corner);
    const vfhost::OptionsOutcome outcome = Dialog({});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(outcome.state->templateName, "SAMPLEDLG");
    const auto* bar = vftest::FindControl(*outcome.state, 1001, "scrollbar");
    const auto* text = vftest::FindControl(*outcome.state, 1002);
    const auto* checked = vftest::FindControl(*outcome.state, c.checkedRadio);
    const auto* other = vftest::FindControl(*outcome.state, 203 - c.checkedRadio);
    ASSERT_TRUE(bar && text && checked && other);
    EXPECT_EQ(bar->minimum, 1);
    EXPECT_EQ(bar->maximum, 30);
    EXPECT_EQ(bar->position, 17);
    EXPECT_EQ(text->text, "17");
    EXPECT_EQ(checked->checked, 1);
    EXPECT_EQ(other->checked, 0);
  }
}

TEST_P(ClearBackDialog, ScrollStepsStopAtTheLimitsAndAreSavedOnOk) {
  struct Case {
    int32_t from;
    int32_t code;
    std::optional<int32_t> position;
    int32_t to;
  };
  const Case cases[] = {
      {5, SB_LINELEFT, {}, 4},     {1, SB_LINELEFT, {}, 1},    {29, SB_LINERIGHT, {}, 30},
      {30, SB_LINERIGHT, {}, 30},  {7, SB_PAGELEFT, {}, 2},    {6, SB_PAGELEFT, {}, 1},
      {24, SB_PAGERIGHT, {}, 29},  {25, SB_PAGERIGHT, {}, 30}, {3, SB_THUMBTRACK, 21, 21},
      {3, SB_THUMBPOSITION, 9, 9}, {12, SB_ENDSCROLL, 2, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " code " << c.code);
    WriteRecord(c.from, kUpperRight);
    DialogAction scroll = Action(DialogAction::Type::Scroll, 1001, "", c.code);
    scroll.position = c.position;
    const vfhost::OptionsOutcome outcome = Dialog({scroll, Action(DialogAction::Type::Ok)});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1002)->text, std::to_string(c.to));
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1001)->position, c.to);
    EXPECT_EQ(SavedSettings(), vftest::WordBytes({static_cast<uint32_t>(c.to), kUpperRight}));
  }
}

TEST_P(ClearBackDialog, OkSavesTheCornerAndCloseSavesNothing) {
  using T = DialogAction::Type;
  std::remove(SettingsPath().c_str());
  Dialog({Action(T::Ok)});  // defaults: the pending notice becomes the upper-left corner
  EXPECT_EQ(SavedSettings(), vftest::WordBytes({2, kUpperLeft}));
  Dialog({Action(T::Click, 102), Action(T::Ok)});
  EXPECT_EQ(SavedSettings(), vftest::WordBytes({2, kUpperRight}));
  Dialog({Action(T::Click, 101), Action(T::Ok)});
  EXPECT_EQ(SavedSettings(), vftest::WordBytes({2, kUpperLeft}));

  const vfhost::OptionsOutcome closed =
      Dialog({Action(T::Click, 102), Action(T::Scroll, 1001, "", SB_LINERIGHT), Action(T::Close)});
  EXPECT_EQ(closed.result, 1);
  EXPECT_EQ(vftest::EventsOfType(closed.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(SavedSettings(), vftest::WordBytes({2, kUpperLeft}));
  // The next run reads the file again, not what the closed dialog left.
  vfhost::LayeredImage image = vftest::UniformLayers(3, 1, kWhite, 255, 0);
  vftest::SetColour(image, 2, 0, kBlack);
  Run(image);
  EXPECT_EQ(vftest::AlphaAt(image, 0, 0), 0);
}

// The dialog does not depend on the storage; one instance is enough.
INSTANTIATE_TEST_SUITE_P(Storage, ClearBackDialog, testing::Values(true), vftest::StorageName);

}  // namespace
