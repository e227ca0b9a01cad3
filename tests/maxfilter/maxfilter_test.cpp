// maxfilter through its exports: the pixel rule, ties, borders, messages,
// memory failure, and the MAX_DLG dialog.
#include <gtest/gtest.h>

#include "../support/plugin_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;

constexpr const char* kNothingText = "処理できるピクセルがありませんでした（＾＾；。";

class MaxFilter : public testing::Test {
 protected:
  void SetUp() override { plugin_ = vftest::LoadPlugin("maxfilter"); ASSERT_TRUE(plugin_); }

  void WriteSettings(uint8_t lower, uint8_t upper, uint8_t seamless) {
    vftest::WriteFileBytes(settings_.path() + "maxfilter.dat", {lower, upper, seamless});
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(MaxFilter, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "最大値");
  EXPECT_EQ(plugin_->Kind(), 0);
}

TEST_F(MaxFilter, UniformPictureIsUnchangedWithTheMessageInOrder) {
  vfhost::Dib dib = vftest::UniformDib(5, 3, 90, 90, 90);
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(dib.bytes(), before);
  ASSERT_GE(outcome.events.size(), 7u);
  // BEGIN, three rows of progress, the message, END, the result.
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":5}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":10}\n"
            "{\"event\":\"message\",\"caption\":\" 最大値\",\"text\":\"" +
                std::string(kNothingText) +
                "\",\"icon\":\"information\"}\n"
                "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
                "{\"event\":\"result\",\"value\":1}\n");
}

TEST_F(MaxFilter, BlackOnlyWhitensASingleBlackPixel) {
  WriteSettings(0, 0, 0);
  vfhost::Dib dib = vftest::UniformDib(5, 5, 255, 255, 255);
  dib.SetPixel(2, 2, 0, 0, 0);
  dib.SetPixel(0, 4, 1, 1, 1);  // luminance 1: outside the range
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  const uint8_t* centre = dib.Pixel(2, 2);
  EXPECT_EQ(std::vector<uint8_t>(centre, centre + 3), (std::vector<uint8_t>{255, 255, 255}));
  const uint8_t* dim = dib.Pixel(0, 4);
  EXPECT_EQ(dim[0], 1);
}

// Neighbours of the centre pixel (1, 1) of a 3 x 3 dark picture; the
// brightest place wins, ties go to the left column, then to the lower row.
TEST_F(MaxFilter, TiesGoToTheLeftColumnThenTheLowerRow) {
  struct Place {
    int32_t y, x;
    uint8_t red, green, blue;
  };
  struct Case {
    const char* name;
    std::vector<Place> bright;
    Place winner;
  };
  // (y, x) with y = 0 the bottom row. All bright places have luminance 200
  // in different colours: grey 200 and (red 174, green 218, blue 175) and
  // (red 255, green 200, blue 57).
  const Place greyLowerLeft{0, 0, 200, 200, 200}, greenUpperLeft{2, 0, 174, 218, 175},
      redLowerMiddle{0, 1, 255, 200, 57}, greenUpperRight{2, 2, 174, 218, 175};
  const Case cases[] = {
      {"left column, lower row first", {greenUpperLeft, greyLowerLeft}, greyLowerLeft},
      {"left column before middle", {redLowerMiddle, greenUpperLeft}, greenUpperLeft},
      {"middle before right", {greenUpperRight, redLowerMiddle}, redLowerMiddle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vfhost::Dib dib = vftest::UniformDib(3, 3, 10, 10, 10);
    for (const Place& p : c.bright) dib.SetPixel(p.y, p.x, p.red, p.green, p.blue);
    Run(dib);
    const uint8_t* centre = dib.Pixel(1, 1);
    EXPECT_EQ(centre[2], c.winner.red);
    EXPECT_EQ(centre[1], c.winner.green);
    EXPECT_EQ(centre[0], c.winner.blue);
  }
}

TEST_F(MaxFilter, EqualLuminanceInAnotherColourDoesNotReplace) {
  vfhost::Dib dib = vftest::UniformDib(3, 1, 200, 200, 200);
  dib.SetPixel(0, 1, 255, 200, 57);  // luminance 200 too
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(dib.Pixel(0, 1)[2], 255);
  ASSERT_EQ(vftest::Messages(outcome.events).size(), 1u);
}

TEST_F(MaxFilter, SeamlessDecidesWhetherEdgesSeeTheOppositeEdge) {
  for (uint8_t seamless : {0, 1}) {
    SCOPED_TRACE(int{seamless});
    WriteSettings(0, 255, seamless);
    vfhost::Dib dib = vftest::UniformDib(4, 3, 0, 0, 0);
    for (int32_t y = 0; y < 3; ++y) dib.SetPixel(y, 3, 250, 250, 250);  // bright right column
    Run(dib);
    EXPECT_EQ(dib.Pixel(1, 0)[0], seamless ? 250 : 0);  // left column
    EXPECT_EQ(dib.Pixel(1, 2)[0], 250);                  // beside the bright column in any case
  }
}

TEST_F(MaxFilter, TopAndBottomRowsWrapOnlyWhenSeamless) {
  for (uint8_t seamless : {0, 1}) {
    WriteSettings(0, 255, seamless);
    vfhost::Dib dib = vftest::UniformDib(3, 4, 0, 0, 0);
    dib.SetPixel(3, 1, 250, 250, 250);  // top row
    Run(dib);
    EXPECT_EQ(dib.Pixel(0, 1)[0], seamless ? 250 : 0) << int{seamless};  // bottom row
  }
}

TEST_F(MaxFilter, ChangesDoNotSpreadWithinARun) {
  vfhost::Dib dib = vftest::UniformDib(4, 1, 0, 0, 0);
  dib.SetPixel(0, 0, 255, 255, 255);
  Run(dib);
  EXPECT_EQ(dib.Pixel(0, 1)[0], 255);
  EXPECT_EQ(dib.Pixel(0, 2)[0], 0);
}

TEST_F(MaxFilter, ReversedRangeSelectsNothing) {
  WriteSettings(200, 100, 0);
  vfhost::Dib dib = vftest::UniformDib(3, 3, 0, 0, 0);
  dib.SetPixel(1, 1, 150, 150, 150);
  const vfhost::RunOutcome outcome = Run(dib);
  ASSERT_EQ(vftest::Messages(outcome.events).size(), 1u);
  EXPECT_EQ(vftest::Messages(outcome.events)[0].text, kNothingText);
}

TEST_F(MaxFilter, MemoryFailureLeavesThePictureUntouched) {
  vfhost::Dib dib = vftest::UniformDib(6, 4, 0, 0, 0);
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
  EXPECT_EQ(messages[0].icon, "error");
  EXPECT_EQ(vftest::Progress(outcome.events),
            (std::vector<std::pair<int32_t, int64_t>>{{2, 0}, {0, 0}}));
  EXPECT_EQ(outcome.liveAllocations, 0);
}

TEST_F(MaxFilter, ThirtyNineRowsEndTheCadenceAt190) {
  vfhost::Dib dib = vftest::UniformDib(2, 39, 0, 0, 0);
  const auto progress = vftest::Progress(Run(dib).events);
  ASSERT_EQ(progress.size(), 41u);  // BEGIN, 39 rows, END
  EXPECT_EQ(progress[39], std::make_pair(3, int64_t{190}));
}

// The dialog.
class MaxDialog : public MaxFilter {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
  std::vector<uint8_t> SavedBytes() { return vftest::ReadFileBytes(settings_.path() + "maxfilter.dat"); }
};

TEST_F(MaxDialog, ShowsTheRecordWithUpDowns) {
  WriteSettings(12, 200, 1);
  const vfhost::OptionsOutcome outcome = Options({});
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(outcome.state->templateName, "MAX_DLG");
  const auto* lower = vftest::FindControl(*outcome.state, 1001, "edit");
  const auto* upper = vftest::FindControl(*outcome.state, 1003, "edit");
  const auto* lowerUpDown = vftest::FindControl(*outcome.state, 1010, "updown");
  const auto* seamless = vftest::FindControl(*outcome.state, 1008);
  ASSERT_TRUE(lower && upper && lowerUpDown && seamless);
  EXPECT_EQ(lower->text, "12");
  EXPECT_EQ(upper->text, "200");
  EXPECT_EQ(lowerUpDown->minimum, 0);
  EXPECT_EQ(lowerUpDown->maximum, 255);
  EXPECT_EQ(lowerUpDown->position, 12);
  EXPECT_EQ(seamless->checked, 1);
}

TEST_F(MaxDialog, OkSavesExactlyTheRecord) {
  struct Case {
    const char* name;
    std::vector<DialogAction> actions;
    std::vector<uint8_t> saved;
  };
  using T = DialogAction::Type;
  const Case cases[] = {
      {"defaults", {Action(T::Ok)}, {0, 255, 0}},
      {"typed numbers", {Action(T::Set, 1001, "30"), Action(T::Set, 1003, "40"), Action(T::Ok)}, {30, 40, 0}},
      {"black only", {Action(T::Click, 1006), Action(T::Ok)}, {0, 0, 0}},
      {"process all", {Action(T::Set, 1001, "9"), Action(T::Click, 1007), Action(T::Ok)}, {0, 255, 0}},
      {"seamless", {Action(T::Check, 1008), Action(T::Ok)}, {0, 255, 1}},
      {"not a number reads 0, above 255 stores 255",
       {Action(T::Set, 1001, "abc"), Action(T::Set, 1003, "300"), Action(T::Ok)}, {0, 255, 0}},
      {"negative clamps to 0", {Action(T::Set, 1001, "-1"), Action(T::Set, 1003, "-7"), Action(T::Ok)}, {0, 0, 0}},
      {"up-down arrows", {Action(T::UpDown, 1010, "", 3), Action(T::Ok)}, {3, 255, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove((settings_.path() + "maxfilter.dat").c_str());
    const vfhost::OptionsOutcome outcome = Options(c.actions);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(SavedBytes(), c.saved);
    const auto dialogs = vftest::EventsOfType(outcome.events, Event::Type::Dialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].value, 1);
  }
}

TEST_F(MaxDialog, CloseBoxSavesNothing) {
  WriteSettings(5, 6, 0);
  using T = DialogAction::Type;
  const vfhost::OptionsOutcome outcome = Options({Action(T::Set, 1001, "99"), Action(T::Close)});
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(SavedBytes(), (std::vector<uint8_t>{5, 6, 0}));
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 0);
  // Without a file, closing creates none.
  std::remove((settings_.path() + "maxfilter.dat").c_str());
  Options({Action(T::Close)});
  EXPECT_FALSE(vftest::FileExists(settings_.path() + "maxfilter.dat"));
}

}  // namespace
