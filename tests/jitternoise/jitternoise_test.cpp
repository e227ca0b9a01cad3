// jitternoise through its exports: the noise of known seeds, progress, ESC,
// tiny and empty pictures, settings, and the DLGBOX dialog.
#include <gtest/gtest.h>

#include <cstring>

#include "../support/plugin_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using T = DialogAction::Type;
using ProgressList = std::vector<std::pair<int32_t, int64_t>>;

// Scroll bar codes of WM_HSCROLL.
enum ScrollCode : int32_t {
  SB_LINELEFT = 0,
  SB_LINERIGHT = 1,
  SB_PAGELEFT = 2,
  SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_ENDSCROLL = 8,
};

std::vector<uint8_t> Record(int32_t a, int32_t b, int32_t c, uint8_t strength, uint8_t spare = 0) {
  std::vector<uint8_t> bytes(16, 0);
  std::memcpy(&bytes[0], &a, 4);
  std::memcpy(&bytes[4], &b, 4);
  std::memcpy(&bytes[8], &c, 4);
  bytes[12] = strength;
  bytes[13] = bytes[14] = bytes[15] = spare;
  return bytes;
}

std::vector<uint8_t> PixelAt(const vfhost::Dib& dib, int32_t y, int32_t x) {
  const uint8_t* p = dib.Pixel(y, x);
  return {p[0], p[1], p[2]};
}

class JitterNoise : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("jitternoise");
    ASSERT_TRUE(plugin_);
  }
  std::string SettingsFile() const { return settings_.path() + "jitternoise.dat"; }
  void WriteSettings(const std::vector<uint8_t>& bytes) { vftest::WriteFileBytes(SettingsFile(), bytes); }
  vfhost::RunOptions At(int64_t time) {
    vfhost::RunOptions options = vftest::OptionsFor(settings_);
    options.time = time;
    return options;
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib, int64_t time) { return plugin_->RunDib(dib, At(time)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(JitterNoise, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "乱れノイズ");
  EXPECT_EQ(plugin_->Kind(), 0);
}

// Seed 1148 after the two discarded draws: x0 = 31, y0 = 5; angle 227 and
// reach 11 put the centre at (24, -3); d0 = -102 with factors 47 and 61
// gives d1 = -95, d2 = -124; the pixel's angle 195 and spread 2 move it to
// (23, -3), which wraps to row 45. Strength 7 adds -35, -33, -43 (truncated
// toward zero).
TEST_F(JitterNoise, OneClusterOfAKnownSeedHitsTheDrawnPixel) {
  WriteSettings(Record(1, 1, 1, 7));
  vfhost::Dib dib = vftest::UniformDib(64, 48, 128, 128, 128);
  vfhost::Dib expected = dib;
  expected.SetPixel(45, 23, 85, 95, 93);
  const vfhost::RunOutcome outcome = Run(dib, 1148);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(dib.bytes(), expected.bytes());
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
            "{\"event\":\"result\",\"value\":1}\n");
}

// Three clusters of six pixels on a 5 x 5 picture at time 5003 with
// strength 20: pixels are hit several times, with offsets of both signs
// clamped after each addition, and two hits wrap to the opposite edge.
TEST_F(JitterNoise, HitsAccumulateWithClampingAfterEachAddition) {
  WriteSettings(Record(1, 3, 6, 20));
  vfhost::Dib dib(5, 5);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 5; ++x) dib.SetPixel(y, x, 255 - 20 * y, 128, (40 * x + 10 * y) % 256);
  const uint8_t expected[5][5][3] = {
      {{0, 0, 0}, {40, 128, 255}, {80, 128, 255}, {9, 20, 178}, {160, 128, 255}},
      {{137, 199, 255}, {50, 128, 235}, {90, 128, 235}, {130, 128, 235}, {170, 128, 235}},
      {{0, 20, 138}, {60, 128, 215}, {100, 128, 215}, {140, 128, 215}, {180, 128, 215}},
      {{30, 128, 195}, {70, 128, 195}, {110, 128, 195}, {150, 128, 195}, {190, 128, 195}},
      {{40, 128, 175}, {80, 128, 175}, {120, 128, 175}, {160, 128, 175}, {181, 116, 160}},
  };
  Run(dib, 5003);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 5; ++x)
      EXPECT_EQ(PixelAt(dib, y, x), std::vector<uint8_t>(expected[y][x], expected[y][x] + 3))
          << y << "," << x;
}

TEST_F(JitterNoise, TheSameSecondRepeatsTheNoiseAndAnotherSecondDoesNot) {
  vfhost::Dib first = vftest::UniformDib(50, 40, 100, 150, 200);
  vfhost::Dib second = first, later = first;
  const std::vector<uint8_t> original = first.bytes();
  Run(first, 1700000000);
  Run(second, 1700000000);
  Run(later, 1700000001);
  EXPECT_NE(first.bytes(), original);
  EXPECT_EQ(first.bytes(), second.bytes());
  EXPECT_NE(first.bytes(), later.bytes());
}

// Progress every A x B / 100 clusters, counting the messages; below 100
// clusters in all, every cluster reports.
TEST_F(JitterNoise, ProgressStepFollowsTheClusterCount) {
  struct Case {
    int32_t a, b;
    int64_t messages;
  };
  const Case cases[] = {
      {100, 1000, 100},  // the defaults: every 1000th cluster
      {3, 70, 105},      // step 2 over 210 clusters
      {5, 10, 50},       // step 0 reports every cluster
      {1, 99, 99},      {0, 50, 0}, {-3, 50, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " x " << c.b);
    WriteSettings(Record(c.a, c.b, 1, 5));
    vfhost::Dib dib = vftest::UniformDib(20, 20, 128, 128, 128);
    const vfhost::RunOutcome outcome = Run(dib, 42);
    const ProgressList progress = vftest::Progress(outcome.events);
    ASSERT_EQ(progress.size(), static_cast<size_t>(c.messages + 2));
    EXPECT_EQ(progress.front(), std::make_pair(2, int64_t{0}));
    for (int64_t i = 0; i < c.messages; ++i) EXPECT_EQ(progress[i + 1], std::make_pair(3, i));
    EXPECT_EQ(progress.back(), std::make_pair(0, int64_t{0}));
    EXPECT_EQ(outcome.result, 1);
  }
}

TEST_F(JitterNoise, EscapeAfterAClusterKeepsTheNoiseSoFar) {
  // ESC at the third poll stops after the third cluster: the same noise as
  // a run of three clusters, since the draws come in the same order.
  WriteSettings(Record(1, 40, 8, 20));
  vfhost::Dib stopped = vftest::UniformDib(30, 30, 128, 128, 128);
  vfhost::RunOptions options = At(777);
  options.escFromPoll = 3;
  const vfhost::RunOutcome outcome = plugin_->RunDib(stopped, options);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.escPolls, 3);
  EXPECT_EQ(vftest::Progress(outcome.events), (ProgressList{{2, 0}, {3, 0}, {3, 1}, {3, 2}, {0, 0}}));

  WriteSettings(Record(1, 3, 8, 20));
  vfhost::Dib three = vftest::UniformDib(30, 30, 128, 128, 128);
  Run(three, 777);
  EXPECT_EQ(stopped.bytes(), three.bytes());
  EXPECT_NE(stopped.bytes(), vftest::UniformDib(30, 30, 128, 128, 128).bytes());
}

// Pictures too small for one wrap: every hit lands inside the picture, so
// the row padding stays as it was and something changes.
TEST_F(JitterNoise, TinyPicturesAreHitOnlyInside) {
  WriteSettings(Record(20, 50, 10, 20));
  const std::pair<int32_t, int32_t> sizes[] = {{1, 1}, {2, 1}, {1, 3}, {3, 2}, {4, 4}};
  for (const auto& [width, height] : sizes) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    vfhost::Dib dib = vftest::UniformDib(width, height, 128, 128, 128);
    const size_t stride = static_cast<size_t>(dib.stride());
    const size_t pixelStart = static_cast<size_t>(dib.Pixel(0, 0) - dib.header());
    const auto isPadding = [&](size_t i) {
      return i >= pixelStart && (i - pixelStart) % stride >= 3u * width;
    };
    for (size_t i = pixelStart; i < dib.bytes().size(); ++i)
      if (isPadding(i)) dib.header()[i] = 0xA5;
    const std::vector<uint8_t> before = dib.bytes();
    EXPECT_EQ(Run(dib, 99).result, 1);
    bool changed = false;
    for (size_t i = 0; i < before.size(); ++i) {
      if (dib.bytes()[i] == before[i]) continue;
      ASSERT_TRUE(i >= pixelStart && !isPadding(i)) << "byte " << i << " outside the pixels";
      changed = true;
    }
    EXPECT_TRUE(changed);
  }
}

TEST_F(JitterNoise, PictureWithoutPixelsOnlyBeginsAndEnds) {
  for (const auto& [width, height] : {std::pair{0, 5}, std::pair{5, 0}}) {
    vfhost::Dib dib(width, height);
    const vfhost::RunOutcome outcome = Run(dib, 5);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::Progress(outcome.events), (ProgressList{{2, 0}, {0, 0}}));
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  }
}

TEST_F(JitterNoise, RunUsesTheStoredStrengthAsItIs) {
  // Strength 0 (which the dialog would repair) adds nothing.
  WriteSettings(Record(10, 100, 5, 0));
  vfhost::Dib dib = vftest::UniformDib(20, 20, 128, 128, 128);
  const std::vector<uint8_t> before = dib.bytes();
  Run(dib, 3);
  EXPECT_EQ(dib.bytes(), before);
}

// The dialog.
class JitterDialog : public JitterNoise {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
  static DialogAction Scroll(int id, int32_t code, std::optional<int32_t> position = std::nullopt) {
    DialogAction action = Action(T::Scroll, id, "", code);
    action.position = position;
    return action;
  }
};

struct Shown {
  std::string a, b, c, strength;
};

Shown ShownValues(const vfhost::DialogState& state) {
  const auto text = [&](int id) {
    const vfhost::ControlState* control = vftest::FindControl(state, id);
    return control ? control->text : std::string("missing");
  };
  return Shown{text(1030), text(1031), text(1032), text(1037)};
}

TEST_F(JitterDialog, ShowsTheRecordOnTextsAndBars) {
  WriteSettings(Record(200, 3000, 40, 12));
  const vfhost::OptionsOutcome outcome = Options({});
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(outcome.state->templateName, "DLGBOX");
  const Shown shown = ShownValues(*outcome.state);
  EXPECT_EQ(shown.a, "200");
  EXPECT_EQ(shown.b, "3000");
  EXPECT_EQ(shown.c, "40");
  EXPECT_EQ(shown.strength, "12");
  struct Bar {
    int id;
    int32_t lowest, highest, position;
  };
  for (const Bar& bar :
       {Bar{1034, 5, 1000, 200}, Bar{1035, 10, 5000, 3000}, Bar{1036, 1, 200, 40}, Bar{1038, 1, 20, 12}}) {
    const vfhost::ControlState* control = vftest::FindControl(*outcome.state, bar.id, "scrollbar");
    ASSERT_TRUE(control) << bar.id;
    EXPECT_EQ(control->minimum, bar.lowest);
    EXPECT_EQ(control->maximum, bar.highest);
    EXPECT_EQ(control->position, bar.position);
  }
}

TEST_F(JitterDialog, MissingFileShowsTheDefaultsAndOkSavesThem) {
  const vfhost::OptionsOutcome outcome = Options({Action(T::Ok)});
  ASSERT_TRUE(outcome.state);
  const Shown shown = ShownValues(*outcome.state);
  EXPECT_EQ(shown.a + " " + shown.b + " " + shown.c + " " + shown.strength, "100 1000 5 5");
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), Record(100, 1000, 5, 5));
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 1);
}

TEST_F(JitterDialog, StrengthOutsideOneToTwentyBecomesTen) {
  for (uint8_t stored : {0, 21, 255, 1, 20}) {
    WriteSettings(Record(100, 1000, 5, stored));
    const vfhost::OptionsOutcome outcome = Options({Action(T::Ok)});
    const uint8_t kept = stored >= 1 && stored <= 20 ? stored : 10;
    EXPECT_EQ(ShownValues(*outcome.state).strength, std::to_string(kept));
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), Record(100, 1000, 5, kept)) << int{stored};
  }
}

TEST_F(JitterDialog, ScrollBarsStepWithinTheirRanges) {
  struct Case {
    const char* name;
    int bar;
    int32_t start;  // the value before the action
    DialogAction action;
    int32_t after;
  };
  const Case cases[] = {
      {"A line left", 1034, 100, Scroll(1034, SB_LINELEFT), 99},
      {"A line left at the lowest", 1034, 5, Scroll(1034, SB_LINELEFT), 5},
      {"A line right at the highest", 1034, 1000, Scroll(1034, SB_LINERIGHT), 1000},
      {"A page left", 1034, 56, Scroll(1034, SB_PAGELEFT), 6},
      {"A page left near the lowest", 1034, 55, Scroll(1034, SB_PAGELEFT), 5},
      {"A page right", 1034, 949, Scroll(1034, SB_PAGERIGHT), 999},
      {"A page right near the highest", 1034, 950, Scroll(1034, SB_PAGERIGHT), 1000},
      {"B page left near the lowest", 1035, 60, Scroll(1035, SB_PAGELEFT), 10},
      {"B page right", 1035, 4949, Scroll(1035, SB_PAGERIGHT), 4999},
      {"B page right near the highest", 1035, 4950, Scroll(1035, SB_PAGERIGHT), 5000},
      {"B thumb", 1035, 1000, Scroll(1035, SB_THUMBTRACK, 4321), 4321},
      {"C page left", 1036, 11, Scroll(1036, SB_PAGELEFT), 1},
      {"C page right near the highest", 1036, 190, Scroll(1036, SB_PAGERIGHT), 200},
      {"C line right", 1036, 199, Scroll(1036, SB_LINERIGHT), 200},
      {"C thumb position", 1036, 5, Scroll(1036, SB_THUMBPOSITION, 77), 77},
      {"C end of scroll changes nothing", 1036, 5, Scroll(1036, SB_ENDSCROLL), 5},
      {"strength page left", 1038, 6, Scroll(1038, SB_PAGELEFT), 1},
      {"strength page right", 1038, 14, Scroll(1038, SB_PAGERIGHT), 19},
      {"strength page right near the highest", 1038, 15, Scroll(1038, SB_PAGERIGHT), 20},
      {"strength line left at the lowest", 1038, 1, Scroll(1038, SB_LINELEFT), 1},
      {"strength thumb", 1038, 5, Scroll(1038, SB_THUMBTRACK, 17), 17},
  };
  const int textOf[] = {1030, 1031, 1032, 0, 1037};  // by bar id - 1034
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t a = 100, b = 1000, pixels = 5;
    uint8_t strength = 5;
    if (c.bar == 1034) a = c.start;
    if (c.bar == 1035) b = c.start;
    if (c.bar == 1036) pixels = c.start;
    if (c.bar == 1038) strength = static_cast<uint8_t>(c.start);
    WriteSettings(Record(a, b, pixels, strength, 0x3C));
    const vfhost::OptionsOutcome outcome = Options({c.action, Action(T::Ok)});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, textOf[c.bar - 1034])->text, std::to_string(c.after));
    EXPECT_EQ(vftest::FindControl(*outcome.state, c.bar, "scrollbar")->position, c.after);
    if (c.bar == 1034) a = c.after;
    if (c.bar == 1035) b = c.after;
    if (c.bar == 1036) pixels = c.after;
    if (c.bar == 1038) strength = static_cast<uint8_t>(c.after);
    // The unused bytes go back as they were read.
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), Record(a, b, pixels, strength, 0x3C));
  }
}

TEST_F(JitterDialog, CloseBoxDropsTheChanges) {
  WriteSettings(Record(100, 1000, 5, 0));
  const vfhost::OptionsOutcome outcome = Options({Scroll(1034, SB_PAGERIGHT), Action(T::Close)});
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), Record(100, 1000, 5, 0));
  // The next run reads the file again: strength 0 adds nothing.
  vfhost::Dib dib = vftest::UniformDib(10, 10, 128, 128, 128);
  const std::vector<uint8_t> before = dib.bytes();
  Run(dib, 8);
  EXPECT_EQ(dib.bytes(), before);
}

TEST_F(JitterDialog, ShortFileKeepsTheRestOfTheRecord) {
  WriteSettings(Record(300, 400, 50, 9, 7));
  Options({Action(T::Close)});  // loads the whole record
  vftest::WriteFileBytes(SettingsFile(), {44, 0, 0, 0, 55});
  const vfhost::OptionsOutcome outcome = Options({Action(T::Ok)});
  std::vector<uint8_t> expected = Record(44, 400, 50, 9, 7);
  expected[4] = 55;  // the fifth byte came from the file
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), expected);
  EXPECT_EQ(ShownValues(*outcome.state).a, "44");
}

}  // namespace
