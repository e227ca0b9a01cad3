// ditherbw through its exports: the patterns on a mid grey, the channels'
// own extremes, narrow and constant channels, the double size, progress,
// and the DLGBOX dialog with its pattern list and the entry of a user
// pattern.
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
using Bytes = std::vector<uint8_t>;
using T = DialogAction::Type;

const Bytes kNormal = {4, 10, 7, 9, 13, 0, 14, 3, 6, 8, 5, 11, 15, 2, 12, 1};
const Bytes kHorizontal = {8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15};
const Bytes kUserA = {14, 8, 9, 15, 7, 1, 2, 10, 6, 0, 3, 11, 13, 5, 4, 12};
const Bytes kUserB = {0, 7, 12, 15, 4, 1, 8, 13, 10, 5, 2, 9, 14, 11, 6, 3};
Bytes Ascending() {
  Bytes pattern(16);
  for (int i = 0; i < 16; ++i) pattern[i] = static_cast<uint8_t>(i);
  return pattern;
}

// The 51-byte record.
Bytes Record(uint8_t chosen, const Bytes& inUse, const Bytes& userA, const Bytes& userB, uint8_t twice,
             uint8_t reserved = 0) {
  Bytes record = {chosen};
  record.insert(record.end(), inUse.begin(), inUse.end());
  record.insert(record.end(), userA.begin(), userA.end());
  record.insert(record.end(), userB.begin(), userB.end());
  record.push_back(twice);
  record.push_back(reserved);
  return record;
}
const Bytes kDefaultRecord = Record(0, kNormal, kUserA, kUserB, 0);

class DitherBw : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("ditherbw");
    ASSERT_TRUE(plugin_);
  }
  std::string SettingsFile() const { return settings_.path() + "ditherbw.dat"; }
  void WriteSettings(const Bytes& bytes) { vftest::WriteFileBytes(SettingsFile(), bytes); }
  void UsePattern(const Bytes& pattern, uint8_t twice = 0) {
    WriteSettings(Record(0, pattern, kUserA, kUserB, twice));
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

// Mid grey 128 with one black and one white pixel outside the columns looked
// at, so that every channel runs from 0 to 255.
vfhost::Dib MidGreyFullRange(int32_t width, int32_t height) {
  vfhost::Dib dib = vftest::UniformDib(width, height, 128, 128, 128);
  dib.SetPixel(0, width - 1, 0, 0, 0);
  dib.SetPixel(1, width - 1, 255, 255, 255);
  return dib;
}

// 128 gives 8 steps of 15: the cells with thresholds 0 .. 7 turn white.
void ExpectMidGreyPattern(const vfhost::Dib& dib, const Bytes& pattern, int cellSize, int32_t columns) {
  for (int32_t y = 0; y < dib.height(); ++y) {
    for (int32_t x = 0; x < columns; ++x) {
      const uint8_t threshold = pattern[4 * ((y / cellSize) % 4) + (x / cellSize) % 4];
      const uint8_t expected = threshold < 8 ? 255 : 0;
      const uint8_t* p = dib.Pixel(y, x);
      EXPECT_TRUE(p[0] == expected && p[1] == expected && p[2] == expected) << "row " << y << " column " << x;
    }
  }
}

TEST_F(DitherBw, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "２値化ディザ");
  EXPECT_EQ(plugin_->Kind(), 0);
}

TEST_F(DitherBw, MidGreyWithTheBuiltInPatterns) {
  struct Case {
    const char* name;
    Bytes pattern;
    std::vector<std::string> rows;  // rows 0 .. 3 of the first four columns
  };
  const Case cases[] = {
      {"普通", kNormal, {"W.W.", ".W.W", "W.W.", ".W.W"}},
      {"横線: rows 1 and 2 white", kHorizontal, {"....", "WWWW", "WWWW", "...."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UsePattern(c.pattern);
    vfhost::Dib dib = MidGreyFullRange(8, 8);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
    for (int32_t y = 0; y < 8; ++y) {
      std::string row;
      for (int32_t x = 0; x < 4; ++x) row += dib.Pixel(y, x)[0] == 255 ? 'W' : '.';
      EXPECT_EQ(row, c.rows[y % 4]) << "row " << y;
    }
    ExpectMidGreyPattern(dib, c.pattern, 1, 7);
  }
}

TEST_F(DitherBw, WithoutASettingsFileThePatternIsTheFirst) {
  vfhost::Dib dib = MidGreyFullRange(8, 4);
  Run(dib);
  ExpectMidGreyPattern(dib, kNormal, 1, 7);
}

TEST_F(DitherBw, DoubleSizeSpreadsEachCellOverTwoByTwo) {
  UsePattern(kNormal, 1);
  vfhost::Dib dib = MidGreyFullRange(17, 16);
  Run(dib);
  ExpectMidGreyPattern(dib, kNormal, 2, 16);
}

// Each channel keeps to its own extremes: red runs 40 .. 200, green is
// constant, and blue has a range of 5, too narrow for whole steps of 17.
TEST_F(DitherBw, ChannelsKeepTheirOwnExtremes) {
  UsePattern(Ascending());
  vfhost::Dib dib(4, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) dib.SetPixel(y, x, 120, 77, 103);
  dib.SetPixel(0, 0, 40, 77, 100);   // darkest red and blue
  dib.SetPixel(3, 3, 200, 77, 105);  // lightest red and blue
  Run(dib);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      SCOPED_TRACE(testing::Message() << "row " << y << " column " << x);
      const uint8_t threshold = static_cast<uint8_t>(4 * y + x);
      const uint8_t* p = dib.Pixel(y, x);
      EXPECT_EQ(p[1], 77);  // constant green
      if (y == 0 && x == 0) {
        EXPECT_EQ(p[2], 40);
        EXPECT_EQ(p[0], 100);
      } else if (y == 3 && x == 3) {
        EXPECT_EQ(p[2], 200);
        EXPECT_EQ(p[0], 105);
      } else {
        // Red 120: (120 - 40) / 9 = 8 steps. Blue 103: 3 of 5, spread to 10 of 17.
        EXPECT_EQ(p[2], threshold < 8 ? 200 : 40);
        EXPECT_EQ(p[0], threshold < 10 ? 105 : 100);
      }
    }
  }
}

TEST_F(DitherBw, ProgressEveryTenthOfTheRowsAcrossBothPasses) {
  struct Case {
    int32_t height;
    std::vector<int64_t> percents;
  };
  const auto run = [](int64_t from, int64_t count) {
    std::vector<int64_t> values;
    for (int64_t i = 0; i < count; ++i) values.push_back(from + 5 * i);
    return values;
  };
  const Case cases[] = {
      {20, run(0, 20)},  // rows 0, 2, ..., 18 of each pass
      {25, run(0, 26)},  // step 2: rows 0, 2, ..., 24, thirteen a pass
      {4, run(0, 8)},    // fewer than 10 rows: every row
      {0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    vfhost::Dib dib = vftest::UniformDib(3, c.height, 10, 20, 30);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    std::vector<std::pair<int32_t, int64_t>> expected = {{2, 0}};
    for (int64_t value : c.percents) expected.emplace_back(3, value);
    expected.emplace_back(0, 0);
    EXPECT_EQ(vftest::Progress(outcome.events), expected);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  }
}

// The dialog.
class DitherDialog : public DitherBw {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
  Bytes Saved() const { return vftest::ReadFileBytes(SettingsFile()); }
  static DialogAction Select(int index) { return Action(T::Select, 1011, "", index); }
  static std::vector<DialogAction> EnterPattern(const std::vector<int>& cellOrder) {
    std::vector<DialogAction> actions = {Action(T::Click, 1028)};
    for (int cell : cellOrder) actions.push_back(Action(T::Click, 1012 + cell));
    return actions;
  }
  static std::vector<int> CellsInOrder(int count) {
    std::vector<int> cells;
    for (int i = 0; i < count; ++i) cells.push_back(i);
    return cells;
  }
  static void ExpectCells(const vfhost::DialogState& state, const std::vector<std::string>& texts,
                          bool enabled) {
    for (int i = 0; i < 16; ++i) {
      const auto* cell = vftest::FindControl(state, 1012 + i, "button");
      ASSERT_TRUE(cell) << i;
      EXPECT_EQ(cell->text, texts[i]) << i;
      EXPECT_EQ(cell->enabled, enabled) << i;
    }
  }
  static std::vector<std::string> Texts(const Bytes& pattern) {
    std::vector<std::string> texts;
    for (uint8_t value : pattern) texts.push_back(std::to_string(value));
    return texts;
  }
};

TEST_F(DitherDialog, ShowsTheChosenPattern) {
  struct Case {
    const char* name;
    Bytes file;  // empty: none
    int selected;
    Bytes shown;
    bool enterEnabled;
    int twice;
  };
  const Bytes ascending = Ascending();
  const Case cases[] = {
      {"no file", {}, 0, kNormal, false, 0},
      {"user pattern B from the record", Record(7, kNormal, kUserA, ascending, 1), 7, ascending, true, 1},
      {"a pattern beyond the list shows the first", Record(9, kNormal, kUserA, kUserB, 0), 0, kNormal, false,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsFile().c_str());
    if (!c.file.empty()) WriteSettings(c.file);
    const vfhost::OptionsOutcome outcome = Options({});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(outcome.state->templateName, "DLGBOX");
    const auto* list = vftest::FindControl(*outcome.state, 1011, "combobox");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->items, (std::vector<std::string>{"普通", "ぐるぐる", "横線", "縦線", "右上がり三角",
                                                     "左上がり三角", "ユーザー設定Ａ", "ユーザー設定Ｂ"}));
    EXPECT_EQ(list->selected, c.selected);
    ExpectCells(*outcome.state, Texts(c.shown), false);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1028)->enabled, c.enterEnabled);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1029)->checked, c.twice);
  }
}

TEST_F(DitherDialog, EnteringAUserPattern) {
  const vfhost::OptionsOutcome started = Options({Select(6), Action(T::Click, 1028)});
  ASSERT_TRUE(started.state);
  ExpectCells(*started.state, std::vector<std::string>(16, "押"), true);

  std::vector<DialogAction> actions = {Select(6)};
  for (const DialogAction& action : EnterPattern(CellsInOrder(3))) actions.push_back(action);
  const vfhost::OptionsOutcome partway = Options(actions);
  ASSERT_TRUE(partway.state);
  for (int i = 0; i < 16; ++i) {
    const auto* cell = vftest::FindControl(*partway.state, 1012 + i);
    EXPECT_EQ(cell->text, i < 3 ? std::to_string(i) : "押") << i;
    EXPECT_EQ(cell->enabled, i >= 3) << i;
  }
}

TEST_F(DitherDialog, OkSavesTheRecord) {
  const Bytes ascending = Ascending();
  // Cells clicked from the last to the first: cell 15 gets 0.
  std::vector<int> reversed;
  for (int i = 15; i >= 0; --i) reversed.push_back(i);
  Bytes descending(ascending.rbegin(), ascending.rend());
  const auto then = [](std::vector<DialogAction> actions, std::vector<DialogAction> more) {
    actions.insert(actions.end(), more.begin(), more.end());
    return actions;
  };
  struct Case {
    const char* name;
    std::vector<DialogAction> actions;
    Bytes saved;
  };
  const Case cases[] = {
      {"defaults", {Action(T::Ok)}, kDefaultRecord},
      {"横線 and double size",
       {Select(2), Action(T::Check, 1029), Action(T::Ok)},
       Record(2, kHorizontal, kUserA, kUserB, 1)},
      {"user pattern A as it is", {Select(6), Action(T::Ok)}, Record(6, kUserA, kUserA, kUserB, 0)},
      {"entered 0 .. 15 in byte order",
       then(then({Select(6)}, EnterPattern(CellsInOrder(16))), {Action(T::Ok)}),
       Record(6, ascending, ascending, kUserB, 0)},
      {"entered into B in reverse", then(then({Select(7)}, EnterPattern(reversed)), {Action(T::Ok)}),
       Record(7, descending, kUserA, descending, 0)},
      {"entered, then another pattern chosen",
       then(then({Select(6)}, EnterPattern(CellsInOrder(16))), {Select(1), Action(T::Ok)}),
       Record(1, {0, 4, 5, 1, 11, 12, 13, 6, 10, 15, 14, 7, 3, 9, 8, 2}, ascending, kUserB, 0)},
      {"an entry left after fifteen clicks changes nothing",
       then(then({Select(6)}, EnterPattern(CellsInOrder(15))), {Action(T::Ok)}),
       Record(6, kUserA, kUserA, kUserB, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsFile().c_str());
    const vfhost::OptionsOutcome outcome = Options(c.actions);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 1);
    EXPECT_EQ(Saved(), c.saved);
  }
}

TEST_F(DitherDialog, TheReservedByteIsKept) {
  WriteSettings(Record(0, kNormal, kUserA, kUserB, 0, 0x5A));
  Options({Select(4), Action(T::Ok)});
  EXPECT_EQ(Saved().at(50), 0x5A);
}

TEST_F(DitherDialog, CloseBoxSavesNothing) {
  WriteSettings(kDefaultRecord);
  std::vector<DialogAction> actions = {Select(7)};
  for (const DialogAction& action : EnterPattern(CellsInOrder(16))) actions.push_back(action);
  actions.push_back(Action(T::Close));
  const vfhost::OptionsOutcome outcome = Options(actions);
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(Saved(), kDefaultRecord);
}

// What the dialog saves is what the next run uses.
TEST_F(DitherDialog, AnEnteredPatternDithersTheNextRun) {
  std::vector<DialogAction> actions = {Select(6)};
  for (const DialogAction& action : EnterPattern(CellsInOrder(16))) actions.push_back(action);
  actions.push_back(Action(T::Ok));
  Options(actions);
  vfhost::Dib dib = MidGreyFullRange(8, 4);
  Run(dib);
  ExpectMidGreyPattern(dib, Ascending(), 1, 7);
}

}  // namespace
