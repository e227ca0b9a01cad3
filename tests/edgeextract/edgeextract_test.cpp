// edgeextract through its exports: the three levels around dots and lines,
// the five measures and the folded hue distance, strict thresholds, the
// picture's edge, messages, memory failure and the DLGBOX dialog with its
// per-measure thresholds.
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
using Record = std::vector<uint8_t>;
using T = DialogAction::Type;

constexpr const char* kNothingText = "処理できるピクセルがありませんでした（＾＾；。";
constexpr uint8_t W = 255, G = 180, B = 0;  // the three levels
// Scroll bar codes of WM_HSCROLL.
enum ScrollCode : int32_t {
  kLineLeft = 0,
  kLineRight = 1,
  kPageLeft = 2,
  kPageRight = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kEndScroll = 8
};

class EdgeExtract : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("edgeextract");
    ASSERT_TRUE(plugin_);
  }
  std::string SettingsFile() const { return settings_.path() + "edgeextract.dat"; }
  void WriteSettings(const Record& bytes) { vftest::WriteFileBytes(SettingsFile(), bytes); }
  // threshold, seamless, measure and the slots as a run uses them.
  void WriteRunSettings(uint8_t threshold, uint8_t measure, uint8_t seamless = 0) {
    WriteSettings({threshold, seamless, measure, 60, 61, 62, 63, 64});
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  // The level of every pixel, top row first (as the picture is seen), after
  // checking that all three bytes of each pixel agree.
  static std::vector<std::string> Levels(const vfhost::Dib& dib) {
    std::vector<std::string> rows;
    for (int32_t y = dib.height() - 1; y >= 0; --y) {
      std::string row;
      for (int32_t x = 0; x < dib.width(); ++x) {
        const uint8_t* p = dib.Pixel(y, x);
        EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << y << "," << x;
        row += p[0] == W ? 'W' : p[0] == G ? 'G' : p[0] == B ? 'B' : '?';
      }
      rows.push_back(row);
    }
    return rows;
  }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(EdgeExtract, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "境界抽出");
  EXPECT_EQ(plugin_->Kind(), 0);
}

// A dark dot: black itself, its corners see it as a corner (grey), its
// straight neighbours see it without its flanking corners (white).
TEST_F(EdgeExtract, SingleDarkPixelWithEventsInOrder) {
  WriteRunSettings(60, 0);
  vfhost::Dib dib = vftest::UniformDib(5, 5, 255, 255, 255);
  dib.SetPixel(2, 2, 20, 20, 20);
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(Levels(dib), (std::vector<std::string>{"WWWWW", "WGWGW", "WWBWW", "WGWGW", "WWWWW"}));
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":5}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":10}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":15}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":20}\n"
            "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
            "{\"event\":\"result\",\"value\":1}\n");
}

// A dark vertical line: black on it and on both sides; the edge columns see
// copies of themselves beyond the edge, or the opposite edge when seamless.
TEST_F(EdgeExtract, VerticalLineAndThePicturesEdge) {
  struct Case {
    const char* name;
    int32_t lineColumn;
    uint8_t seamless;
    std::string row;
  };
  const Case cases[] = {
      {"inside", 2, 0, "WBBBWW"},
      {"at the left edge", 0, 0, "BBWWWW"},
      {"at the left edge, seamless", 0, 1, "BBWWWB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteRunSettings(100, 0, c.seamless);
    vfhost::Dib dib = vftest::UniformDib(6, 4, 250, 250, 250);
    for (int32_t y = 0; y < 4; ++y) dib.SetPixel(y, c.lineColumn, 0, 0, 0);
    Run(dib);
    EXPECT_EQ(Levels(dib), std::vector<std::string>(4, c.row));
  }
}

TEST_F(EdgeExtract, SeamlessComparesTheTopRowWithTheBottomRow) {
  for (uint8_t seamless : {0, 1}) {
    SCOPED_TRACE(int{seamless});
    WriteRunSettings(100, 0, seamless);
    vfhost::Dib dib = vftest::UniformDib(3, 5, 250, 250, 250);
    for (int32_t x = 0; x < 3; ++x) dib.SetPixel(0, x, 0, 0, 0);  // bottom row dark
    Run(dib);
    EXPECT_EQ(Levels(dib)[0], seamless ? "BBB" : "WWW");  // top row
  }
}

// Each measure on the same kind of picture: a vertical stripe of one colour
// in a field of another; the pixels beside the stripe turn black exactly
// when the measure's difference exceeds T.
TEST_F(EdgeExtract, MeasuresAndStrictThresholds) {
  struct Rgb {
    uint8_t r, g, b;
  };
  struct Case {
    const char* name;
    uint8_t measure, threshold;
    Rgb field, stripe;
    bool boundary;
  };
  const Rgb red{255, 0, 0}, redBelow0{255, 0, 1}, grey200{200, 200, 200}, grey100{100, 100, 100};
  const Case cases[] = {
      // Hues 0 and 359 are 151 apart when folded at 255.
      {"hue across 0, T 150", 2, 150, red, redBelow0, true},
      {"hue across 0, T 151", 2, 151, red, redBelow0, false},
      {"HSV across 0: 151 / 3 = 50", 1, 49, red, redBelow0, true},
      {"HSV across 0, T 50", 1, 50, red, redBelow0, false},
      {"hue between greys", 2, 1, grey200, grey100, false},
      {"saturation between greys", 3, 1, grey200, grey100, false},
      {"value between greys: 100", 4, 99, grey200, grey100, true},
      {"value equal to T", 4, 100, grey200, grey100, false},
      {"a measure beyond 4 is value", 9, 99, grey200, grey100, true},
      {"density between greys: 100", 0, 99, grey200, grey100, true},
      {"density equal to T", 0, 100, grey200, grey100, false},
      {"saturation of red against grey", 3, 254, {255, 255, 255}, red, true},
      {"density at the top threshold", 0, 255, {255, 255, 255}, {0, 0, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteRunSettings(c.threshold, c.measure);
    vfhost::Dib dib = vftest::UniformDib(7, 3, c.field.r, c.field.g, c.field.b);
    for (int32_t y = 0; y < 3; ++y) dib.SetPixel(y, 3, c.stripe.r, c.stripe.g, c.stripe.b);
    Run(dib);
    EXPECT_EQ(Levels(dib), std::vector<std::string>(3, c.boundary ? "WWBBBWW" : "WWWWWWW"));
  }
}

TEST_F(EdgeExtract, WithoutASettingsFileDensityAboveOneCounts) {
  vfhost::Dib dib = vftest::UniformDib(3, 3, 100, 100, 100);
  dib.SetPixel(1, 1, 102, 102, 102);  // luminance 2 above the rest
  Run(dib);
  EXPECT_EQ(Levels(dib)[1], "WBW");
  dib = vftest::UniformDib(3, 3, 100, 100, 100);
  dib.SetPixel(1, 1, 101, 101, 101);  // 1 is not above T = 1
  Run(dib);
  EXPECT_EQ(Levels(dib)[1], "WWW");
}

TEST_F(EdgeExtract, TinyPicturesTileThemselves) {
  for (auto size : {std::make_pair(1, 1), std::make_pair(1, 3), std::make_pair(3, 1)}) {
    SCOPED_TRACE(testing::Message() << size.first << "x" << size.second);
    WriteRunSettings(10, 1, 1);
    vfhost::Dib dib = vftest::UniformDib(size.first, size.second, 10, 200, 30);
    EXPECT_EQ(Run(dib).result, 1);
    for (const std::string& row : Levels(dib)) EXPECT_EQ(row, std::string(size.first, 'W'));
  }
}

TEST_F(EdgeExtract, PicturesWithoutPixelsShowTheMessage) {
  struct Case {
    int32_t width, height;
    size_t rowProgress;
  };
  for (const Case& c : {Case{4, 0, 0}, Case{0, 3, 3}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    vfhost::Dib dib(c.width, c.height);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    const auto messages = vftest::Messages(outcome.events);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "境界抽出");
    EXPECT_EQ(messages[0].text, kNothingText);
    EXPECT_EQ(messages[0].icon, "information");
    const auto progress = vftest::Progress(outcome.events);
    EXPECT_EQ(progress.size(), c.rowProgress + 2);
    EXPECT_EQ(progress.back(), std::make_pair(0, int64_t{0}));
    // The message comes before PROGRESS_END.
    EXPECT_EQ(outcome.events[outcome.events.size() - 3].type, Event::Type::Message);
  }
}

TEST_F(EdgeExtract, MemoryFailureLeavesThePictureUntouched) {
  vfhost::Dib dib = vftest::UniformDib(6, 4, 255, 255, 255);
  dib.SetPixel(1, 1, 0, 0, 0);
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
  EXPECT_EQ(vftest::Progress(outcome.events), (std::vector<std::pair<int32_t, int64_t>>{{2, 0}, {0, 0}}));
  EXPECT_EQ(outcome.liveAllocations, 0);
}

// The dialog.
class EdgeDialog : public EdgeExtract {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
  static DialogAction Scroll(int32_t code, std::optional<int32_t> position = std::nullopt) {
    DialogAction action = Action(T::Scroll, 1009, "", code);
    action.position = position;
    return action;
  }
  // The checked radio button, the threshold shown and the bar.
  static void ExpectShown(const vfhost::DialogState& state, int checkedRadio, int32_t threshold) {
    for (int id = 1011; id <= 1015; ++id)
      EXPECT_EQ(vftest::FindControl(state, id)->checked, id == checkedRadio ? 1 : 0) << id;
    EXPECT_EQ(vftest::FindControl(state, 1010, "static")->text, std::to_string(threshold));
    EXPECT_EQ(vftest::FindControl(state, 1009, "scrollbar")->position, threshold);
  }
};

TEST_F(EdgeDialog, ShowsTheThresholdOfTheStoredMeasure) {
  struct Case {
    const char* name;
    Record file;  // empty: no file
    int radio;
    int32_t threshold;
    int seamless;
  };
  const Case cases[] = {
      {"no file: density with 60", {}, 1011, 60, 0},
      {"measure H with its slot", {1, 1, 2, 60, 61, 99, 63, 64}, 1013, 99, 1},
      {"measure beyond 4 shows density", {1, 0, 7, 33, 61, 62, 63, 64}, 1011, 33, 0},
      {"an empty slot resets all: 10 + measure", {5, 0, 3, 60, 61, 62, 0, 64}, 1014, 13, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsFile().c_str());
    if (!c.file.empty()) WriteSettings(c.file);
    const vfhost::OptionsOutcome outcome = Options({});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(outcome.state->templateName, "DLGBOX");
    ExpectShown(*outcome.state, c.radio, c.threshold);
    const auto* bar = vftest::FindControl(*outcome.state, 1009, "scrollbar");
    EXPECT_EQ(bar->minimum, 1);
    EXPECT_EQ(bar->maximum, 255);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1008)->checked, c.seamless);
  }
}

TEST_F(EdgeDialog, OkSavesTheMeasureAndEverySlot) {
  struct Case {
    const char* name;
    Record file;
    std::vector<DialogAction> actions;
    Record saved;
  };
  const Record defaults = {1, 0, 0, 60, 61, 62, 63, 64};
  const Case cases[] = {
      {"defaults", {}, {Action(T::Ok)}, {60, 0, 0, 60, 61, 62, 63, 64}},
      {"HSV with its own slot", {}, {Action(T::Click, 1012), Action(T::Ok)}, {61, 0, 1, 60, 61, 62, 63, 64}},
      {"a changed threshold goes to the measure's slot",
       {},
       {Action(T::Click, 1015), Scroll(kLineRight), Action(T::Ok)},
       {65, 0, 4, 60, 61, 62, 63, 65}},
      {"leaving a measure keeps its threshold",
       defaults,
       {Action(T::Click, 1012), Scroll(kPageRight), Action(T::Click, 1011), Action(T::Ok)},
       {60, 0, 0, 60, 71, 62, 63, 64}},
      {"a slot of 0 is taken up as it is",
       {1, 0, 0, 60, 0, 62, 63, 64},
       {Action(T::Click, 1012), Action(T::Ok)},
       {0, 0, 1, 60, 0, 62, 63, 64}},
      {"reset slots", {5, 0, 3, 60, 61, 62, 0, 64}, {Action(T::Ok)}, {13, 0, 3, 20, 21, 22, 13, 24}},
      {"seamless", {}, {Action(T::Check, 1008), Action(T::Ok)}, {60, 1, 0, 60, 61, 62, 63, 64}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsFile().c_str());
    if (!c.file.empty()) WriteSettings(c.file);
    const vfhost::OptionsOutcome outcome = Options(c.actions);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), c.saved);
    EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 1);
  }
}

TEST_F(EdgeDialog, RadioButtonsShowEachMeasuresThreshold) {
  const vfhost::OptionsOutcome outcome = Options({Action(T::Click, 1014)});
  ASSERT_TRUE(outcome.state);
  ExpectShown(*outcome.state, 1014, 63);
}

TEST_F(EdgeDialog, ScrollBarStepsAndLimits) {
  struct Case {
    const char* name;
    uint8_t start;
    DialogAction scroll;
    uint8_t threshold;
  };
  const Case cases[] = {
      {"line left", 100, Scroll(kLineLeft), 99},
      {"line left stops at 1", 1, Scroll(kLineLeft), 1},
      {"line right stops at 255", 255, Scroll(kLineRight), 255},
      {"page left", 100, Scroll(kPageLeft), 90},
      {"page left from 12", 12, Scroll(kPageLeft), 2},
      {"page left from 11 goes to 1", 11, Scroll(kPageLeft), 1},
      {"page right from 244", 244, Scroll(kPageRight), 254},
      {"page right from 245 goes to 255", 245, Scroll(kPageRight), 255},
      {"thumb position", 100, Scroll(kThumbPosition, 77), 77},
      {"thumb tracking", 100, Scroll(kThumbTrack, 200), 200},
      {"thumb takes the low 8 bits", 100, Scroll(kThumbTrack, 300), 44},
      {"end of scrolling keeps the value", 100, Scroll(kEndScroll), 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings({1, 0, 0, c.start, 61, 62, 63, 64});
    const vfhost::OptionsOutcome outcome = Options({c.scroll, Action(T::Ok)});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1010, "static")->text, std::to_string(c.threshold));
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1009, "scrollbar")->position, c.threshold);
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()),
              (Record{c.threshold, 0, 0, c.threshold, 61, 62, 63, 64}));
  }
}

TEST_F(EdgeDialog, CloseBoxSavesNothing) {
  const Record stored = {7, 0, 1, 60, 7, 62, 63, 64};
  WriteSettings(stored);
  const vfhost::OptionsOutcome outcome =
      Options({Action(T::Click, 1013), Scroll(kPageRight), Action(T::Check, 1008), Action(T::Close)});
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), stored);
}

}  // namespace
