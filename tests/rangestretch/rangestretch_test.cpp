// rangestretch through its exports: ranges and stretch in R, G, B and in
// S, V, the survey's size rule, the result message, and the dialog.
#include <gtest/gtest.h>

#include <cstring>

#include "../support/colour_record.h"
#include "../support/plugin_test.h"
#include "vfwin/vfwin.h"

namespace {

using vfhost::DialogAction;
using vftest::Action;
using vftest::ColourWord;
using T = DialogAction::Type;

constexpr std::size_t kRecordSize = 1048;

struct Record {
  uint8_t colours = 2;
  uint8_t method = 1;
  std::vector<uint32_t> palette;
  uint16_t width = 255;
  uint8_t channelSet = 1;
  uint8_t showResult = 0;
  uint8_t notice = 0;
};

class RangeStretch : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("rangestretch");
    ASSERT_TRUE(plugin_);
  }
  std::string SettingsFile() const { return settings_.path() + "rangestretch.dat"; }
  void Write(const Record& r) {
    std::vector<uint8_t> bytes = vftest::PaletteRecord(kRecordSize, r.notice, r.colours, r.method, r.palette);
    std::memcpy(&bytes[1040], &r.width, 2);
    bytes[1042] = r.channelSet;
    bytes[1043] = r.showResult;
    vftest::WriteFileBytes(SettingsFile(), bytes);
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }
  std::vector<uint8_t> Saved() const { return vftest::ReadFileBytes(SettingsFile()); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

// One row of greys through a stored palette's ranges: each (in, out).
TEST_F(RangeStretch, ChannelValuesMapOntoTheTargetWidth) {
  struct Case {
    const char* name;
    std::vector<uint32_t> palette;
    uint16_t width;
    std::vector<std::pair<uint8_t, uint8_t>> values;
  };
  const Case cases[] = {
      {"full span stays",
       {ColourWord(0, 0, 0), ColourWord(255, 255, 255)},
       255,
       {{0, 0}, {127, 127}, {255, 255}}},
      {"dull range stretched",
       {ColourWord(100, 100, 100), ColourWord(150, 150, 150)},
       255,
       {{100, 0}, {150, 255}, {125, 127}}},
      {"width 1 collapses",
       {ColourWord(0, 0, 0), ColourWord(255, 255, 255)},
       1,
       {{0, 127}, {255, 128}, {90, 127}}},
      // One value only: range W_t + 1, offsets kept around 127.
      {"single value shifts",
       {ColourWord(60, 60, 60), ColourWord(60, 60, 60)},
       255,
       {{60, 127}, {70, 137}, {0, 67}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Record record;
    record.palette = c.palette;
    record.width = c.width;
    Write(record);
    vfhost::Dib dib(static_cast<int32_t>(c.values.size()), 1);
    for (std::size_t i = 0; i < c.values.size(); ++i) {
      const uint8_t v = c.values[i].first;
      dib.SetPixel(0, static_cast<int32_t>(i), v, v, v);
    }
    EXPECT_EQ(Run(dib).result, 1);
    for (std::size_t i = 0; i < c.values.size(); ++i) {
      EXPECT_EQ(dib.Pixel(0, static_cast<int32_t>(i))[1], c.values[i].second)
          << "in " << int{c.values[i].first};
    }
  }
}

TEST_F(RangeStretch, GreysAreTintedRedInSaturationAndValue) {
  Record record;
  record.palette = {ColourWord(127, 127, 127), ColourWord(127, 127, 127)};
  record.channelSet = 0;
  Write(record);
  vfhost::Dib dib = vftest::UniformDib(2, 2, 127, 127, 127);
  Run(dib);
  // S' = 127, V' = 127: m = 128 x 127 / 255 = 63; hue 0 puts the maximum in red.
  const uint8_t* p = dib.Pixel(1, 1);
  EXPECT_EQ(p[2], 127);
  EXPECT_EQ(p[1], 63);
  EXPECT_EQ(p[0], 63);
}

TEST_F(RangeStretch, SurveyRanksOnlyGroupsOfATenthOfTheUnit) {
  // 100 x 80 = 8000 pixels: U = 100, groups below 10 pixels are not ranked.
  for (int speck : {9, 10}) {
    SCOPED_TRACE(speck);
    Record record;
    record.method = 0;
    Write(record);
    vfhost::Dib dib = vftest::UniformDib(100, 80, 50, 50, 50);
    for (int i = 0; i < speck; ++i) dib.SetPixel(40, 10 + i, 250, 0, 0);
    Run(dib);
    EXPECT_EQ(vftest::PaletteSlot(Saved(), 1), speck == 10 ? ColourWord(250, 0, 0) : ColourWord(50, 50, 50));
  }
}

TEST_F(RangeStretch, ResultMessageListsTheRanges) {
  Record record;
  record.palette = {ColourWord(0, 100, 7), ColourWord(255, 150, 7)};
  record.showResult = 1;
  Write(record);
  vfhost::Dib dib(1, 1);
  const auto messages = vftest::Messages(Run(dib).events);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "information");
  EXPECT_EQ(messages[0].icon, "none");
  EXPECT_EQ(messages[0].text, "R   0 ～ 255 ( 255 )\nG 100 ～ 150 (  50 )\nB   7 ～   7 ( 256 )\n");
  record.channelSet = 0;
  Write(record);
  const auto sv = vftest::Messages(Run(dib).events);
  ASSERT_EQ(sv.size(), 1u);
  EXPECT_EQ(sv[0].text.rfind("S ", 0), 0u);
  EXPECT_NE(sv[0].text.find("\nV "), std::string::npos);
}

TEST_F(RangeStretch, NoticeOnceAndTheStretchProgress) {
  Record record;
  record.palette = {ColourWord(0, 0, 0), ColourWord(255, 255, 255)};
  record.notice = 1;
  Write(record);
  vfhost::Dib dib(1, 3);
  const vfhost::RunOutcome outcome = Run(dib);
  const auto messages = vftest::Messages(outcome.events);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, " フィルター使用上の注意");
  EXPECT_EQ(messages[0].icon, "warning");
  EXPECT_EQ(Saved().at(0), 0);
  // Method 1: every 3 / 100 + 1 = 1 row, from 0 by one.
  EXPECT_EQ(vftest::Progress(outcome.events),
            (std::vector<std::pair<int32_t, int64_t>>{{2, 0}, {3, 0}, {3, 1}, {3, 2}, {0, 0}}));
}

TEST_F(RangeStretch, MemoryFailureChangesNothing) {
  Record record;
  record.palette = {ColourWord(0, 0, 0), ColourWord(100, 100, 100)};
  Write(record);
  const std::vector<uint8_t> file = Saved();
  vfhost::Dib dib = vftest::UniformDib(2, 2, 50, 50, 50);
  const std::vector<uint8_t> before = dib.bytes();
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.failAllocation = -1;
  EXPECT_EQ(plugin_->RunDib(dib, options).result, 0);
  EXPECT_EQ(dib.bytes(), before);
  EXPECT_EQ(Saved(), file);
}

class RangeStretchDialog : public RangeStretch {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
};

TEST_F(RangeStretchDialog, ShowsTheRecordAndSavesOk) {
  Record record;
  record.colours = 7;
  record.method = 9;  // shows as the write-out
  record.palette = {0x01000000u};
  record.channelSet = 0;
  record.width = 300;
  Write(record);
  const vfhost::OptionsOutcome outcome =
      Options({Action(T::Click, 1016), Action(T::Click, 1011), Action(T::Check, 1018), Action(T::Ok)});
  ASSERT_TRUE(outcome.state);
  EXPECT_FALSE(vftest::FindControl(*outcome.state, 1012)->enabled);
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1015)->text, "300");
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1014)->maximum, 500);
  const std::vector<uint8_t> saved = Saved();
  ASSERT_EQ(saved.size(), kRecordSize);
  EXPECT_EQ(saved[1], 250);   // OK uses every slot
  EXPECT_EQ(saved[2], 0);     // method 0 clicked
  EXPECT_EQ(saved[1042], 1);  // R, G, B clicked
  EXPECT_EQ(saved[1043], 1);
  EXPECT_EQ(saved[1040] | saved[1041] << 8, 300);
}

TEST_F(RangeStretchDialog, PlainRadioButtonsFollowTheProcedure) {
  Record record;
  record.palette = {ColourWord(1, 1, 1)};
  Write(record);
  const vfhost::OptionsOutcome outcome = Options({Action(T::Click, 1013), Action(T::Click, 1017)});
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1013)->checked, 1);
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1012)->checked, 0);
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1017)->checked, 1);
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1016)->checked, 0);
}

TEST_F(RangeStretchDialog, WidthBarSteps) {
  struct Case {
    uint16_t start;
    int32_t code;
    uint16_t expected;
  };
  for (const Case& c :
       {Case{11, SB_PAGELEFT, 1}, Case{12, SB_PAGELEFT, 2}, Case{490, SB_PAGERIGHT, 500},
        Case{489, SB_PAGERIGHT, 499}, Case{1, SB_LINELEFT, 1}, Case{500, SB_LINERIGHT, 500}}) {
    Record record;
    record.width = c.start;
    Write(record);
    Options({Action(T::Scroll, 1014, "", c.code), Action(T::Ok)});
    const std::vector<uint8_t> saved = Saved();
    EXPECT_EQ(saved[1040] | saved[1041] << 8, c.expected) << c.start << " code " << c.code;
  }
}

}  // namespace
