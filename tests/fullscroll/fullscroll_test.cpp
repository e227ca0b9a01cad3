// fullscroll through its exports, with the host's tables on shared and on
// separate storage: colour, alpha and mask travel together by the same
// cyclic shift, every layer is read before it is written, the mask comes
// back from the saved copy, and the dialog with its two scroll bars.
#include <gtest/gtest.h>

#include <cstdio>

#include "../line_access/layered_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using vftest::Bgr;

// Scroll codes of WM_HSCROLL (left) and WM_VSCROLL (up).
enum : int32_t { SB_LINELEFT, SB_LINERIGHT, SB_PAGELEFT, SB_PAGERIGHT, SB_THUMBPOSITION, SB_THUMBTRACK };

class FullScroll : public vftest::LineAccessPluginTest {
 protected:
  FullScroll() : LineAccessPluginTest("fullscroll") {}
  void WriteAmounts(int32_t x, int32_t y) {
    WriteSettings(vftest::WordBytes({static_cast<uint32_t>(x), static_cast<uint32_t>(y)}));
  }
};

// Every pixel different in colour, alpha and mask.
vfhost::LayeredImage NumberedPicture(int32_t width, int32_t height) {
  vfhost::LayeredImage image(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t n = static_cast<uint8_t>(y * width + x);
      vftest::SetColour(image, x, y, Bgr{n, static_cast<uint8_t>(n + 100), static_cast<uint8_t>(200 - n)});
      vftest::AlphaAt(image, x, y) = static_cast<uint8_t>(255 - n);
      vftest::MaskAt(image, x, y) = static_cast<uint8_t>(n * 3);
    }
  return image;
}

TEST_P(FullScroll, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "全スクロール");
  EXPECT_EQ(plugin_->Kind(), 10);
}

TEST_P(FullScroll, PlanesTravelWithTheirPixels) {
  constexpr int32_t kWidth = 4, kHeight = 3;
  struct Case {
    const char* name;
    bool withFile;
    int32_t x, y;
    int32_t dx, dy;
  };
  const Case cases[] = {
      {"defaults 10, 10", false, 0, 0, 2, 1},
      {"still", true, 0, 0, 0, 0},
      {"one to the left", true, -1, 0, 3, 0},
      {"right and down", true, 1, 2, 1, 2},
      {"whole sizes", true, kWidth, kHeight, 0, 0},
      {"negative whole sizes act as 0", true, -kWidth, -2 * kHeight, 0, 0},
      {"negative remainders", true, -5, -7, 3, 2},
      {"dialog limits", true, 500, -500, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsPath().c_str());
    if (c.withFile) WriteAmounts(c.x, c.y);
    const vfhost::LayeredImage before = NumberedPicture(kWidth, kHeight);
    vfhost::LayeredImage image = before;
    const vfhost::RunOutcome outcome = Run(image);
    EXPECT_EQ(outcome.result, 1);
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        const int32_t tx = (x + c.dx) % kWidth, ty = (y + c.dy) % kHeight;
        EXPECT_EQ(vftest::ColourAt(image, tx, ty), vftest::ColourAt(before, x, y)) << x << "," << y;
        EXPECT_EQ(vftest::AlphaAt(image, tx, ty), vftest::AlphaAt(before, x, y)) << x << "," << y;
        EXPECT_EQ(vftest::MaskAt(image, tx, ty), vftest::MaskAt(before, x, y)) << x << "," << y;
      }
    // Every line is still read and written, also when nothing moves.
    EXPECT_EQ(outcome.lineCalls.colourReads, kHeight);
    EXPECT_EQ(outcome.lineCalls.colourWrites, kHeight);
    EXPECT_EQ(outcome.lineCalls.planeReads, 3 * kHeight);   // mask saved, alpha, mask again
    EXPECT_EQ(outcome.lineCalls.planeWrites, 4 * kHeight);  // zeros, alpha, saved mask, shifted mask
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  }
}

TEST_P(FullScroll, ProgressOfTheThreeLayers) {
  WriteAmounts(-1, 1);
  vfhost::LayeredImage image = NumberedPicture(1, 12);
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_EQ(vftest::Progress(outcome.events),
            vftest::Append(vftest::Percent({0, 25, 50, 60, 68, 76, 80, 88, 96}), {{0, 0}}));
  EXPECT_EQ(vftest::MaskAt(image, 0, 1), 0);   // row 0's mask moved down
  EXPECT_EQ(vftest::MaskAt(image, 0, 0), 33);  // row 11's came round to the top
}

// A short file sets X only; Y keeps what the last load left (0), not the
// default 10.
TEST_P(FullScroll, ShortFileKeepsTheRestOfTheRecord) {
  WriteAmounts(0, 0);
  vfhost::LayeredImage first = NumberedPicture(1, 1);
  Run(first);
  WriteSettings(vftest::WordBytes({1}));
  const vfhost::LayeredImage before = NumberedPicture(3, 3);
  vfhost::LayeredImage image = before;
  Run(image);
  EXPECT_EQ(vftest::ColourAt(image, 1, 0), vftest::ColourAt(before, 0, 0));
  EXPECT_EQ(vftest::MaskAt(image, 0, 2), vftest::MaskAt(before, 2, 2));
}

TEST_P(FullScroll, MemoryFailureTouchesNothing) {
  vfhost::LayeredImage image = NumberedPicture(3, 3);
  const vfhost::LayeredImage before = image;
  vfhost::RunOptions options = Options();
  options.failAllocation = -1;
  const vfhost::RunOutcome outcome = Run(image, options);
  EXPECT_EQ(outcome.result, 0);
  ASSERT_EQ(outcome.events.size(), 1u);  // the result only
  EXPECT_EQ(outcome.lineCalls.colourReads + outcome.lineCalls.planeReads, 0);
  EXPECT_EQ(image.colour, before.colour);
  EXPECT_EQ(image.alpha, before.alpha);
  EXPECT_EQ(image.mask, before.mask);
}

TEST_P(FullScroll, EmptyPictureEndsAtOnceWithoutTransfers) {
  vfhost::LayeredImage image;
  image.width = 0;
  image.height = 0;
  const vfhost::RunOutcome outcome = Run(image);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(vftest::Progress(outcome.events), (vftest::ProgressList{{0, 0}}));
  EXPECT_EQ(outcome.lineCalls.colourReads + outcome.lineCalls.planeReads, 0);
}

INSTANTIATE_TEST_SUITE_P(Storage, FullScroll, testing::Bool(), vftest::StorageName);

// The dialog.
class FullScrollDialog : public FullScroll {
 protected:
  std::vector<uint8_t> Amounts(int32_t x, int32_t y) {
    return vftest::WordBytes({static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
  }
};

TEST_P(FullScrollDialog, ShowsBothAmountsSigned) {
  WriteAmounts(-37, 412);
  const vfhost::OptionsOutcome outcome = Dialog({});
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(outcome.state->templateName, "SAMPLEDLG");
  struct Bar {
    int barId, textId;
    int32_t value;
  };
  for (const Bar& bar : {Bar{1001, 1002, -37}, Bar{1000, 1004, 412}}) {
    const auto* scroll = vftest::FindControl(*outcome.state, bar.barId, "scrollbar");
    ASSERT_TRUE(scroll);
    EXPECT_EQ(scroll->minimum, -500);
    EXPECT_EQ(scroll->maximum, 500);
    EXPECT_EQ(scroll->position, bar.value);
    EXPECT_EQ(vftest::FindControl(*outcome.state, bar.textId)->text, std::to_string(bar.value));
  }
}

TEST_P(FullScrollDialog, ScrollStepsOfEitherBarStopAtTheLimits) {
  struct Case {
    int barId;
    int32_t from, code;
    std::optional<int32_t> position;
    int32_t to;
  };
  const Case cases[] = {
      {1001, -500, SB_LINELEFT, {}, -500},
      {1001, 499, SB_LINERIGHT, {}, 500},
      {1001, 500, SB_LINERIGHT, {}, 500},
      {1001, -489, SB_PAGELEFT, {}, -499},
      {1001, -490, SB_PAGELEFT, {}, -500},
      {1001, 489, SB_PAGERIGHT, {}, 499},
      {1001, 490, SB_PAGERIGHT, {}, 500},
      {1001, 0, SB_THUMBTRACK, -300, -300},
      {1001, 0, SB_THUMBPOSITION, 77, 77},
      {1000, 3, SB_LINELEFT, {}, 2},
      {1000, 3, SB_LINERIGHT, {}, 4},
      {1000, 3, SB_PAGERIGHT, {}, 13},
      {1000, 495, SB_PAGERIGHT, {}, 500},
      {1000, -3, SB_THUMBTRACK, -499, -499},
      {1000, 8, 8, 100, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "bar " << c.barId << " from " << c.from << " code " << c.code);
    const bool horizontal = c.barId == 1001;
    WriteAmounts(horizontal ? c.from : 1, horizontal ? 1 : c.from);
    DialogAction scroll = Action(DialogAction::Type::Scroll, c.barId, "", c.code);
    scroll.position = c.position;
    const vfhost::OptionsOutcome outcome = Dialog({scroll, Action(DialogAction::Type::Ok)});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, c.barId)->position, c.to);
    EXPECT_EQ(vftest::FindControl(*outcome.state, horizontal ? 1002 : 1004)->text, std::to_string(c.to));
    EXPECT_EQ(SavedSettings(), horizontal ? Amounts(c.to, 1) : Amounts(1, c.to));
  }
}

TEST_P(FullScrollDialog, ZeroButtonsOkAndClose) {
  using T = DialogAction::Type;
  struct Case {
    const char* name;
    std::vector<DialogAction> actions;
    std::vector<uint8_t> saved;
    int dialogResult;
  };
  const Case cases[] = {
      {"defaults", {Action(T::Ok)}, Amounts(10, 10), 1},
      {"X=0", {Action(T::Click, 1005), Action(T::Ok)}, Amounts(0, 10), 1},
      {"Y=0", {Action(T::Click, 1006), Action(T::Ok)}, Amounts(10, 0), 1},
      {"both", {Action(T::Click, 1006), Action(T::Click, 1005), Action(T::Ok)}, Amounts(0, 0), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(SettingsPath().c_str());
    const vfhost::OptionsOutcome outcome = Dialog(c.actions);
    EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, c.dialogResult);
    EXPECT_EQ(SavedSettings(), c.saved);
  }
  // The zero buttons move the bars and the texts too.
  const vfhost::OptionsOutcome zeroed = Dialog({Action(T::Click, 1005), Action(T::Click, 1006)});
  ASSERT_TRUE(zeroed.state);
  for (int id : {1000, 1001}) EXPECT_EQ(vftest::FindControl(*zeroed.state, id)->position, 0);
  for (int id : {1002, 1004}) EXPECT_EQ(vftest::FindControl(*zeroed.state, id)->text, "0");

  // Closing keeps the file, and the next run rereads it.
  WriteAmounts(1, 0);
  const vfhost::OptionsOutcome closed =
      Dialog({Action(T::Scroll, 1001, "", SB_PAGERIGHT), Action(T::Click, 1006), Action(T::Close)});
  EXPECT_EQ(vftest::EventsOfType(closed.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(SavedSettings(), Amounts(1, 0));
  vfhost::LayeredImage image = NumberedPicture(3, 1);
  Run(image);
  EXPECT_EQ(vftest::AlphaAt(image, 1, 0), 255);  // pixel 0 moved one to the right
}

INSTANTIATE_TEST_SUITE_P(Storage, FullScrollDialog, testing::Values(true), vftest::StorageName);

}  // namespace
