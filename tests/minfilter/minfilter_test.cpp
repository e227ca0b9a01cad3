// minfilter through its exports: the pixel rule, ties, borders, the repeated
// passes and how they end (unchanged pass, ESC, fifty passes), messages,
// memory failure, settings files and the MIN_DLG dialog.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "../support/plugin_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using ProgressList = std::vector<std::pair<int32_t, int64_t>>;

constexpr const char* kNothingText = "処理できるピクセルがありませんでした（＾＾；。";

// The progress of one pass over a picture of fewer than 20 rows: a report
// after every row, then PROGRESS_END.
ProgressList PassProgress(int32_t rows) {
  ProgressList progress;
  for (int32_t row = 0; row < rows; ++row) progress.emplace_back(3, 5 * row);
  progress.emplace_back(0, 0);
  return progress;
}

ProgressList RunProgress(int32_t passes, int32_t rows) {
  ProgressList progress = {{2, 0}};
  for (int32_t pass = 0; pass < passes; ++pass) {
    const ProgressList one = PassProgress(rows);
    progress.insert(progress.end(), one.begin(), one.end());
  }
  return progress;
}

std::vector<uint8_t> Colour(const vfhost::Dib& dib, int32_t y, int32_t x) {
  const uint8_t* pixel = dib.Pixel(y, x);
  return {pixel[2], pixel[1], pixel[0]};  // red, green, blue
}

// The picture as text, top row first: '#' black, '.' white, '?' any other.
std::vector<std::string> Drawing(const vfhost::Dib& dib) {
  std::vector<std::string> rows;
  for (int32_t y = dib.height() - 1; y >= 0; --y) {
    std::string row;
    for (int32_t x = 0; x < dib.width(); ++x) {
      const std::vector<uint8_t> colour = Colour(dib, y, x);
      row += colour == std::vector<uint8_t>{0, 0, 0}         ? '#'
             : colour == std::vector<uint8_t>{255, 255, 255} ? '.'
                                                             : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// A black picture with a white square of side `side` in its middle.
vfhost::Dib WhiteSquare(int32_t size, int32_t side) {
  vfhost::Dib dib = vftest::UniformDib(size, size, 0, 0, 0);
  const int32_t first = (size - side) / 2;
  for (int32_t y = first; y < first + side; ++y)
    for (int32_t x = first; x < first + side; ++x) dib.SetPixel(y, x, 255, 255, 255);
  return dib;
}

class MinFilter : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("minfilter");
    ASSERT_TRUE(plugin_);
  }

  std::string SettingsFile() const { return settings_.path() + "minfilter.dat"; }
  void WriteSettings(const std::vector<uint8_t>& bytes) { vftest::WriteFileBytes(SettingsFile(), bytes); }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(MinFilter, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "最小値");
  EXPECT_EQ(plugin_->Kind(), 0);
}

// Without a settings file: white only, repeated. The 5 x 5 white square
// shrinks to 3 x 3, to 1 x 1, and is gone after three passes; the fourth pass
// changes nothing and ends the run without a message.
TEST_F(MinFilter, DefaultsEraseAWhiteSquareInFourPasses) {
  vfhost::Dib dib = WhiteSquare(9, 5);
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(dib.bytes(), vftest::UniformDib(9, 9, 0, 0, 0).bytes());
  EXPECT_EQ(vftest::Progress(outcome.events), RunProgress(4, 9));
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  EXPECT_EQ(outcome.events.back().type, Event::Type::Result);
  EXPECT_EQ(outcome.escPolls, 4);
  EXPECT_FALSE(vftest::FileExists(SettingsFile()));  // the run never writes its settings
}

// One pass at a time (repeat off) shows every step of the shrinking square,
// and the pass that finds nothing names it after its END.
TEST_F(MinFilter, SinglePassesShrinkTheSquareOnePixelEachSide) {
  WriteSettings({255, 255, 0, 0});
  vfhost::Dib dib = WhiteSquare(9, 5);
  for (int32_t side : {3, 1, 0}) {
    SCOPED_TRACE(side);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(dib.bytes(), WhiteSquare(9, side).bytes());
    EXPECT_EQ(vftest::Progress(outcome.events), RunProgress(1, 9));
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  }
  const vfhost::RunOutcome last = Run(dib);
  EXPECT_EQ(last.result, 1);
  std::string expected = "{\"event\":\"progress\",\"code\":2,\"value\":0}\n";
  for (int32_t row = 0; row < 9; ++row)
    expected += "{\"event\":\"progress\",\"code\":3,\"value\":" + std::to_string(5 * row) + "}\n";
  expected +=
      "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
      "{\"event\":\"message\",\"caption\":\" 最小値\",\"text\":\"" +
      std::string(kNothingText) +
      "\",\"icon\":\"information\"}\n"
      "{\"event\":\"result\",\"value\":1}\n";
  EXPECT_EQ(vfhost::TraceText(last.events), expected);
}

TEST_F(MinFilter, UniformPictureEndsSilentlyWhenRepeated) {
  vfhost::Dib dib = vftest::UniformDib(4, 3, 255, 255, 255);
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(dib.bytes(), before);
  EXPECT_EQ(vftest::Progress(outcome.events), RunProgress(1, 3));
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
}

TEST_F(MinFilter, WhiteOnlyClosesAOnePixelGapInABlackLine) {
  WriteSettings({255, 255, 0, 0});
  vfhost::Dib dib = vftest::UniformDib(7, 3, 200, 200, 200);
  for (int32_t x = 0; x < 7; ++x) dib.SetPixel(1, x, 0, 0, 0);
  dib.SetPixel(1, 3, 255, 255, 255);
  Run(dib);
  EXPECT_EQ(Colour(dib, 1, 3), (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(Colour(dib, 2, 3), (std::vector<uint8_t>{200, 200, 200}));  // luminance 200: not white
}

// The centre of a bright 3 x 3 picture and dark places of equal luminance 50
// in different colours: the left column wins, then the lower row.
TEST_F(MinFilter, TiesGoToTheLeftColumnThenTheLowerRow) {
  WriteSettings({0, 255, 0, 0});
  struct Place {
    int32_t y, x;
    uint8_t red, green, blue;
  };
  struct Case {
    const char* name;
    std::vector<Place> dark;
    Place winner;
  };
  const Place greyLowerLeft{0, 0, 50, 50, 50}, redUpperLeft{2, 0, 167, 0, 0},
      greenLowerMiddle{0, 1, 0, 80, 26}, redUpperMiddle{2, 1, 167, 0, 0}, greyUpperRight{2, 2, 50, 50, 50};
  const Case cases[] = {
      {"left column, lower row first", {redUpperLeft, greyLowerLeft}, greyLowerLeft},
      {"left column before middle", {greenLowerMiddle, redUpperLeft}, redUpperLeft},
      {"middle column, lower row first", {redUpperMiddle, greenLowerMiddle}, greenLowerMiddle},
      {"middle before right", {greyUpperRight, redUpperMiddle}, redUpperMiddle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vfhost::Dib dib = vftest::UniformDib(3, 3, 240, 240, 240);
    for (const Place& p : c.dark) dib.SetPixel(p.y, p.x, p.red, p.green, p.blue);
    Run(dib);
    EXPECT_EQ(Colour(dib, 1, 1), (std::vector<uint8_t>{c.winner.red, c.winner.green, c.winner.blue}));
  }
}

TEST_F(MinFilter, EqualLuminanceInAnotherColourDoesNotReplace) {
  WriteSettings({0, 255, 0, 0});
  vfhost::Dib dib = vftest::UniformDib(3, 1, 50, 50, 50);
  dib.SetPixel(0, 1, 167, 0, 0);  // luminance 50 too
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(Colour(dib, 0, 1), (std::vector<uint8_t>{167, 0, 0}));
  EXPECT_EQ(vftest::Messages(outcome.events).size(), 1u);
}

// A white picture with one dark place at the bottom left: whether the top
// row and the right column see it depends on the seamless option.
TEST_F(MinFilter, SeamlessDecidesWhetherEdgesSeeTheOppositeEdge) {
  for (uint8_t seamless : {0, 1}) {
    SCOPED_TRACE(int{seamless});
    WriteSettings({255, 255, seamless, 0});
    vfhost::Dib dib = vftest::UniformDib(5, 4, 255, 255, 255);
    dib.SetPixel(0, 0, 30, 30, 30);
    Run(dib);
    const std::vector<uint8_t> expected =
        seamless ? std::vector<uint8_t>{30, 30, 30} : std::vector<uint8_t>{255, 255, 255};
    EXPECT_EQ(Colour(dib, 3, 0), expected);                            // top row, same column
    EXPECT_EQ(Colour(dib, 0, 4), expected);                            // right column, same row
    EXPECT_EQ(Colour(dib, 3, 4), expected);                            // the opposite corner
    EXPECT_EQ(Colour(dib, 1, 1), (std::vector<uint8_t>{30, 30, 30}));  // inside, in any case
  }
}

// A dark place at the left end of a white row darkens one more pixel per
// pass; the run stops at the ESC seen after a pass, or after fifty passes.
TEST_F(MinFilter, RepeatedPassesStopAtEscapeOrAfterFifty) {
  struct Case {
    const char* name;
    std::optional<int64_t> escFromPoll;
    int32_t passes;
  };
  const Case cases[] = {
      {"ESC seen after the first pass", 1, 1},
      {"ESC seen after the third pass", 3, 3},
      {"no ESC: fifty passes", std::nullopt, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vfhost::Dib dib = vftest::UniformDib(60, 1, 255, 255, 255);
    dib.SetPixel(0, 0, 0, 0, 0);
    vfhost::RunOptions options = vftest::OptionsFor(settings_);
    options.escFromPoll = c.escFromPoll;
    const vfhost::RunOutcome outcome = plugin_->RunDib(dib, options);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::Progress(outcome.events), RunProgress(c.passes, 1));
    EXPECT_EQ(outcome.escPolls, c.passes);
    // Every pass ran to its end: exactly `passes` more pixels are black.
    std::string expected = std::string(static_cast<size_t>(c.passes) + 1, '#') +
                           std::string(static_cast<size_t>(59 - c.passes), '.');
    EXPECT_EQ(Drawing(dib), std::vector<std::string>{expected});
    EXPECT_EQ(outcome.liveAllocations, 0);
  }
}

// A one-byte file sets only lower; the other fields keep what the last load
// left (here the defaults: repeated), so the dark spreads pass after pass.
TEST_F(MinFilter, ShortFileKeepsTheRestOfTheRecord) {
  vfhost::Dib first = vftest::UniformDib(2, 1, 255, 255, 255);
  Run(first);  // no file: the defaults are loaded
  WriteSettings({0});
  vfhost::Dib dib = vftest::UniformDib(5, 1, 100, 100, 100);
  dib.SetPixel(0, 0, 0, 0, 0);
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(Drawing(dib), std::vector<std::string>{"#####"});
  EXPECT_EQ(vftest::Progress(outcome.events), RunProgress(5, 1));
}

TEST_F(MinFilter, ReversedRangeSelectsNothing) {
  for (uint8_t repeat : {0, 1}) {
    SCOPED_TRACE(int{repeat});
    WriteSettings({200, 100, 0, repeat});
    vfhost::Dib dib = vftest::UniformDib(3, 3, 150, 150, 150);
    dib.SetPixel(1, 1, 0, 0, 0);
    const std::vector<uint8_t> before = dib.bytes();
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(dib.bytes(), before);
    EXPECT_EQ(vftest::Messages(outcome.events).size(), repeat ? 0u : 1u);
    EXPECT_EQ(vftest::Progress(outcome.events), RunProgress(1, 3));
  }
}

TEST_F(MinFilter, PictureWithoutRowsRunsOnePassOfNothing) {
  for (uint8_t repeat : {0, 1}) {
    SCOPED_TRACE(int{repeat});
    WriteSettings({0, 255, 0, repeat});
    vfhost::Dib dib(4, 0);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::Progress(outcome.events), (ProgressList{{2, 0}, {0, 0}}));
    EXPECT_EQ(vftest::Messages(outcome.events).size(), repeat ? 0u : 1u);
  }
}

TEST_F(MinFilter, MemoryFailureLeavesThePictureUntouched) {
  vfhost::Dib dib = WhiteSquare(9, 5);
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
  EXPECT_EQ(vftest::Progress(outcome.events), (ProgressList{{2, 0}, {0, 0}}));
  EXPECT_EQ(outcome.escPolls, 0);
  EXPECT_EQ(outcome.liveAllocations, 0);
}

// Every pass counts its cadence from 0 again: 40 rows report 0 .. 95 twice.
TEST_F(MinFilter, EveryPassRestartsTheRowCadence) {
  WriteSettings({255, 255, 0, 1});
  vfhost::Dib dib = vftest::UniformDib(3, 40, 0, 0, 0);
  dib.SetPixel(20, 1, 255, 255, 255);
  const ProgressList progress = vftest::Progress(Run(dib).events);
  ProgressList pass;
  for (int32_t k = 0; k < 20; ++k) pass.emplace_back(3, 5 * k);
  pass.emplace_back(0, 0);
  ProgressList expected = {{2, 0}};
  for (int n = 0; n < 2; ++n) expected.insert(expected.end(), pass.begin(), pass.end());
  EXPECT_EQ(progress, expected);
}

// The dialog.
class MinDialog : public MinFilter {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
};

TEST_F(MinDialog, ShowsTheRecordWithUpDowns) {
  WriteSettings({12, 200, 1, 0});
  const vfhost::OptionsOutcome outcome = Options({});
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(outcome.state->templateName, "MIN_DLG");
  const auto* lower = vftest::FindControl(*outcome.state, 1001, "edit");
  const auto* upper = vftest::FindControl(*outcome.state, 1003, "edit");
  const auto* lowerUpDown = vftest::FindControl(*outcome.state, 1010, "updown");
  const auto* upperUpDown = vftest::FindControl(*outcome.state, 1011, "updown");
  const auto* seamless = vftest::FindControl(*outcome.state, 1008);
  const auto* repeat = vftest::FindControl(*outcome.state, 1009);
  ASSERT_TRUE(lower && upper && lowerUpDown && upperUpDown && seamless && repeat);
  EXPECT_EQ(lower->text, "12");
  EXPECT_EQ(upper->text, "200");
  for (const auto* upDown : {lowerUpDown, upperUpDown}) {
    EXPECT_EQ(upDown->minimum, 0);
    EXPECT_EQ(upDown->maximum, 255);
  }
  EXPECT_EQ(lowerUpDown->position, 12);
  EXPECT_EQ(upperUpDown->position, 200);
  EXPECT_EQ(seamless->checked, 1);
  EXPECT_EQ(repeat->checked, 0);
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1006)->text, "白のみ処理");
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1009)->text, "連続（最大５０回）");
}

TEST_F(MinDialog, OkSavesExactlyTheRecord) {
  struct Case {
    const char* name;
    std::vector<DialogAction> actions;
    std::vector<uint8_t> saved;
  };
  using T = DialogAction::Type;
  const Case cases[] = {
      {"defaults", {Action(T::Ok)}, {255, 255, 0, 1}},
      {"typed numbers",
       {Action(T::Set, 1001, "30"), Action(T::Set, 1003, "40"), Action(T::Ok)},
       {30, 40, 0, 1}},
      {"white only",
       {Action(T::Set, 1001, "3"), Action(T::Set, 1003, "4"), Action(T::Click, 1006), Action(T::Ok)},
       {255, 255, 0, 1}},
      {"process all", {Action(T::Click, 1007), Action(T::Ok)}, {0, 255, 0, 1}},
      {"seamless on, repeat off",
       {Action(T::Check, 1008), Action(T::Uncheck, 1009), Action(T::Ok)},
       {255, 255, 1, 0}},
      {"not a number reads 0, above 255 stores 255",
       {Action(T::Set, 1001, "abc"), Action(T::Set, 1003, "300"), Action(T::Ok)},
       {0, 255, 0, 1}},
      {"negative clamps to 0",
       {Action(T::Set, 1001, "-1"), Action(T::Set, 1003, "-7"), Action(T::Ok)},
       {0, 0, 0, 1}},
      {"up-down arrows",
       {Action(T::UpDown, 1010, "", -3), Action(T::UpDown, 1011, "", 2), Action(T::Ok)},
       {252, 255, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsFile().c_str());
    const vfhost::OptionsOutcome outcome = Options(c.actions);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), c.saved);
    const auto dialogs = vftest::EventsOfType(outcome.events, Event::Type::Dialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].templateName, "MIN_DLG");
    EXPECT_EQ(dialogs[0].value, 1);
  }
}

TEST_F(MinDialog, CloseBoxSavesNothing) {
  using T = DialogAction::Type;
  WriteSettings({5, 6, 0, 0});
  const vfhost::OptionsOutcome outcome =
      Options({Action(T::Set, 1001, "99"), Action(T::Check, 1009), Action(T::Close)});
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), (std::vector<uint8_t>{5, 6, 0, 0}));
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 0);
  std::remove(SettingsFile().c_str());
  Options({Action(T::Close)});
  EXPECT_FALSE(vftest::FileExists(SettingsFile()));
}

}  // namespace
