// scroll through its exports: the shifts, the refusal without a file, short
// files, memory failures, and the SCRL_DLG dialog that writes the file.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "../support/plugin_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using T = DialogAction::Type;

constexpr const char* kMemoryText = "グローバルメモリーが確保できませんでした；＿；。";
constexpr const char* kRangeText = "スクロール量は-9999から9999までです。";

std::vector<uint8_t> FileOf(int32_t right, int32_t down) {
  std::vector<uint8_t> bytes(8);
  std::memcpy(&bytes[0], &right, 4);
  std::memcpy(&bytes[4], &down, 4);
  return bytes;
}

// A picture whose every pixel tells where it came from: red = column,
// green = row, blue = 200.
vfhost::Dib LabelledDib(int32_t width, int32_t height) {
  vfhost::Dib dib(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      dib.SetPixel(y, x, static_cast<uint8_t>(x), static_cast<uint8_t>(y), 200);
  return dib;
}

class Scroll : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("scroll");
    ASSERT_TRUE(plugin_);
  }
  std::string SettingsFile() const { return settings_.path() + "scroll.dat"; }
  void WriteAmounts(int32_t right, int32_t down) {
    vftest::WriteFileBytes(SettingsFile(), FileOf(right, down));
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

// Where the pixel at (y, x) came from: its label.
std::pair<int, int> SourceOf(const vfhost::Dib& dib, int32_t y, int32_t x) {
  const uint8_t* pixel = dib.Pixel(y, x);
  return {pixel[1], pixel[2]};  // (row, column)
}

TEST_F(Scroll, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "スクロール");
  EXPECT_EQ(plugin_->Kind(), 0);
}

TEST_F(Scroll, RowOfThreeMovesRightOrLeft) {
  struct Case {
    int32_t right;
    std::vector<int> columns;  // the source column of each pixel, from the left
  };
  const Case cases[] = {{1, {2, 0, 1}}, {-1, {1, 2, 0}}, {2, {1, 2, 0}}, {4, {2, 0, 1}}, {-4, {1, 2, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.right);
    WriteAmounts(c.right, 0);
    vfhost::Dib dib = LabelledDib(3, 1);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(SourceOf(dib, 0, x).second, c.columns[x]) << x;
  }
}

TEST_F(Scroll, DownMovesTheBottomRowToTheTop) {
  WriteAmounts(0, 1);
  vfhost::Dib dib = LabelledDib(2, 4);
  Run(dib);
  // Row 0 is the bottom row: the old bottom row is now the top row, every
  // other row one lower.
  const int expectedSource[] = {1, 2, 3, 0};
  for (int32_t y = 0; y < 4; ++y) EXPECT_EQ(SourceOf(dib, y, 0).first, expectedSource[y]) << y;
}

TEST_F(Scroll, BothAmountsTogetherAndAnyThirtyTwoBitValue) {
  struct Case {
    int32_t right, down;
  };
  const Case cases[] = {{2, 1}, {-3, -2}, {6, 4}, {INT_MIN, INT_MAX}, {123456, -98765}};
  constexpr int32_t kWidth = 5, kHeight = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.right << ", " << c.down);
    WriteAmounts(c.right, c.down);
    vfhost::Dib dib = LabelledDib(kWidth, kHeight);
    EXPECT_EQ(Run(dib).result, 1);
    const int64_t fx = ((int64_t{c.right} % kWidth) + kWidth) % kWidth;
    const int64_t fy = ((int64_t{c.down} % kHeight) + kHeight) % kHeight;
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        const std::pair<int, int> source{static_cast<int>((y + fy) % kHeight),
                                         static_cast<int>((x - fx + kWidth) % kWidth)};
        EXPECT_EQ(SourceOf(dib, y, x), source) << y << "," << x;
      }
  }
}

TEST_F(Scroll, MultiplesOfTheSizeLeaveEveryByte) {
  const std::pair<int32_t, int32_t> amounts[] = {{0, 0}, {7, 3}, {-7, -3}, {14, -6}};
  for (const auto& [right, down] : amounts) {
    SCOPED_TRACE(testing::Message() << right << ", " << down);
    WriteAmounts(right, down);
    vfhost::Dib dib = LabelledDib(7, 3);  // rows of 21 bytes and 3 of padding
    const std::vector<uint8_t> before = dib.bytes();
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(dib.bytes(), before);
    // No progress and no message: only the result.
    ASSERT_EQ(outcome.events.size(), 1u);
    EXPECT_EQ(outcome.events[0].type, Event::Type::Result);
  }
}

TEST_F(Scroll, WithoutAFileItRefusesToRun) {
  vfhost::Dib dib = LabelledDib(4, 4);
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(dib.bytes(), before);
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"message\",\"caption\":\" File ERROR\",\"text\":\"scroll.dat が読めませんでした "
            "；＿；。\",\"icon\":\"error\"}\n"
            "{\"event\":\"result\",\"value\":0}\n");
}

TEST_F(Scroll, ShortFileKeepsTheStartingValuesEightAndSix) {
  struct Case {
    std::vector<uint8_t> file;
    int32_t right, down;
  };
  const Case cases[] = {
      {{}, 8, 6},
      {{1, 0, 0, 0}, 1, 6},
      {{1, 0, 0, 0, 2}, 1, 2},  // the low byte of down from the file, the rest from 6
  };
  constexpr int32_t kWidth = 11, kHeight = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.size());
    vftest::WriteFileBytes(SettingsFile(), c.file);
    vfhost::Dib dib = LabelledDib(kWidth, kHeight);
    EXPECT_EQ(Run(dib).result, 1);
    EXPECT_EQ(SourceOf(dib, 0, c.right % kWidth), std::make_pair(c.down % kHeight, 0));
  }
}

TEST_F(Scroll, MemoryFailuresNameTheStepThatFailed) {
  struct Case {
    long failing;
    const char* caption;
  };
  const Case cases[] = {{1, " Memory ERROR 1"}, {2, " Memory ERROR 2"}, {-1, " Memory ERROR 1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    WriteAmounts(1, 1);
    vfhost::Dib dib = LabelledDib(4, 3);
    const std::vector<uint8_t> before = dib.bytes();
    vfhost::RunOptions options = vftest::OptionsFor(settings_);
    options.failAllocation = c.failing;
    const vfhost::RunOutcome outcome = plugin_->RunDib(dib, options);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(dib.bytes(), before);
    EXPECT_EQ(outcome.liveAllocations, 0);
    const auto messages = vftest::Messages(outcome.events);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, c.caption);
    EXPECT_EQ(messages[0].text, kMemoryText);
    EXPECT_EQ(messages[0].icon, "error");
    EXPECT_TRUE(vftest::Progress(outcome.events).empty());
  }
}

TEST_F(Scroll, PictureWithoutPixelsHasNothingToMove) {
  WriteAmounts(3, 2);
  for (const auto& [width, height] : {std::pair{0, 4}, std::pair{4, 0}}) {
    vfhost::Dib dib(width, height);
    const std::vector<uint8_t> before = dib.bytes();
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(dib.bytes(), before);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  }
}

TEST_F(Scroll, FolderTooLongForThePathIsTreatedAsNoFile) {
  vfhost::RunOptions options;
  options.settingsDir = settings_.path() + std::string(300, 'd') + "/";
  vfhost::Dib dib = LabelledDib(3, 3);
  const vfhost::RunOutcome run = plugin_->RunDib(dib, options);
  EXPECT_EQ(run.result, 0);
  ASSERT_EQ(vftest::Messages(run.events).size(), 1u);
  EXPECT_EQ(vftest::Messages(run.events)[0].caption, " File ERROR");
  const vfhost::OptionsOutcome dialog = plugin_->RunOptions({Action(T::Ok)}, options);
  ASSERT_TRUE(dialog.state);
  EXPECT_EQ(vftest::FindControl(*dialog.state, 1001, "edit")->text, "80");
  EXPECT_TRUE(vftest::Messages(dialog.events).empty());
}

// The dialog.
TEST_F(Scroll, DialogWithoutAFileShowsEightyAndSixty) {
  const vfhost::OptionsOutcome outcome = Options({});
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(outcome.state->templateName, "SCRL_DLG");
  struct Box {
    int edit, upDown;
    const char* text;
    int32_t position;
  };
  for (const Box& box : {Box{1001, 1010, "80", 80}, Box{1003, 1011, "60", 60}}) {
    EXPECT_EQ(vftest::FindControl(*outcome.state, box.edit, "edit")->text, box.text);
    const vfhost::ControlState* upDown = vftest::FindControl(*outcome.state, box.upDown, "updown");
    ASSERT_TRUE(upDown);
    EXPECT_EQ(upDown->minimum, -9999);
    EXPECT_EQ(upDown->maximum, 9999);
    EXPECT_EQ(upDown->position, box.position);
  }
  EXPECT_FALSE(vftest::FileExists(SettingsFile()));  // closed: nothing written
}

TEST_F(Scroll, DialogShowsTheFileAndOkWritesItEndingWithZero) {
  struct Case {
    const char* name;
    std::vector<DialogAction> actions;
    std::vector<uint8_t> written;
  };
  const Case cases[] = {
      {"as shown", {Action(T::Ok)}, FileOf(-5, 7)},
      {"typed", {Action(T::Set, 1001, "12"), Action(T::Set, 1003, "-34"), Action(T::Ok)}, FileOf(12, -34)},
      {"the limits",
       {Action(T::Set, 1001, "-9999"), Action(T::Set, 1003, "9999"), Action(T::Ok)},
       FileOf(-9999, 9999)},
      {"up-down arrows",
       {Action(T::UpDown, 1010, "", 3), Action(T::UpDown, 1011, "", -2), Action(T::Ok)},
       FileOf(-2, 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteAmounts(-5, 7);
    const vfhost::OptionsOutcome outcome = Options(c.actions);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), c.written);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
    const auto dialogs = vftest::EventsOfType(outcome.events, Event::Type::Dialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].value, 0);
  }
}

TEST_F(Scroll, AmountOutOfRangeKeepsTheDialogOpen) {
  struct Case {
    const char* box;
    const char* text;
  };
  const Case cases[] = {{"1001", "10000"}, {"1003", "-10000"}, {"1001", "abc"}, {"1003", "99999999999"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::remove(SettingsFile().c_str());
    const int id = std::stoi(c.box);
    // OK with the bad amount is refused; the dialog is still open, and the
    // user puts it right and confirms.
    const vfhost::OptionsOutcome outcome =
        Options({Action(T::Set, id, c.text), Action(T::Ok), Action(T::Set, id, "1"), Action(T::Ok)});
    const auto messages = vftest::Messages(outcome.events);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kRangeText);
    EXPECT_EQ(messages[0].caption, "お願い");
    EXPECT_EQ(messages[0].icon, "information");
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), id == 1001 ? FileOf(1, 60) : FileOf(80, 1));
    // Without the second OK nothing is written.
    std::remove(SettingsFile().c_str());
    Options({Action(T::Set, id, c.text), Action(T::Ok)});
    EXPECT_FALSE(vftest::FileExists(SettingsFile()));
  }
}

TEST_F(Scroll, CloseBoxWritesNothing) {
  WriteAmounts(3, 4);
  const vfhost::OptionsOutcome outcome = Options({Action(T::Set, 1001, "50"), Action(T::Close)});
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), FileOf(3, 4));
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 0);
}

TEST_F(Scroll, FirstOkInTheDialogLetsTheFilterRun) {
  Options({Action(T::Set, 1001, "1"), Action(T::Set, 1003, "0"), Action(T::Ok)});
  vfhost::Dib dib = LabelledDib(3, 1);
  EXPECT_EQ(Run(dib).result, 1);
  EXPECT_EQ(SourceOf(dib, 0, 0).second, 2);
}

}  // namespace
