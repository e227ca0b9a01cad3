// despeckle through its exports: background whitening, erased specks and
// kept lines, the contrast greys and the blue-byte rule, the picture's edge,
// messages, memory failure, settings files and the DLGBOX dialog with its
// scroll bar.
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
using Rgb = std::vector<uint8_t>;  // red, green, blue

// The scroll bar's notification codes in the low word of WM_HSCROLL's wParam.
enum ScrollCode : int32_t {
  SB_LINELEFT = 0,
  SB_LINERIGHT = 1,
  SB_PAGELEFT = 2,
  SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_ENDSCROLL = 8,
};

constexpr const char* kNothingText = "処理できるピクセルがありませんでした（＾＾；。";

Rgb Colour(const vfhost::Dib& dib, int32_t y, int32_t x) {
  const uint8_t* pixel = dib.Pixel(y, x);
  return {pixel[2], pixel[1], pixel[0]};
}

// Pictures as text, top row first: '#' black, '.' white; Drawing writes '?'
// for any other colour.
vfhost::Dib Picture(const std::vector<std::string>& rows) {
  const int32_t height = static_cast<int32_t>(rows.size());
  vfhost::Dib dib(static_cast<int32_t>(rows[0].size()), height);
  for (int32_t r = 0; r < height; ++r)
    for (int32_t x = 0; x < dib.width(); ++x) {
      const uint8_t level = rows[static_cast<size_t>(r)][static_cast<size_t>(x)] == '#' ? 0 : 255;
      dib.SetPixel(height - 1 - r, x, level, level, level);
    }
  return dib;
}

std::vector<std::string> Drawing(const vfhost::Dib& dib) {
  std::vector<std::string> rows;
  for (int32_t y = dib.height() - 1; y >= 0; --y) {
    std::string row;
    for (int32_t x = 0; x < dib.width(); ++x) {
      const Rgb colour = Colour(dib, y, x);
      row += colour == Rgb{0, 0, 0} ? '#' : colour == Rgb{255, 255, 255} ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// A white 7 x 5 picture with a black band over rows 1 .. 3 and the given
// colour at (2, 3) inside it: that pixel is never in an isolated block, so
// only the background and contrast rules decide its colour.
vfhost::Dib BandWithPixel(const Rgb& colour) {
  vfhost::Dib dib = vftest::UniformDib(7, 5, 255, 255, 255);
  for (int32_t y = 1; y <= 3; ++y)
    for (int32_t x = 0; x < 7; ++x) dib.SetPixel(y, x, 0, 0, 0);
  dib.SetPixel(2, 3, colour[0], colour[1], colour[2]);
  return dib;
}

ProgressList RowProgress(int32_t rows) {
  ProgressList progress = {{2, 0}};
  for (int32_t row = 0; row < rows; ++row) progress.emplace_back(3, 5 * row);
  progress.emplace_back(0, 0);
  return progress;
}

class Despeckle : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("despeckle");
    ASSERT_TRUE(plugin_);
  }

  std::string SettingsFile() const { return settings_.path() + "despeckle.dat"; }
  void WriteSettings(const std::vector<uint8_t>& bytes) { vftest::WriteFileBytes(SettingsFile(), bytes); }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(Despeckle, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "孤立点除去");
  EXPECT_EQ(plugin_->Kind(), 0);
}

// Each case: the picture before and after a run with contrast off and the
// default background level 180.
TEST_F(Despeckle, ErasesSpecksAndKeepsLines) {
  struct Case {
    const char* name;
    std::vector<std::string> before, after;
    bool nothingProcessed = false;  // no pixel's block was isolated
  };
  const std::vector<std::string> blank7(7, ".......");
  const Case cases[] = {
      {"single pixel", {".......", ".......", ".......", "...#...", ".......", ".......", "......."}, blank7},
      {"2 x 2 block", {".......", ".......", "..##...", "..##...", ".......", ".......", "......."}, blank7},
      {"3 x 3 block", {".......", ".......", "..###..", "..###..", "..###..", ".......", "......."}, blank7},
      {"vertical segment of three",
       {".......", "...#...", "...#...", "...#...", ".......", ".......", "......."},
       blank7},
      {"horizontal segment of three",
       {".......", ".......", ".......", "..###..", ".......", ".......", "......."},
       blank7},
      // The border counts as light: a speck in the corner is judged by its
      // part inside the picture alone.
      {"segment at the edge",
       {".......", ".......", ".......", ".......", "#......", "#......", "#......"},
       blank7},
      {"horizontal line across",
       {".......", ".......", ".......", "#######", ".......", ".......", "......."},
       {".......", ".......", ".......", "#######", ".......", ".......", "......."}},
      {"vertical line across",
       {"..#....", "..#....", "..#....", "..#....", "..#....", "..#....", "..#...."},
       {"..#....", "..#....", "..#....", "..#....", "..#....", "..#....", "..#...."}},
      {"4 x 4 block",
       {".......", ".####..", ".####..", ".####..", ".####..", ".......", "......."},
       {".......", ".####..", ".####..", ".####..", ".####..", ".......", "......."}},
      // A 45 degree line one pixel wide is erased but where it meets the edge;
      // two pixels wide it stays.
      {"45 degree line, one pixel wide",
       {"......#", ".....#.", "....#..", "...#...", "..#....", ".#.....", "#......"},
       {"......#", ".......", ".......", ".......", ".......", ".......", "#......"}},
      // Pictures narrower than the border: edge repeat stays inside them.
      {"one pixel", {"#"}, {"."}},
      {"one column", {"#", "#", "#", "#"}, {"#", "#", "#", "#"}, true},
      {"one row of two", {"##"}, {".."}},
      {"45 degree line, two pixels wide",
       {"......#", ".....##", "....##.", "...##..", "..##...", ".##....", "##....."},
       {"......#", ".....##", "....##.", "...##..", "..##...", ".##....", "##....."}},
  };
  WriteSettings({180, 0});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vfhost::Dib dib = Picture(c.before);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(Drawing(dib), c.after);
    EXPECT_EQ(vftest::Messages(outcome.events).size(), c.nothingProcessed ? 1u : 0u);
  }
}

// A white picture: every pixel is isolated and processed; nothing to report.
TEST_F(Despeckle, WhitePictureStaysWhiteWithoutMessage) {
  vfhost::Dib dib = vftest::UniformDib(5, 3, 255, 255, 255);
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(dib.bytes(), before);
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":5}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":10}\n"
            "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
            "{\"event\":\"result\",\"value\":1}\n");
}

// In a black picture of 3 x 3 or more every pixel has a dark neighbour with
// dark beyond it: nothing is processed, and black stays black under contrast.
TEST_F(Despeckle, BlackPictureProcessesNothing) {
  vfhost::Dib dib = vftest::UniformDib(5, 3, 0, 0, 0);
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(dib.bytes(), before);
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":5}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":10}\n"
            "{\"event\":\"message\",\"caption\":\"孤立点除去\",\"text\":\"" +
                std::string(kNothingText) +
                "\",\"icon\":\"information\"}\n"
                "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
                "{\"event\":\"result\",\"value\":1}\n");
}

TEST_F(Despeckle, BackgroundAndContrastDecideTheColour) {
  struct Case {
    const char* name;
    uint8_t background, contrast;
    Rgb before, after;
  };
  const Case cases[] = {
      {"grey 100 stretched to 136", 180, 1, {100, 100, 100}, {136, 136, 136}},
      {"grey 100 kept without contrast", 180, 0, {100, 100, 100}, {100, 100, 100}},
      {"luminance above the level is white", 180, 0, {181, 181, 181}, {255, 255, 255}},
      {"luminance above the level is white with contrast", 180, 1, {181, 181, 181}, {255, 255, 255}},
      {"luminance at the level is not background", 180, 0, {180, 180, 180}, {180, 180, 180}},
      {"luminance at the level stretched to 249", 180, 1, {180, 180, 180}, {249, 249, 249}},
      {"a blue byte of 255 is kept", 180, 1, {0, 0, 255}, {0, 0, 255}},
      {"coloured pixel becomes grey", 180, 1, {120, 30, 140}, {92, 92, 92}},  // luminance 69
      {"level 4 or less makes black", 4, 1, {2, 2, 2}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings({c.background, c.contrast});
    vfhost::Dib dib = BandWithPixel(c.before);
    Run(dib);
    EXPECT_EQ(Colour(dib, 2, 3), c.after);
    EXPECT_EQ(Colour(dib, 2, 2), (Rgb{0, 0, 0}));
    EXPECT_EQ(Colour(dib, 4, 3), (Rgb{255, 255, 255}));
  }
}

// The line of grey 100 (luminance 100) stays and becomes grey 136; the
// light pixels round it are whitened.
TEST_F(Despeckle, ContrastStretchesAWholeLine) {
  vfhost::Dib dib = vftest::UniformDib(6, 3, 200, 200, 200);
  for (int32_t x = 0; x < 6; ++x) dib.SetPixel(1, x, 100, 100, 100);
  Run(dib);  // defaults: level 180, contrast on
  for (int32_t x = 0; x < 6; ++x) {
    EXPECT_EQ(Colour(dib, 1, x), (Rgb{136, 136, 136})) << x;
    EXPECT_EQ(Colour(dib, 0, x), (Rgb{255, 255, 255})) << x;
    EXPECT_EQ(Colour(dib, 2, x), (Rgb{255, 255, 255})) << x;
  }
}

// A level of 0 can only come from a hand-made file: no pixel is dark, so the
// whole picture becomes white.
TEST_F(Despeckle, LevelZeroWhitensEverything) {
  WriteSettings({0, 1});
  vfhost::Dib dib = Picture({"#######", "#######", "..###..", "#######"});
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(Drawing(dib), std::vector<std::string>(4, "......."));
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
}

// A one-byte file sets the level only; contrast keeps what the last load left.
TEST_F(Despeckle, ShortFileKeepsTheRestOfTheRecord) {
  WriteSettings({180, 0});
  vfhost::Dib first = vftest::UniformDib(1, 1, 255, 255, 255);
  Run(first);
  WriteSettings({200});
  vfhost::Dib dib = BandWithPixel({190, 190, 190});  // dark below 200, kept as it is without contrast
  Run(dib);
  EXPECT_EQ(Colour(dib, 2, 3), (Rgb{190, 190, 190}));
}

// Rows pass through the raster whole: the padding of each row is untouched
// and pixels away from any speck keep their exact bytes.
TEST_F(Despeckle, OnlyPixelBytesOfTheRowsAreWritten) {
  WriteSettings({180, 0});
  vfhost::Dib dib = vftest::UniformDib(5, 4, 0, 0, 0);         // stride 16: one padding byte a row
  for (int32_t y = 0; y < 4; ++y) dib.Pixel(y, 0)[15] = 0xA5;  // the padding byte
  const std::vector<uint8_t> marked = dib.bytes();
  Run(dib);
  EXPECT_EQ(dib.bytes(), marked);
}

TEST_F(Despeckle, PictureWithoutRowsShowsTheMessage) {
  vfhost::Dib dib(4, 0);
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(vftest::Progress(outcome.events), (ProgressList{{2, 0}, {0, 0}}));
  ASSERT_EQ(vftest::Messages(outcome.events).size(), 1u);
  EXPECT_EQ(vftest::Messages(outcome.events)[0].caption, "孤立点除去");
}

TEST_F(Despeckle, MemoryFailureLeavesThePictureUntouched) {
  vfhost::Dib dib = Picture({".....", "..#..", "....."});
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
  EXPECT_EQ(outcome.liveAllocations, 0);
}

TEST_F(Despeckle, DoesNotPollEscape) {
  vfhost::Dib dib = vftest::UniformDib(4, 25, 255, 255, 255);
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.escFromPoll = 1;
  const vfhost::RunOutcome outcome = plugin_->RunDib(dib, options);
  EXPECT_EQ(outcome.escPolls, 0);
  EXPECT_EQ(vftest::Progress(outcome.events), RowProgress(25));  // 25 rows: step 1
}

// The dialog.
class DespeckleDialog : public Despeckle {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
};

DialogAction Scroll(int32_t code, std::optional<int32_t> position = std::nullopt) {
  DialogAction action = Action(DialogAction::Type::Scroll, 1009, "", code);
  action.position = position;
  return action;
}

TEST_F(DespeckleDialog, ShowsTheRecord) {
  WriteSettings({37, 0});
  const vfhost::OptionsOutcome outcome = Options({});
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(outcome.state->templateName, "DLGBOX");
  const auto* bar = vftest::FindControl(*outcome.state, 1009, "scrollbar");
  const auto* value = vftest::FindControl(*outcome.state, 1010, "static");
  const auto* contrast = vftest::FindControl(*outcome.state, 1008, "button");
  ASSERT_TRUE(bar && value && contrast);
  EXPECT_EQ(bar->minimum, 1);
  EXPECT_EQ(bar->maximum, 255);
  EXPECT_EQ(bar->position, 37);
  EXPECT_EQ(value->text, "37");
  EXPECT_EQ(contrast->checked, 0);
}

// Each case scrolls from a level written to the file, then OK: the bar, the
// value text and the saved record agree.
TEST_F(DespeckleDialog, ScrollBarStepsAndLimits) {
  struct Case {
    const char* name;
    uint8_t start;
    DialogAction scroll;
    uint8_t level;
  };
  const Case cases[] = {
      {"line left", 100, Scroll(SB_LINELEFT), 99},
      {"line left stops at 1", 1, Scroll(SB_LINELEFT), 1},
      {"line right", 100, Scroll(SB_LINERIGHT), 101},
      {"line right stops at 255", 255, Scroll(SB_LINERIGHT), 255},
      {"page left", 100, Scroll(SB_PAGELEFT), 90},
      {"page left from 12", 12, Scroll(SB_PAGELEFT), 2},
      {"page left from 10 or less goes to 1", 10, Scroll(SB_PAGELEFT), 1},
      {"page right", 100, Scroll(SB_PAGERIGHT), 110},
      {"page right from 244", 244, Scroll(SB_PAGERIGHT), 254},
      {"page right from 245 or more goes to 255", 245, Scroll(SB_PAGERIGHT), 255},
      {"thumb position", 100, Scroll(SB_THUMBPOSITION, 77), 77},
      {"thumb tracking", 100, Scroll(SB_THUMBTRACK, 200), 200},
      {"thumb below the range is held at 1", 100, Scroll(SB_THUMBTRACK, 0), 1},
      {"thumb above the range is held at 255", 100, Scroll(SB_THUMBTRACK, 300), 255},
      {"end of scrolling keeps the value", 100, Scroll(SB_ENDSCROLL), 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings({c.start, 1});
    const vfhost::OptionsOutcome outcome = Options({c.scroll, Action(DialogAction::Type::Ok)});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1009, "scrollbar")->position, c.level);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1010, "static")->text, std::to_string(c.level));
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), (std::vector<uint8_t>{c.level, 1}));
  }
}

TEST_F(DespeckleDialog, OkSavesTheCheckBoxAndTheLevel) {
  using T = DialogAction::Type;
  struct Case {
    const char* name;
    std::vector<DialogAction> actions;
    std::vector<uint8_t> saved;
  };
  const Case cases[] = {
      {"defaults", {Action(T::Ok)}, {180, 1}},
      {"contrast off", {Action(T::Uncheck, 1008), Action(T::Ok)}, {180, 0}},
      {"two steps", {Scroll(SB_PAGERIGHT), Scroll(SB_LINELEFT), Action(T::Ok)}, {189, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsFile().c_str());
    const vfhost::OptionsOutcome outcome = Options(c.actions);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), c.saved);
    const auto dialogs = vftest::EventsOfType(outcome.events, Event::Type::Dialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].templateName, "DLGBOX");
    EXPECT_EQ(dialogs[0].value, 1);
  }
}

// Closing after scrolling saves nothing, and the next run rereads the file.
TEST_F(DespeckleDialog, CloseBoxSavesNothing) {
  WriteSettings({180, 0});
  const vfhost::OptionsOutcome outcome =
      Options({Scroll(SB_THUMBTRACK, 250), Action(DialogAction::Type::Check, 1008),
               Action(DialogAction::Type::Close)});
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(vftest::ReadFileBytes(SettingsFile()), (std::vector<uint8_t>{180, 0}));
  // Grey 200 is background at 180 (white), but would stay dark at 250.
  vfhost::Dib dib = BandWithPixel({200, 200, 200});
  Run(dib);
  EXPECT_EQ(Colour(dib, 2, 3), (Rgb{255, 255, 255}));
  std::remove(SettingsFile().c_str());
  Options({Action(DialogAction::Type::Close)});
  EXPECT_FALSE(vftest::FileExists(SettingsFile()));
}

}  // namespace
