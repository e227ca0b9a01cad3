// edgeblur through its exports: the boundary examples in every orientation,
// the thresholds, a literal reference of the oriented kernels on random
// pictures, messages, memory failure and the DLGBOX dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>

#include "../support/plugin_test.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using T = DialogAction::Type;

constexpr const char* kNothingText = "処理できるピクセルがありませんでした（＾＾；。";

class EdgeBlur : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("edgeblur");
    ASSERT_TRUE(plugin_);
  }
  void WriteSettings(uint8_t threshold, uint8_t seamless) {
    vftest::WriteFileBytes(settings_.path() + "edgeblur.dat", {threshold, seamless});
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(EdgeBlur, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "境界ぼかし");
  EXPECT_EQ(plugin_->Kind(), 0);
}

// Grey 200 on one side of a straight boundary, grey 50 on the other.
enum class Bright { Left, Right, Top, Bottom };
vfhost::Dib Halves(Bright bright, int32_t width, int32_t height) {
  vfhost::Dib dib = vftest::UniformDib(width, height, 50, 50, 50);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const bool isBright =
          (bright == Bright::Left && x < width / 2) || (bright == Bright::Right && x >= width / 2) ||
          (bright == Bright::Top && y >= height / 2) || (bright == Bright::Bottom && y < height / 2);
      if (isBright) dib.SetPixel(y, x, 200, 200, 200);
    }
  }
  return dib;
}

// Which pixels may change: the bright line next to the boundary and, with
// wrap-around, the bright line at the opposite edge.
bool OnBrightEdge(Bright bright, int32_t width, int32_t height, int32_t y, int32_t x, bool seamless) {
  switch (bright) {
    case Bright::Left:
      return x == width / 2 - 1 || (seamless && x == 0);
    case Bright::Right:
      return x == width / 2 || (seamless && x == width - 1);
    case Bright::Top:
      return y == height / 2 || (seamless && y == height - 1);
    case Bright::Bottom:
      return y == height / 2 - 1 || (seamless && y == 0);
  }
  return false;
}

TEST_F(EdgeBlur, TwoHalvesSoftenExactlyTheBrightLineAtTheBoundaryInEveryOrientation) {
  const int32_t width = 8, height = 6;
  for (Bright bright : {Bright::Left, Bright::Right, Bright::Top, Bright::Bottom}) {
    for (uint8_t seamless : {0, 1}) {
      SCOPED_TRACE(testing::Message()
                   << "orientation " << static_cast<int>(bright) << " seamless " << int{seamless});
      WriteSettings(30, seamless);
      vfhost::Dib dib = Halves(bright, width, height);
      const vfhost::Dib before = dib;
      const vfhost::RunOutcome outcome = Run(dib);
      EXPECT_EQ(outcome.result, 1);
      EXPECT_TRUE(vftest::Messages(outcome.events).empty());
      for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
          const uint8_t expected =
              OnBrightEdge(bright, width, height, y, x, seamless != 0) ? 177 : before.Pixel(y, x)[0];
          for (int32_t i = 0; i < 3; ++i) ASSERT_EQ(dib.Pixel(y, x)[i], expected) << y << "," << x;
        }
      }
    }
  }
}

TEST_F(EdgeBlur, EventsOfARunInOrder) {
  WriteSettings(30, 0);
  vfhost::Dib dib = Halves(Bright::Left, 4, 3);
  EXPECT_EQ(vfhost::TraceText(Run(dib).events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":5}\n"
            "{\"event\":\"progress\",\"code\":3,\"value\":10}\n"
            "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
            "{\"event\":\"result\",\"value\":1}\n");
}

TEST_F(EdgeBlur, TwentyRowsSendTwentyProgressValues) {
  vfhost::Dib dib = vftest::UniformDib(3, 20, 9, 9, 9);
  WriteSettings(0, 0);
  const auto progress = vftest::Progress(Run(dib).events);
  ASSERT_EQ(progress.size(), 22u);
  for (int32_t i = 0; i < 20; ++i) EXPECT_EQ(progress[1 + i], std::make_pair(3, int64_t{5 * i}));
}

TEST_F(EdgeBlur, ThresholdDecidesWhatCountsAsABoundary) {
  struct Case {
    const char* name;
    uint8_t threshold;
    uint8_t centre;      // grey of pixel (2, 2) of a black 5 x 5 picture
    uint8_t background;  // grey of the rest
    uint8_t result;      // the centre after the run
    bool nothingMessage;
  };
  const Case cases[] = {
      {"threshold 0 on one colour: kernel 1 keeps it", 0, 90, 90, 90, false},
      {"threshold 1 on one colour: nothing", 1, 90, 90, 90, true},
      {"threshold 255, white on black: kernel 1", 255, 255, 0, 30 * 255 / 62, false},
      {"threshold 255, grey 254 on black: nothing", 255, 254, 0, 254, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings(c.threshold, 0);
    vfhost::Dib dib = vftest::UniformDib(5, 5, c.background, c.background, c.background);
    dib.SetPixel(2, 2, c.centre, c.centre, c.centre);
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(dib.Pixel(2, 2)[1], c.result);
    EXPECT_EQ(dib.Pixel(2, 3)[1], c.background);
    const auto messages = vftest::Messages(outcome.events);
    ASSERT_EQ(messages.size(), c.nothingMessage ? 1u : 0u);
    if (c.nothingMessage) {
      EXPECT_EQ(messages[0].text, kNothingText);
      EXPECT_EQ(messages[0].caption, "境界ぼかし");
      EXPECT_EQ(messages[0].icon, "information");
    }
  }
}

// A literal reading of the oriented-kernel rule, with the borders as index
// arithmetic: the reflections on the neighbourhood, the kernel copied and
// reflected back in reverse order.
class Reference {
 public:
  Reference(const vfhost::Dib& dib, bool seamless) : dib_(dib), seamless_(seamless) {}

  void Colour(int32_t y, int32_t x, uint8_t threshold, uint8_t* out) const {
    int32_t n[3][3];
    for (int32_t dy = -1; dy <= 1; ++dy)
      for (int32_t dx = -1; dx <= 1; ++dx) n[dy + 1][dx + 1] = Lum(y + dy, x + dx);
    const unsigned sl = Lum(y, x - 1) + Lum(y, x - 2), sr = Lum(y, x + 1) + Lum(y, x + 2);
    const unsigned sd = Lum(y - 1, x) + Lum(y - 2, x), su = Lum(y + 1, x) + Lum(y + 2, x);
    const bool mx = sl < sr;
    if (mx) Reflect(n, [](int a, int b) { return std::make_pair(a, -b); });
    const bool my = su < sd;
    if (my) Reflect(n, [](int a, int b) { return std::make_pair(-a, b); });
    const bool tr = n[0][0] < n[2][2];
    if (tr) Reflect(n, [](int a, int b) { return std::make_pair(-b, -a); });
    const int c = n[1][1];
    std::memcpy(out, Source(y, x), 3);
    if (c - n[1][2] < threshold) return;
    int kernel = 0;
    if (c - n[0][1] >= threshold && c - n[2][2] >= threshold)
      kernel = 1;
    else if (c - n[0][1] >= threshold)
      kernel = 2;
    else if (c - n[0][2] >= threshold && c - n[2][2] >= threshold)
      kernel = 3;
    if (kernel == 0) return;
    int k[5][5];
    std::memcpy(k, kKernels[kernel - 1], sizeof(k));
    if (tr) Reflect(k, [](int a, int b) { return std::make_pair(-b, -a); });
    if (my) Reflect(k, [](int a, int b) { return std::make_pair(-a, b); });
    if (mx) Reflect(k, [](int a, int b) { return std::make_pair(a, -b); });
    for (int i = 0; i < 3; ++i) {
      unsigned sum = 0;
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) sum += k[dy + 2][dx + 2] * Source(y + dy, x + dx)[i];
      out[i] = static_cast<uint8_t>(sum / kSums[kernel - 1]);
    }
  }

 private:
  static constexpr int kKernels[3][5][5] = {
      {{0, 6, 1, 0, 0}, {0, 0, 6, 0, 0}, {0, 0, 30, 6, 0}, {0, 0, 0, 6, 0}, {0, 0, 0, 6, 1}},
      {{0, 4, 1, 0, 0}, {0, 0, 4, 0, 0}, {0, 0, 30, 4, 1}, {0, 0, 0, 0, 4}, {0, 0, 0, 0, 0}},
      {{0, 0, 15, 1, 0}, {0, 0, 0, 3, 0}, {0, 0, 90, 3, 0}, {0, 0, 0, 3, 0}, {0, 0, 0, 8, 1}}};
  static constexpr unsigned kSums[3] = {62, 48, 124};

  // a(dy, dx) := a(map(dy, dx)) on a square array of odd side.
  template <int N, typename Map>
  static void Reflect(int (&a)[N][N], Map map) {
    int copy[N][N];
    std::memcpy(copy, a, sizeof(copy));
    const int h = N / 2;
    for (int dy = -h; dy <= h; ++dy)
      for (int dx = -h; dx <= h; ++dx) {
        const auto from = map(dy, dx);
        a[dy + h][dx + h] = copy[from.first + h][from.second + h];
      }
  }
  int32_t Index(int32_t i, int32_t n) const {
    if (seamless_) return ((i % n) + n) % n;
    return i < 0 ? 0 : (i >= n ? n - 1 : i);
  }
  const uint8_t* Source(int32_t y, int32_t x) const {
    return dib_.Pixel(Index(y, dib_.height()), Index(x, dib_.width()));
  }
  unsigned Lum(int32_t y, int32_t x) const {
    const uint8_t* p = Source(y, x);
    return (151u * p[1] + 77u * p[2] + 28u * p[0]) >> 8;
  }
  const vfhost::Dib& dib_;
  bool seamless_;
};

TEST_F(EdgeBlur, RandomPicturesMatchTheLiteralRule) {
  std::mt19937 random(5);
  const struct { int32_t width, height; } sizes[] = {{9, 7}, {1, 1}, {2, 3}, {13, 2}};
  for (const auto& size : sizes) {
    for (uint8_t seamless : {0, 1}) {
      for (uint8_t threshold : {12, 40, 90}) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " seamless " << int{seamless}
                                        << " threshold " << int{threshold});
        // Blocks of a few greys, so that boundaries of every direction occur.
        vfhost::Dib dib(size.width, size.height);
        for (int32_t y = 0; y < size.height; ++y)
          for (int32_t x = 0; x < size.width; ++x) {
            const uint8_t level = static_cast<uint8_t>(random() % 4 * 70);
            dib.SetPixel(y, x, static_cast<uint8_t>(level + random() % 20), level,
                         static_cast<uint8_t>(level / 2));
          }
        const vfhost::Dib before = dib;
        WriteSettings(threshold, seamless);
        Run(dib);
        const Reference reference(before, seamless != 0);
        for (int32_t y = 0; y < size.height; ++y)
          for (int32_t x = 0; x < size.width; ++x) {
            uint8_t expected[3];
            reference.Colour(y, x, threshold, expected);
            for (int i = 0; i < 3; ++i)
              ASSERT_EQ(dib.Pixel(y, x)[i], expected[i]) << y << "," << x << " " << i;
          }
      }
    }
  }
}

TEST_F(EdgeBlur, MemoryFailureLeavesThePictureUntouched) {
  vfhost::Dib dib = Halves(Bright::Left, 6, 4);
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
class EdgeBlurDialog : public EdgeBlur {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
  std::vector<uint8_t> SavedBytes() { return vftest::ReadFileBytes(settings_.path() + "edgeblur.dat"); }
};

// The scroll bar's notification codes.
enum ScrollCode : int32_t {
  kLineLeft = 0,
  kLineRight = 1,
  kPageLeft = 2,
  kPageRight = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kEndScroll = 8,
};

DialogAction Scroll(int32_t code, std::optional<int32_t> position = std::nullopt) {
  DialogAction action = Action(T::Scroll, 1009, "", code);
  action.position = position;
  return action;
}

TEST_F(EdgeBlurDialog, ShowsTheRecordOrTheDefaults) {
  for (bool withFile : {false, true}) {
    SCOPED_TRACE(withFile ? "file" : "no file");
    std::remove((settings_.path() + "edgeblur.dat").c_str());
    if (withFile) WriteSettings(7, 1);
    const vfhost::OptionsOutcome outcome = Options({});
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(outcome.state->templateName, "DLGBOX");
    const auto* bar = vftest::FindControl(*outcome.state, 1009, "scrollbar");
    const auto* text = vftest::FindControl(*outcome.state, 1010);
    const auto* seamless = vftest::FindControl(*outcome.state, 1008);
    ASSERT_TRUE(bar && text && seamless);
    EXPECT_EQ(bar->minimum, 1);
    EXPECT_EQ(bar->maximum, 255);
    EXPECT_EQ(bar->position, withFile ? 7 : 64);
    EXPECT_EQ(text->text, withFile ? "7" : "64");
    EXPECT_EQ(seamless->checked, withFile ? 1 : 0);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  }
}

TEST_F(EdgeBlurDialog, ScrollStepsStopAtTheLimitsAndOkSaves) {
  struct Case {
    const char* name;
    uint8_t start;
    std::vector<DialogAction> actions;
    uint8_t saved;
  };
  const Case cases[] = {
      {"line left reaches 0 below the bar's range", 1, {Scroll(kLineLeft), Scroll(kLineLeft)}, 0},
      {"line right stops at 255", 254, {Scroll(kLineRight), Scroll(kLineRight)}, 255},
      {"page left by 10", 25, {Scroll(kPageLeft)}, 15},
      {"page left from 10 or less gives 0", 10, {Scroll(kPageLeft)}, 0},
      {"page right from 245 gives 255", 245, {Scroll(kPageRight)}, 255},
      {"page right by 10", 100, {Scroll(kPageRight)}, 110},
      {"thumb to the left end, then the arrow", 80, {Scroll(kThumbTrack, 1), Scroll(kLineLeft)}, 0},
      {"thumb position", 80, {Scroll(kThumbPosition, 200)}, 200},
      {"end scroll leaves the value", 80, {Scroll(kEndScroll)}, 80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings(c.start, 0);
    std::vector<DialogAction> actions = c.actions;
    actions.push_back(Action(T::Ok));
    const vfhost::OptionsOutcome outcome = Options(actions);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(SavedBytes(), (std::vector<uint8_t>{c.saved, 0}));
    ASSERT_TRUE(outcome.state);
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1010)->text, std::to_string(c.saved));
    // The bar itself cannot go below its range; the value and its text can.
    EXPECT_EQ(vftest::FindControl(*outcome.state, 1009)->position, std::max<int32_t>(c.saved, 1));
    EXPECT_EQ(vftest::EventsOfType(outcome.events, Event::Type::Dialog).at(0).value, 1);
  }
}

TEST_F(EdgeBlurDialog, SeamlessIsSavedOnOkAndCloseSavesNothing) {
  std::remove((settings_.path() + "edgeblur.dat").c_str());
  Options({Action(T::Check, 1008), Action(T::Ok)});
  EXPECT_EQ(SavedBytes(), (std::vector<uint8_t>{64, 1}));
  const vfhost::OptionsOutcome closed =
      Options({Scroll(kPageLeft), Action(T::Uncheck, 1008), Action(T::Close)});
  EXPECT_EQ(closed.result, 1);
  EXPECT_EQ(vftest::EventsOfType(closed.events, Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(SavedBytes(), (std::vector<uint8_t>{64, 1}));
}

TEST_F(EdgeBlurDialog, NoFileCreatedWithoutOk) {
  std::remove((settings_.path() + "edgeblur.dat").c_str());
  Options({Action(T::Close)});
  EXPECT_FALSE(vftest::FileExists(settings_.path() + "edgeblur.dat"));
}

}  // namespace
