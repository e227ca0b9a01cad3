// colorreduce through its exports: the survey's groups and ranking, the
// reduction's choice of colour, the write-out, the kept palette, the notice,
// ESC, memory failure, and the dialog.
#include <gtest/gtest.h>

#include "../support/colour_record.h"
#include "../support/plugin_test.h"
#include "vfwin/vfwin.h"

namespace {

using vfhost::DialogAction;
using vftest::Action;
using vftest::ColourWord;
using T = DialogAction::Type;

constexpr std::size_t kRecordSize = 1044;

class ColorReduce : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("colorreduce");
    ASSERT_TRUE(plugin_);
  }
  std::string SettingsFile() const { return settings_.path() + "colorreduce.dat"; }
  void WriteRecord(uint8_t colours, uint8_t method, const std::vector<uint32_t>& palette,
                   uint8_t notice = 0) {
    vftest::WriteFileBytes(SettingsFile(),
                           vftest::PaletteRecord(kRecordSize, notice, colours, method, palette));
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib, int64_t escFrom = 0) {
    vfhost::RunOptions options = vftest::OptionsFor(settings_);
    if (escFrom > 0) options.escFromPoll = escFrom;
    return plugin_->RunDib(dib, options);
  }
  std::vector<uint8_t> Saved() const { return vftest::ReadFileBytes(SettingsFile()); }
  static uint32_t WordAt(const vfhost::Dib& dib, int32_t y, int32_t x) {
    const uint8_t* p = dib.Pixel(y, x);
    return ColourWord(p[2], p[1], p[0]);
  }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(ColorReduce, FirstRunShowsTheNoticeOnceAndKeepsAOneColourPicture) {
  vfhost::Dib dib = vftest::UniformDib(9, 9, 40, 80, 120);
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome first = Run(dib);
  EXPECT_EQ(first.result, 1);
  EXPECT_EQ(dib.bytes(), before);  // one group < N = 16: no reduction
  const auto messages = vftest::Messages(first.events);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, " 単純減色フィルター使用上の注意");
  EXPECT_EQ(messages[0].icon, "warning");
  EXPECT_EQ(messages[0].text.rfind("このフィルターはとっても時間がかかります。\n", 0), 0u);
  const std::vector<uint8_t> saved = Saved();
  ASSERT_EQ(saved.size(), kRecordSize);
  EXPECT_EQ(saved[0], 0);   // notice shown
  EXPECT_EQ(saved[1], 16);  // defaults
  for (int slot = 0; slot < 256; ++slot) ASSERT_EQ(vftest::PaletteSlot(saved, slot), ColourWord(40, 80, 120));
  EXPECT_TRUE(vftest::Messages(Run(dib).events).empty());
}

TEST_F(ColorReduce, ColoursLessThanTwelveApartFormOneGroup) {
  struct Case {
    int offset;
    uint32_t secondSlot;
  };
  // Three pixels of the base colour, then one other: its group ranks second.
  for (const Case& c : {Case{11, ColourWord(100, 100, 100)}, Case{12, ColourWord(112, 100, 100)}}) {
    SCOPED_TRACE(c.offset);
    WriteRecord(2, 0, {});
    vfhost::Dib dib = vftest::UniformDib(4, 1, 100, 100, 100);
    dib.SetPixel(0, 3, static_cast<uint8_t>(100 + c.offset), 100, 100);
    Run(dib);
    const std::vector<uint8_t> saved = Saved();
    EXPECT_EQ(vftest::PaletteSlot(saved, 0), ColourWord(100, 100, 100));
    EXPECT_EQ(vftest::PaletteSlot(saved, 1), c.secondSlot);
  }
}

TEST_F(ColorReduce, EqualSizesRankTheNewerGroupFirst) {
  WriteRecord(2, 0, {});
  vfhost::Dib dib(2, 1);
  dib.SetPixel(0, 0, 10, 10, 10);
  dib.SetPixel(0, 1, 200, 200, 200);
  Run(dib);
  const std::vector<uint8_t> saved = Saved();
  EXPECT_EQ(vftest::PaletteSlot(saved, 0), ColourWord(200, 200, 200));
  EXPECT_EQ(vftest::PaletteSlot(saved, 1), ColourWord(10, 10, 10));
  EXPECT_EQ(WordAt(dib, 0, 0), ColourWord(10, 10, 10));  // two groups for N = 2: reduced to themselves
}

TEST_F(ColorReduce, StoredPaletteChoiceRules) {
  struct Case {
    const char* name;
    std::vector<uint32_t> palette;
    uint8_t pixel;
    uint32_t chosen;
  };
  const Case cases[] = {
      // 103 is nearer in value, but 111 agrees in the top five bits (104).
      {"top five bits first",
       {ColourWord(103, 103, 103), ColourWord(111, 111, 111)},
       104,
       ColourWord(111, 111, 111)},
      // Both 10 away in value, neither agrees in the top five bits.
      {"earlier slot on a tie",
       {ColourWord(118, 118, 118), ColourWord(138, 138, 138)},
       128,
       ColourWord(118, 118, 118)},
      // Grey to red pays saturation 255 + value 127; to dark grey only 68.
      {"grey to grey by value", {ColourWord(255, 0, 0), ColourWord(60, 60, 60)}, 128, ColourWord(60, 60, 60)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteRecord(2, 1, c.palette);
    vfhost::Dib dib = vftest::UniformDib(1, 1, c.pixel, c.pixel, c.pixel);
    Run(dib);
    EXPECT_EQ(WordAt(dib, 0, 0), c.chosen);
  }
}

TEST_F(ColorReduce, WriteOutPaintsBands) {
  const std::vector<uint32_t> palette = {ColourWord(1, 0, 0), ColourWord(2, 0, 0), ColourWord(3, 0, 0),
                                         ColourWord(4, 0, 0)};
  WriteRecord(4, 2, palette);
  vfhost::Dib dib(3, 100);
  const vfhost::RunOutcome outcome = Run(dib);
  for (int32_t y = 0; y < 100; ++y) ASSERT_EQ(WordAt(dib, y, 2), palette[y / 25]) << y;
  // Every sixth row (100 / 20 + 1) reports, from 0 by 5.
  const auto progress = vftest::Progress(outcome.events);
  ASSERT_EQ(progress.size(), 2u + 17u);
  EXPECT_EQ(progress[1], std::make_pair(3, int64_t{0}));
  EXPECT_EQ(progress[17], std::make_pair(3, int64_t{80}));
}

TEST_F(ColorReduce, SurveyProgressThenReductionProgress) {
  // 40 x 4 = 160 pixels: U = 2. Two colour halves per row: two groups.
  WriteRecord(2, 0, {});
  vfhost::Dib dib(40, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 40; ++x) dib.SetPixel(y, x, x < 20 ? 0 : 200, 0, 0);
  const auto progress = vftest::Progress(Run(dib).events);
  // BEGIN; survey: 0, then per row joined / 2: row 0 joins 19 + 79 (both groups gather all rows) = 158 -> 79;
  // then the reduction from P = 79 every 4 / 20 = 0 -> every row, 79, 80, 81, 82; END.
  const std::vector<std::pair<int32_t, int64_t>> expected = {
      {2, 0}, {3, 0}, {8, 79}, {8, 79}, {8, 79}, {8, 79}, {3, 79}, {3, 80}, {3, 81}, {3, 82}, {0, 0}};
  EXPECT_EQ(progress, expected);
}

TEST_F(ColorReduce, EscDuringTheSurveyKeepsWhatWasFoundAndSaves) {
  WriteRecord(2, 0, {});
  vfhost::Dib dib(2, 3);
  dib.SetPixel(0, 0, 10, 10, 10);
  dib.SetPixel(0, 1, 10, 10, 10);
  dib.SetPixel(1, 0, 90, 90, 90);  // a second group, found in row 1 only
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome outcome = Run(dib, 1);  // ESC at the first poll, after row 0
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.escPolls, 1);
  EXPECT_EQ(dib.bytes(), before);  // one group found: fewer than N, no reduction
  const std::vector<uint8_t> saved = Saved();
  EXPECT_EQ(vftest::PaletteSlot(saved, 0), ColourWord(10, 10, 10));
  EXPECT_EQ(vftest::PaletteSlot(saved, 1), ColourWord(10, 10, 10));
}

TEST_F(ColorReduce, EscDuringTheReductionLeavesLaterRows) {
  WriteRecord(2, 1, {ColourWord(0, 0, 0), ColourWord(255, 255, 255)});
  vfhost::Dib dib = vftest::UniformDib(2, 3, 30, 30, 30);
  Run(dib, 1);
  EXPECT_EQ(WordAt(dib, 0, 0), ColourWord(0, 0, 0));
  EXPECT_EQ(WordAt(dib, 1, 0), ColourWord(30, 30, 30));
}

TEST_F(ColorReduce, MemoryFailureChangesNeitherPictureNorFile) {
  vfhost::Dib dib = vftest::UniformDib(3, 3, 1, 2, 3);
  const std::vector<uint8_t> before = dib.bytes();
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.failAllocation = -1;
  const vfhost::RunOutcome outcome = plugin_->RunDib(dib, options);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(dib.bytes(), before);
  EXPECT_FALSE(vftest::FileExists(SettingsFile()));
  const auto messages = vftest::Messages(outcome.events);
  ASSERT_EQ(messages.size(), 2u);  // the notice, then the memory message
  EXPECT_EQ(messages[1].caption, " ごめんなさい");
  EXPECT_EQ(outcome.liveAllocations, 0);
}

TEST_F(ColorReduce, HandMadeColourCountsStayInsideTheRanking) {
  for (uint8_t colours : {0, 1, 251, 255}) {
    SCOPED_TRACE(int{colours});
    WriteRecord(colours, 0, {});
    vfhost::Dib dib(16, 16);
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 16; ++x)
        dib.SetPixel(y, x, static_cast<uint8_t>(16 * x), static_cast<uint8_t>(16 * y), 0);
    EXPECT_EQ(Run(dib).result, 1);
    EXPECT_EQ(Saved().at(1), colours);  // the file keeps what it held
  }
}

class ColorReduceDialog : public ColorReduce {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
};

TEST_F(ColorReduceDialog, StoredMethodsNeedAPalette) {
  for (bool hasPalette : {false, true}) {
    SCOPED_TRACE(hasPalette);
    WriteRecord(30, 1, {hasPalette ? ColourWord(1, 2, 3) : 0x01000000u});
    const vfhost::OptionsOutcome outcome = Options({});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1012)->enabled, hasPalette);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1013)->enabled, hasPalette);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1012)->checked, 1);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1010)->text, "30");
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1009)->position, 30);
  }
}

TEST_F(ColorReduceDialog, ScrollStepsAndOkSaveTheRecord) {
  struct Case {
    uint8_t start;
    int32_t code;
    std::optional<int32_t> position;
    uint8_t expected;
  };
  const Case cases[] = {{2, SB_LINELEFT, {}, 2},        {250, SB_LINERIGHT, {}, 250},
                        {12, SB_PAGELEFT, {}, 2},       {13, SB_PAGELEFT, {}, 3},
                        {240, SB_PAGERIGHT, {}, 250},   {239, SB_PAGERIGHT, {}, 249},
                        {16, SB_THUMBTRACK, 300, 44},  // the low 8 bits of 300
                        {16, SB_THUMBPOSITION, 77, 77}, {16, SB_ENDSCROLL, {}, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.start} << " code " << c.code);
    WriteRecord(c.start, 0, {ColourWord(1, 2, 3)}, 1);
    DialogAction scroll = Action(T::Scroll, 1009, "", c.code);
    scroll.position = c.position;
    const vfhost::OptionsOutcome outcome = Options({scroll, Action(T::Click, 1013), Action(T::Ok)});
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1010)->text, std::to_string(c.expected));
    const std::vector<uint8_t> saved = Saved();
    ASSERT_EQ(saved.size(), kRecordSize);
    EXPECT_EQ(saved[0], 1);  // saving the dialog keeps the notice pending
    EXPECT_EQ(saved[1], c.expected);
    EXPECT_EQ(saved[2], 2);
  }
}

TEST_F(ColorReduceDialog, CloseBoxDropsTheChanges) {
  WriteRecord(20, 0, {ColourWord(1, 2, 3)});
  const std::vector<uint8_t> before = Saved();
  Options({Action(T::Scroll, 1009, "", SB_PAGERIGHT), Action(T::Close)});
  EXPECT_EQ(Saved(), before);
}

}  // namespace
