// regionavg through its exports: the mean over the similar places of the
// 5 x 5 block, the strict threshold, the box mean of a threshold above every
// difference, the picture's edge, messages, memory failure and the DLGBOX
// dialog whose steps reach 0.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../support/plugin_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using T = DialogAction::Type;

constexpr const char* kNothingText = "処理できるピクセルがありませんでした（＾＾；。";
enum ScrollCode : int32_t { kLineLeft = 0, kLineRight = 1, kPageLeft = 2, kPageRight = 3, kThumbTrack = 5 };

class RegionAvg : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("regionavg");
    ASSERT_TRUE(plugin_);
  }
  std::string SettingsFile() const { return settings_.path() + "regionavg.dat"; }
  void WriteSettings(uint8_t threshold, uint8_t seamless) {
    vftest::WriteFileBytes(SettingsFile(), {threshold, seamless});
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

// A picture with every kind of colour: black, greys, and bright saturated
// colours, bright cyan among them.
vfhost::Dib MixedPicture(int32_t width, int32_t height) {
  vfhost::Dib dib(width, height);
  const uint8_t colours[][3] = {{0, 0, 0},     {0, 255, 255}, {255, 0, 0},    {128, 128, 128},
                                {255, 255, 0}, {10, 200, 90}, {255, 255, 255}};
  uint32_t state = 12345;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      state = state * 1103515245u + 12345u;
      const uint8_t* c = colours[(state >> 16) % 7];
      dib.SetPixel(y, x, c[0], c[1], c[2]);
    }
  }
  return dib;
}

// The plain 5 x 5 box mean with the edge pixels repeated beyond the edge.
vfhost::Dib BoxMean(const vfhost::Dib& source) {
  vfhost::Dib result = source;
  const auto clamp = [](int32_t a, int32_t n) { return a < 0 ? 0 : (a >= n ? n - 1 : a); };
  for (int32_t y = 0; y < source.height(); ++y) {
    for (int32_t x = 0; x < source.width(); ++x) {
      for (int channel = 0; channel < 3; ++channel) {
        int sum = 0;
        for (int32_t dy = -2; dy <= 2; ++dy)
          for (int32_t dx = -2; dx <= 2; ++dx)
            sum += source.Pixel(clamp(y + dy, source.height()), clamp(x + dx, source.width()))[channel];
        result.Pixel(y, x)[channel] = static_cast<uint8_t>(sum / 25);
      }
    }
  }
  return result;
}

TEST_F(RegionAvg, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "境界内平均化Ｂ");
  EXPECT_EQ(plugin_->Kind(), 0);
}

TEST_F(RegionAvg, ThresholdZeroAveragesNothingAndSaysSo) {
  WriteSettings(0, 0);
  vfhost::Dib dib = MixedPicture(4, 3);
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(dib.bytes(), before);
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":5}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":10}\n"
            "{\"event\":\"message\",\"caption\":\"境界平均化Ｂ\",\"text\":\"" +
                std::string(kNothingText) +
                "\",\"icon\":\"information\"}\n"
                "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
                "{\"event\":\"result\",\"value\":1}\n");
}

// The largest difference of two colours is 212 (black against bright cyan),
// so from 213 on every place takes part.
TEST_F(RegionAvg, ThresholdAboveEveryDifferenceIsTheBoxMean) {
  for (uint8_t threshold : {213, 255}) {
    SCOPED_TRACE(int{threshold});
    WriteSettings(threshold, 0);
    vfhost::Dib dib = MixedPicture(9, 7);
    const vfhost::Dib expected = BoxMean(dib);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(dib.bytes(), expected.bytes());
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  }
  // At 212 black and bright cyan keep apart.
  WriteSettings(212, 0);
  vfhost::Dib dib = vftest::UniformDib(5, 5, 0, 255, 255);
  dib.SetPixel(2, 2, 0, 0, 0);
  Run(dib);
  EXPECT_EQ(dib.Pixel(2, 2)[1], 0);
  EXPECT_EQ(dib.Pixel(2, 1)[1], 255);
}

TEST_F(RegionAvg, OnlySimilarPlacesTakePart) {
  struct Case {
    const char* name;
    uint8_t threshold;
    uint8_t left, right;        // grey levels of the two halves
    uint8_t besideTheBoundary;  // the left half's pixel next to the right half
  };
  const Case cases[] = {
      // Greys 5 apart differ by 5 / 3 = 1.
      {"greys 5 apart, T 1", 1, 100, 105, 100},
      {"greys 5 apart, T 2", 2, 100, 105, 102},  // (15 x 100 + 10 x 105) / 25
      {"far apart, moderate T", 64, 20, 230, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings(c.threshold, 0);
    vfhost::Dib dib = vftest::UniformDib(6, 5, c.left, c.left, c.left);
    for (int32_t y = 0; y < 5; ++y)
      for (int32_t x = 3; x < 6; ++x) dib.SetPixel(y, x, c.right, c.right, c.right);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
    EXPECT_EQ(dib.Pixel(2, 2)[0], c.besideTheBoundary);
    EXPECT_EQ(dib.Pixel(2, 0)[0], c.left);  // two columns from the other half
  }
}

TEST_F(RegionAvg, MeansAreRoundedDown) {
  WriteSettings(64, 0);
  vfhost::Dib dib = vftest::UniformDib(5, 5, 255, 255, 255);
  dib.SetPixel(0, 0, 254, 254, 254);
  Run(dib);
  EXPECT_EQ(dib.Pixel(2, 2)[0], 254);  // (24 x 255 + 254) / 25 = 254.96
}

TEST_F(RegionAvg, SeamlessWrapsTheBlockAroundTheEdges) {
  struct Case {
    uint8_t seamless;
    uint8_t rightEdge;
  };
  for (const Case& c : {Case{0, 250}, Case{1, 200}}) {
    SCOPED_TRACE(int{c.seamless});
    WriteSettings(255, c.seamless);
    vfhost::Dib dib = vftest::UniformDib(6, 1, 250, 250, 250);
    dib.SetPixel(0, 0, 0, 0, 0);
    Run(dib);
    // Seamless: columns 3, 4, 5, 0, 1 in every row of the block.
    EXPECT_EQ(dib.Pixel(0, 5)[0], c.rightEdge);
  }
}

TEST_F(RegionAvg, PicturesWithoutPixelsShowTheMessage) {
  for (auto size : {std::make_pair(3, 0), std::make_pair(0, 2)}) {
    vfhost::Dib dib(size.first, size.second);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    ASSERT_EQ(vftest::Messages(outcome.events).size(), 1u);
    EXPECT_EQ(vftest::Messages(outcome.events)[0].caption, "境界平均化Ｂ");
  }
}

TEST_F(RegionAvg, MemoryFailureLeavesThePictureUntouched) {
  vfhost::Dib dib = MixedPicture(6, 4);
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
  EXPECT_EQ(vftest::Progress(outcome.events), (std::vector<std::pair<int32_t, int64_t>>{{2, 0}, {0, 0}}));
  EXPECT_EQ(outcome.liveAllocations, 0);
}

// The dialog.
class RegionDialog : public RegionAvg {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
  static DialogAction Scroll(int32_t code, std::optional<int32_t> position = std::nullopt) {
    DialogAction action = Action(T::Scroll, 1009, "", code);
    action.position = position;
    return action;
  }
};

TEST_F(RegionDialog, ShowsTheRecord) {
  struct Case {
    bool withFile;
    uint8_t threshold, seamless;
  };
  for (const Case& c : {Case{false, 64, 0}, Case{true, 37, 1}}) {
    SCOPED_TRACE(c.withFile);
    std::remove(SettingsFile().c_str());
    if (c.withFile) WriteSettings(c.threshold, c.seamless);
    const vfhost::OptionsOutcome outcome = Options({});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(outcome.state->templateName, "DLGBOX");
    const auto* bar = vftest::FindControl(*outcome.state, 1009, "scrollbar");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->minimum, 1);
    EXPECT_EQ(bar->maximum, 255);
    EXPECT_EQ(bar->position, c.threshold);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1010, "static")->text, std::to_string(c.threshold));
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1008)->checked, c.seamless);
  }
}

// Steps from a threshold written to the file, then OK.
TEST_F(RegionDialog, StepsReachZero) {
  struct Case {
    const char* name;
    uint8_t start;
    DialogAction scroll;
    uint8_t threshold;
  };
  const Case cases[] = {
      {"line left to 0", 1, Scroll(kLineLeft), 0},
      {"line left stops at 0", 0, Scroll(kLineLeft), 0},
      {"page left from 10 goes to 0", 10, Scroll(kPageLeft), 0},
      {"page left from 11", 11, Scroll(kPageLeft), 1},
      {"page right from 245 goes to 255", 245, Scroll(kPageRight), 255},
      {"line right stops at 255", 255, Scroll(kLineRight), 255},
      {"thumb takes the low 8 bits", 100, Scroll(kThumbTrack, 257), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings(c.start, 0);
    const vfhost::OptionsOutcome outcome = Options({c.scroll, Action(T::Ok)});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1010, "static")->text, std::to_string(c.threshold));
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), (std::vector<uint8_t>{c.threshold, 0}));
  }
}

TEST_F(RegionDialog, OkSavesAndTheCloseBoxDoesNot) {
  const vfhost::OptionsOutcome saved = Options({Action(T::Check, 1008), Scroll(kLineRight), Action(T::Ok)});
  EXPECT_EQ(saved.result, 1);
  EXPECT_EQ(vftest::EventsOfType(saved.events, Event::Type::Dialog).at(0).value, 1);
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), (std::vector<uint8_t>{65, 1}));

  const vfhost::OptionsOutcome closed =
      Options({Action(T::Uncheck, 1008), Scroll(kPageLeft), Action(T::Close)});
  EXPECT_EQ(vftest::EventsOfType(closed.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), (std::vector<uint8_t>{65, 1}));
}

}  // namespace
