// opaquefill through its exports, with the host's tables on shared and on
// separate storage: pixels flattened over the colour or the checkerboard,
// the mask read and never written, the one-time notice, memory failure, and
// the dialog with the colour chooser.
#include <gtest/gtest.h>

#include <cstdio>

#include "../line_access/layered_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using vftest::Bgr;
using vftest::kWhite;

constexpr uint32_t kMidGrey = 0x808080;
// Red 30, green 20, blue 10 as a colour word (red in the low byte).
constexpr uint32_t kRust = 30 | (20 << 8) | (10 << 16);
constexpr Bgr kRustBgr{10, 20, 30};

// The 80-byte record: reserved, background, sixteen custom colours (all
// grey 128 by default, else sixteen different ones from firstCustom on),
// notice, checkerboard.
std::vector<uint8_t> Record(uint32_t background, uint32_t notice, uint32_t checkerboard,
                            uint32_t reserved = 0, uint32_t firstCustom = kMidGrey) {
  std::vector<uint32_t> words = {reserved, background};
  for (uint32_t i = 0; i < 16; ++i) words.push_back(firstCustom == kMidGrey ? kMidGrey : firstCustom + i);
  words.push_back(notice);
  words.push_back(checkerboard);
  return vftest::WordBytes(words);
}

class OpaqueFill : public vftest::LineAccessPluginTest {
 protected:
  OpaqueFill() : LineAccessPluginTest("opaquefill") {}
};

TEST_P(OpaqueFill, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "不透明化");
  EXPECT_EQ(plugin_->Kind(), 10);
}

TEST_P(OpaqueFill, FirstRunShowsTheNoticeAndSavesItAsShownAtOnce) {
  vfhost::LayeredImage image = vftest::UniformLayers(2, 12, kWhite, 255, 0);
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_EQ(outcome.result, 1);
  ASSERT_FALSE(outcome.events.empty());
  const Event& notice = outcome.events[0];
  EXPECT_EQ(notice.type, Event::Type::Message);
  EXPECT_EQ(notice.text, "このフィルターは Velmora 1.4e 以降\nもしくは A/VELMORA 0.0u 以降で動作します。");
  EXPECT_EQ(notice.caption, "不透明化フィルターの注意");
  EXPECT_EQ(notice.icon, "information");
  EXPECT_EQ(vftest::Progress(outcome.events), vftest::Append(vftest::Percent({0, 41, 83}), {{0, 0}}));
  EXPECT_EQ(SavedSettings(), Record(kMidGrey, 1, 0));
  EXPECT_TRUE(vftest::Messages(Run(image).events).empty());
}

// Each pixel over the default grey 128: (a x c + (255 - a) x 128) / 255, and
// opacity 255 - ((255 - a) x m) / 255. The mask is never written.
TEST_P(OpaqueFill, PixelsAreFlattenedByOpacityAndFreedByTheMask) {
  WriteSettings(Record(kMidGrey, 1, 0));
  struct Case {
    const char* name;
    Bgr colour;
    uint8_t alpha, mask;
    Bgr expectedColour;
    uint8_t expectedAlpha;
  };
  const Case cases[] = {
      {"opaque, free", Bgr{1, 2, 3}, 255, 0, Bgr{1, 2, 3}, 255},
      {"opaque, protected", Bgr{1, 2, 3}, 255, 255, Bgr{1, 2, 3}, 255},
      {"transparent, free", Bgr{9, 9, 9}, 0, 0, vftest::Grey(128), 255},
      {"transparent, protected", Bgr{9, 9, 9}, 0, 255, vftest::Grey(128), 0},
      {"half, free, black", vftest::Grey(0), 128, 0, vftest::Grey(63), 255},
      {"half, half protected", Bgr{0, 100, 255}, 128, 128, Bgr{63, 113, 191}, 192},
  };
  const int32_t count = static_cast<int32_t>(std::size(cases));
  vfhost::LayeredImage image(count, 1);
  for (int32_t x = 0; x < count; ++x) {
    vftest::SetColour(image, x, 0, cases[x].colour);
    vftest::AlphaAt(image, x, 0) = cases[x].alpha;
    vftest::MaskAt(image, x, 0) = cases[x].mask;
  }
  const std::vector<uint8_t> maskBefore = image.mask;
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  for (int32_t x = 0; x < count; ++x) {
    SCOPED_TRACE(cases[x].name);
    EXPECT_EQ(vftest::ColourAt(image, x, 0), cases[x].expectedColour);
    EXPECT_EQ(vftest::AlphaAt(image, x, 0), cases[x].expectedAlpha);
  }
  EXPECT_EQ(image.mask, maskBefore);
  EXPECT_EQ(outcome.lineCalls.planeWrites, 1);  // the alpha line only
  EXPECT_EQ(outcome.lineCalls.planeReads, 2);   // alpha and mask
}

// The checkerboard: 8 x 8 cells, white in the cell holding (0, 0), the
// colour in its right and lower neighbours. Red is the low byte of the word
// and the last byte of a pixel.
TEST_P(OpaqueFill, BackgroundIsTheColourOrTheCheckerboard) {
  for (uint32_t checkerboard : {0u, 1u}) {
    SCOPED_TRACE(checkerboard);
    WriteSettings(Record(kRust, 1, checkerboard));
    vfhost::LayeredImage image = vftest::UniformLayers(17, 17, vftest::kBlack, 0, 0);
    Run(image);
    const Bgr cellAtOrigin = checkerboard ? kWhite : kRustBgr;
    const struct {
      int32_t x, y;
      Bgr expected;
    } places[] = {{0, 0, cellAtOrigin}, {7, 7, cellAtOrigin}, {8, 0, kRustBgr},       {0, 8, kRustBgr},
                  {15, 7, kRustBgr},    {8, 8, cellAtOrigin}, {16, 16, cellAtOrigin}, {16, 8, kRustBgr}};
    for (const auto& place : places)
      EXPECT_EQ(vftest::ColourAt(image, place.x, place.y), place.expected) << place.x << "," << place.y;
    EXPECT_EQ(vftest::AlphaAt(image, 16, 16), 255);
  }
}

// A short file sets the leading words only: the notice stays shown and the
// checkerboard on, as the last load left them.
TEST_P(OpaqueFill, ShortFileKeepsTheRestOfTheRecord) {
  WriteSettings(Record(kRust, 1, 1));
  vfhost::LayeredImage first = vftest::UniformLayers(1, 1, kWhite, 255, 0);
  Run(first);
  WriteSettings(vftest::WordBytes({0, kMidGrey}));
  vfhost::LayeredImage image = vftest::UniformLayers(9, 1, vftest::kBlack, 0, 0);
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  EXPECT_EQ(vftest::ColourAt(image, 0, 0), kWhite);
  EXPECT_EQ(vftest::ColourAt(image, 8, 0), vftest::Grey(128));
}

TEST_P(OpaqueFill, MemoryFailureTouchesNothing) {
  WriteSettings(Record(kMidGrey, 1, 0));
  vfhost::LayeredImage image = vftest::UniformLayers(3, 3, kWhite, 10, 0);
  const vfhost::LayeredImage before = image;
  vfhost::RunOptions options = Options();
  options.failAllocation = -1;
  const vfhost::RunOutcome outcome = Run(image, options);
  EXPECT_EQ(outcome.result, 0);
  ASSERT_EQ(outcome.events.size(), 1u);  // the result only
  EXPECT_EQ(outcome.lineCalls.colourReads + outcome.lineCalls.planeReads, 0);
  EXPECT_EQ(image.colour, before.colour);
  EXPECT_EQ(image.alpha, before.alpha);
}

TEST_P(OpaqueFill, EmptyPictureEndsAtOnceWithoutTransfers) {
  WriteSettings(Record(kMidGrey, 1, 0));
  vfhost::LayeredImage image;
  image.width = 5;
  image.height = -1;
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(vftest::Progress(outcome.events), (vftest::ProgressList{{0, 0}}));
  EXPECT_EQ(outcome.lineCalls.colourReads + outcome.lineCalls.planeReads, 0);
}

INSTANTIATE_TEST_SUITE_P(Storage, OpaqueFill, testing::Bool(), vftest::StorageName);

// The dialog.
class OpaqueFillDialog : public OpaqueFill {};

DialogAction Choose(uint32_t rgb) {
  DialogAction action = Action(DialogAction::Type::ChooseColour);
  action.colour = rgb;
  return action;
}

TEST_P(OpaqueFillDialog, ShowsTheColourAndTheCheckerboard) {
  for (uint32_t checkerboard : {0u, 1u}) {
    WriteSettings(Record(kRust, 0, checkerboard));
    const vfhost::OptionsOutcome outcome = Dialog({});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(outcome.state->templateName, "SAMPLEDLG");
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1001)->text, "30");
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1002)->text, "20");
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1003)->text, "10");
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1006)->checked, static_cast<int>(checkerboard));
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1005)->fillColour, 0x1E140Au);  // the swatch, as RRGGBB
  }
}

TEST_P(OpaqueFillDialog, OkSavesTheRecordWithEverythingElseAsLoaded) {
  using T = DialogAction::Type;
  struct Case {
    const char* name;
    std::vector<DialogAction> actions;
    uint32_t background, checkerboard;
    const char* redText;
    uint32_t swatch;  // RRGGBB
  };
  const Case cases[] = {
      {"nothing changed", {Action(T::Ok)}, kRust, 0, "30", 0x1E140A},
      {"colour chosen",
       {Choose(0x112233), Action(T::Click, 1004), Action(T::Ok)},
       0x332211,
       0,
       "17",
       0x112233},
      {"chooser cancelled", {Action(T::Click, 1004), Action(T::Ok)}, kRust, 0, "30", 0x1E140A},
      {"checkerboard", {Action(T::Click, 1006), Action(T::Ok)}, kRust, 1, "30", 0x1E140A},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A reserved word and custom colours of the user's, the notice pending.
    WriteSettings(Record(kRust, 0, 0, 0xDEADBEEF, 0x010203));
    const vfhost::OptionsOutcome outcome = Dialog(c.actions);
    EXPECT_EQ(outcome.result, 1);
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1001)->text, c.redText);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1003)->text, c.swatch == 0x112233 ? "51" : "10");
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1005)->fillColour, c.swatch);
    EXPECT_EQ(SavedSettings(), Record(c.background, 0, c.checkerboard, 0xDEADBEEF, 0x010203));
  }
}

TEST_P(OpaqueFillDialog, CloseSavesNothing) {
  using T = DialogAction::Type;
  WriteSettings(Record(kRust, 1, 0));
  const vfhost::OptionsOutcome outcome =
      Dialog({Choose(0x445566), Action(T::Click, 1004), Action(T::Click, 1006), Action(T::Close)});
  EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(SavedSettings(), Record(kRust, 1, 0));
  std::remove(SettingsPath().c_str());
  Dialog({Action(T::Close)});
  EXPECT_FALSE(vftest::FileExists(SettingsPath()));
}

INSTANTIATE_TEST_SUITE_P(Storage, OpaqueFillDialog, testing::Values(true), vftest::StorageName);

}  // namespace
