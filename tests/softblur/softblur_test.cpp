// softblur through its exports: the white-pixel example with its events, a
// reference of the weighted window on random and tiny pictures, settings
// outside the dialog's ranges, the signed file's refusals, memory failure,
// ESC and the DIALOG1 dialog.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "../blur_common/signed_file.h"
#include "../support/plugin_test.h"
#include "profile_table.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;
using vftest::Action;
using T = DialogAction::Type;
using Progress = std::vector<std::pair<int32_t, int64_t>>;

class SoftBlur : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin("softblur");
    ASSERT_TRUE(plugin_);
  }
  std::string FilePath() const { return settings_.path() + "softblur.dat"; }
  void WriteSettings(uint8_t radius, uint8_t profile, uint8_t seamless, uint8_t reserved = 0) {
    vftest::WriteFileBytes(FilePath(), blurtest::SignedFile("sftbl2", {radius, profile, reserved, seamless}));
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_F(SoftBlur, TitleAndKind) {
  EXPECT_EQ(plugin_->TitleUtf8(), "ぼけぼけ");
  EXPECT_EQ(plugin_->Kind(), 0);
}

TEST_F(SoftBlur, WhitePixelSpreadsByTheLinearTableWithEventsInOrder) {
  WriteSettings(1, 4, 0);
  vfhost::Dib dib(5, 3);
  dib.SetPixel(1, 2, 255, 255, 255);
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  const uint8_t expected[3][5] = {{0, 17, 30, 17, 0}, {0, 30, 61, 30, 0}, {0, 17, 30, 17, 0}};
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x)
      for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(dib.Pixel(y, x)[i], expected[y][x]) << y << "," << x;
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":0}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":33}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":66}\n"
            "{\"event\":\"progress\",\"code\":8,\"value\":100}\n"
            "{\"event\":\"progress\",\"code\":0,\"value\":0}\n"
            "{\"event\":\"result\",\"value\":1}\n");
}

// The weighted window read with index arithmetic in place of a raster.
vfhost::Dib ReferenceBlur(const vfhost::Dib& source, int32_t radius, int32_t profile, bool seamless) {
  std::vector<uint16_t> table(static_cast<std::size_t>(blur::ProfileTableEntries(radius)));
  blur::BuildProfileTable(table.data(), radius, profile);
  uint32_t weightSum = 0;
  for (uint16_t w : table) weightSum += w;
  const auto index = [seamless](int32_t i, int32_t n) {
    if (seamless) return ((i % n) + n) % n;
    return i < 0 ? 0 : (i >= n ? n - 1 : i);
  };
  vfhost::Dib result = source;
  const int32_t side = 2 * radius + 1;
  for (int32_t y = 0; y < source.height(); ++y)
    for (int32_t x = 0; x < source.width(); ++x)
      for (int32_t i = 0; i < 3; ++i) {
        uint32_t sum = 0;
        for (int32_t r = 0; r < side; ++r)
          for (int32_t c = 0; c < side; ++c)
            sum += table[r * side + c] * uint32_t{source.Pixel(index(y + r - radius, source.height()),
                                                               index(x + c - radius, source.width()))[i]};
        result.Pixel(y, x)[i] = static_cast<uint8_t>(sum / weightSum);
      }
  return result;
}

vfhost::Dib RandomDib(int32_t width, int32_t height, std::mt19937& random) {
  vfhost::Dib dib(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      dib.SetPixel(y, x, static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                   static_cast<uint8_t>(random()));
  return dib;
}

TEST_F(SoftBlur, MatchesTheWeightedWindowIncludingPicturesSmallerThanTheRadius) {
  std::mt19937 random(3);
  const struct {
    int32_t width, height, radius, profile;
  } cases[] = {{7, 5, 1, 4}, {9, 6, 3, 1}, {6, 9, 2, 7}, {5, 4, 4, 5},
               {2, 3, 5, 3}, {1, 1, 3, 6}, {3, 1, 2, 2}};
  for (const auto& c : cases) {
    for (bool seamless : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " radius " << c.radius << " profile "
                                      << c.profile << (seamless ? " seamless" : ""));
      WriteSettings(static_cast<uint8_t>(c.radius), static_cast<uint8_t>(c.profile), seamless ? 1 : 0);
      vfhost::Dib dib = RandomDib(c.width, c.height, random);
      const vfhost::Dib expected = ReferenceBlur(dib, c.radius, c.profile, seamless);
      EXPECT_EQ(Run(dib).result, 1);
      EXPECT_EQ(dib.bytes(), expected.bytes());  // padding bytes included: never written
    }
  }
}

TEST_F(SoftBlur, OneColourStaysWhateverTheSettings) {
  for (uint8_t radius : {1, 6, 30})
    for (uint8_t profile = 1; profile <= 7; ++profile) {
      SCOPED_TRACE(testing::Message() << "radius " << int{radius} << " profile " << int{profile});
      WriteSettings(radius, profile, profile % 2);
      vfhost::Dib dib = vftest::UniformDib(4, 3, 255, 128, 1);
      const std::vector<uint8_t> before = dib.bytes();
      Run(dib);
      EXPECT_EQ(dib.bytes(), before);
    }
}

TEST_F(SoftBlur, SeamlessCarriesTheLeftColumnIntoTheRightOne) {
  for (uint8_t seamless : {0, 1}) {
    WriteSettings(2, 4, seamless);
    vfhost::Dib dib(8, 4);
    for (int32_t y = 0; y < 4; ++y) dib.SetPixel(y, 0, 255, 255, 255);
    Run(dib);
    EXPECT_EQ(dib.Pixel(2, 7)[0] > 0, seamless != 0) << int{seamless};
  }
}

// A hand-made file may hold values the dialog never sets: they run as the
// nearest value of the dialog's range.
TEST_F(SoftBlur, ValuesOutsideTheDialogsRangesRunAsTheirNearestLimit) {
  const struct {
    uint8_t radius, profile, asRadius, asProfile;
  } cases[] = {{0, 4, 1, 4}, {31, 7, 30, 7}, {255, 7, 30, 7}, {2, 0, 2, 1}, {2, 8, 2, 7}, {2, 255, 2, 7}};
  std::mt19937 random(8);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "radius " << int{c.radius} << " profile " << int{c.profile});
    const vfhost::Dib source = RandomDib(6, 5, random);
    vfhost::Dib limited = source, expected = source;
    WriteSettings(c.radius, c.profile, 1);
    EXPECT_EQ(Run(limited).result, 1);
    WriteSettings(c.asRadius, c.asProfile, 1);
    Run(expected);
    EXPECT_EQ(limited.bytes(), expected.bytes());
  }
  // White under the widest flat-topped window: no overflow of the sums.
  WriteSettings(255, 7, 0);
  vfhost::Dib white = vftest::UniformDib(3, 3, 255, 255, 255);
  Run(white);
  EXPECT_EQ(white.Pixel(1, 1)[0], 255);
}

TEST_F(SoftBlur, RefusesToRunWithoutAWholeSignedFile) {
  struct Case {
    const char* name;
    std::optional<std::vector<uint8_t>> file;
    std::string text, caption;
  };
  const Case cases[] = {
      {"missing", std::nullopt, "softblur.dat が読めませんでした ；＿；。", " File ERROR"},
      {"wrong signature", blurtest::SignedFile("sftbl3", {1, 4, 0, 0}), blurtest::kRunDamagedText,
       "softblur"},
      {"another plug-in's file", blurtest::SignedFile("rdlblr", {1, 4, 0, 0}), blurtest::kRunDamagedText,
       "softblur"},
      {"shorter than the signature", std::vector<uint8_t>{'s', 'f', 't'}, blurtest::kRunDamagedText,
       "softblur"},
      {"record cut short", blurtest::SignedFile("sftbl2", {1, 4, 0}), blurtest::kRunDamagedText, "softblur"},
      {"empty", std::vector<uint8_t>{}, blurtest::kRunDamagedText, "softblur"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(FilePath().c_str());
    if (c.file) vftest::WriteFileBytes(FilePath(), *c.file);
    vfhost::Dib dib(4, 4);
    dib.SetPixel(1, 1, 255, 0, 0);
    const std::vector<uint8_t> before = dib.bytes();
    const vfhost::RunOutcome outcome = Run(dib);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(dib.bytes(), before);
    EXPECT_EQ(vftest::Progress(outcome.events), (Progress{{2, 0}, {0, 0}}));
    const auto messages = vftest::Messages(outcome.events);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, c.text);
    EXPECT_EQ(messages[0].caption, c.caption);
    EXPECT_EQ(messages[0].icon, "error");
    EXPECT_EQ(outcome.liveAllocations, 0);
  }
}

TEST_F(SoftBlur, AFileLongerThanTheRecordRuns) {
  vftest::WriteFileBytes(FilePath(), blurtest::SignedFile("sftbl2", {1, 4, 0, 0, 99, 99}));
  vfhost::Dib dib(3, 3);
  dib.SetPixel(1, 1, 255, 255, 255);
  EXPECT_EQ(Run(dib).result, 1);
  EXPECT_EQ(dib.Pixel(1, 1)[0], 61);
}

TEST_F(SoftBlur, MemoryFailureLeavesThePictureUntouched) {
  WriteSettings(2, 3, 0);
  vfhost::Dib dib(5, 4);
  dib.SetPixel(2, 2, 255, 255, 255);
  const std::vector<uint8_t> before = dib.bytes();
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.failAllocation = -1;
  const vfhost::RunOutcome outcome = plugin_->RunDib(dib, options);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(dib.bytes(), before);
  const auto messages = vftest::Messages(outcome.events);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, blurtest::kMemoryText);
  EXPECT_EQ(messages[0].caption, " ごめんなさい");
  EXPECT_EQ(messages[0].icon, "error");
  EXPECT_EQ(vftest::Progress(outcome.events), (Progress{{2, 0}, {0, 0}}));
  EXPECT_EQ(outcome.liveAllocations, 0);
}

TEST_F(SoftBlur, EscStopsAfterTheCurrentRow) {
  WriteSettings(1, 4, 0);
  vfhost::Dib dib = vftest::UniformDib(4, 5, 0, 0, 0);
  for (int32_t y = 0; y < 5; ++y) dib.SetPixel(y, 1, 255, 255, 255);
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.escFromPoll = 2;
  const vfhost::RunOutcome outcome = plugin_->RunDib(dib, options);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.escPolls, 2);
  EXPECT_EQ(vftest::Progress(outcome.events), (Progress{{2, 0}, {8, 0}, {8, 20}, {8, 100}, {0, 0}}));
  EXPECT_LT(dib.Pixel(0, 1)[0], 255);  // rows 0 and 1 blurred
  EXPECT_LT(dib.Pixel(1, 1)[0], 255);
  EXPECT_EQ(dib.Pixel(2, 1)[0], 255);  // the rest untouched
  EXPECT_EQ(dib.Pixel(4, 2)[0], 0);
  EXPECT_EQ(outcome.liveAllocations, 0);
}

// The dialog.
class SoftBlurDialog : public SoftBlur {
 protected:
  vfhost::OptionsOutcome Options(const std::vector<DialogAction>& actions, const std::string& dir = "") {
    vfhost::RunOptions options = vftest::OptionsFor(settings_);
    if (!dir.empty()) options.settingsDir = dir;
    return plugin_->RunOptions(actions, options);
  }
  static std::string Text(const vfhost::OptionsOutcome& outcome, int id) {
    const auto* control = vftest::FindControl(*outcome.state, id);
    return control ? control->text : "(none)";
  }
  static void ExpectEndedWithZero(const vfhost::OptionsOutcome& outcome) {
    EXPECT_EQ(outcome.result, 1);
    const auto dialogs = vftest::EventsOfType(outcome.events, Event::Type::Dialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].templateName, "DIALOG1");
    EXPECT_EQ(dialogs[0].value, 0);
  }
};

TEST_F(SoftBlurDialog, MissingFileGivesTheDefaultsSilentlyAndOkCreatesIt) {
  std::remove(FilePath().c_str());
  const vfhost::OptionsOutcome outcome = Options({Action(T::Ok)});
  ASSERT_TRUE(outcome.state);
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  EXPECT_EQ(Text(outcome, 1001), "10");
  EXPECT_EQ(Text(outcome, 1003), "3");
  EXPECT_EQ(vftest::FindControl(*outcome.state, 1007)->checked, 0);
  const auto* radius = vftest::FindControl(*outcome.state, 1010, "updown");
  const auto* profile = vftest::FindControl(*outcome.state, 1011, "updown");
  ASSERT_TRUE(radius && profile);
  EXPECT_EQ(radius->minimum, 1);
  EXPECT_EQ(radius->maximum, 30);
  EXPECT_EQ(profile->minimum, 1);
  EXPECT_EQ(profile->maximum, 7);
  ExpectEndedWithZero(outcome);
  EXPECT_EQ(vftest::ReadFileBytes(FilePath()), blurtest::SignedFile("sftbl2", {10, 3, 0, 0}));
}

TEST_F(SoftBlurDialog, ShowsTheFileAndSavesTheControlsKeepingTheReservedByte) {
  struct Case {
    const char* name;
    std::vector<DialogAction> actions;
    std::vector<uint8_t> record;
  };
  const Case cases[] = {
      {"unchanged", {}, {5, 6, 77, 1}},
      {"arrows", {Action(T::UpDown, 1010, "", 2), Action(T::UpDown, 1011, "", -10)}, {7, 1, 77, 1}},
      {"arrows stop at the top",
       {Action(T::UpDown, 1010, "", 40), Action(T::UpDown, 1011, "", 3)},
       {30, 7, 77, 1}},
      {"seamless off", {Action(T::Uncheck, 1007)}, {5, 6, 77, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings(5, 6, 1, 77);
    std::vector<DialogAction> actions = c.actions;
    actions.push_back(Action(T::Ok));
    const vfhost::OptionsOutcome outcome = Options(actions);
    ASSERT_TRUE(outcome.state);
    ExpectEndedWithZero(outcome);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
    EXPECT_EQ(vftest::ReadFileBytes(FilePath()), blurtest::SignedFile("sftbl2", c.record));
  }
}

TEST_F(SoftBlurDialog, ShownValuesOfAHandMadeFileAreInRange) {
  WriteSettings(0, 200, 1);
  const vfhost::OptionsOutcome outcome = Options({Action(T::Ok)});
  EXPECT_EQ(Text(outcome, 1001), "1");
  EXPECT_EQ(Text(outcome, 1003), "7");
  EXPECT_EQ(vftest::ReadFileBytes(FilePath()), blurtest::SignedFile("sftbl2", {1, 7, 0, 1}));
}

TEST_F(SoftBlurDialog, DamagedFileResetsWithTheMessage) {
  for (const std::vector<uint8_t>& file :
       {blurtest::SignedFile("sftbl1", {5, 6, 0, 1}), blurtest::SignedFile("sftbl2", {5, 6}),
        std::vector<uint8_t>{'s'}}) {
    vftest::WriteFileBytes(FilePath(), file);
    const vfhost::OptionsOutcome outcome = Options({});
    const auto messages = vftest::Messages(outcome.events);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, blurtest::kDialogDamagedText);
    EXPECT_EQ(messages[0].caption, "softblur");
    EXPECT_EQ(messages[0].icon, "information");
    EXPECT_EQ(Text(outcome, 1001), "10");
    EXPECT_EQ(Text(outcome, 1003), "3");
    EXPECT_EQ(vftest::ReadFileBytes(FilePath()), file);  // closed without OK: untouched
  }
}

TEST_F(SoftBlurDialog, CloseSavesNothing) {
  WriteSettings(5, 6, 1);
  const vfhost::OptionsOutcome outcome = Options({Action(T::UpDown, 1010, "", 1), Action(T::Close)});
  ExpectEndedWithZero(outcome);
  EXPECT_EQ(vftest::ReadFileBytes(FilePath()), blurtest::SignedFile("sftbl2", {5, 6, 0, 1}));
}

TEST_F(SoftBlurDialog, WriteFailureShowsTheWholePath) {
  const std::string shortDir = settings_.path() + "absent/";
  const std::string longDir = settings_.path() + std::string(240 - settings_.path().size(), 'd') + "/";
  const std::string tooLongDir = settings_.path() + std::string(300, 'd') + "/";
  const struct {
    const char* name;
    std::string dir, shownPath;
  } cases[] = {
      {"missing folder", shortDir, shortDir + "softblur.dat"},
      {"path too long for a 256-byte message", longDir, longDir + "softblur.dat"},
      {"folder too long for the path buffer", tooLongDir, "softblur.dat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const vfhost::OptionsOutcome outcome = Options({Action(T::Ok)}, c.dir);
    ExpectEndedWithZero(outcome);
    const auto messages = vftest::Messages(outcome.events);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, c.shownPath + blurtest::kWriteFailureText);
    EXPECT_EQ(messages[0].caption, "ごめんなさい");
    EXPECT_EQ(messages[0].icon, "information");
  }
}

TEST_F(SoftBlurDialog, TheRunUsesWhatOkSaved) {
  std::remove(FilePath().c_str());
  vfhost::Dib dib(3, 3);
  EXPECT_EQ(Run(dib).result, 0);
  Options({Action(T::UpDown, 1010, "", -9), Action(T::UpDown, 1011, "", 1), Action(T::Ok)});
  dib.SetPixel(1, 1, 255, 255, 255);
  EXPECT_EQ(Run(dib).result, 1);
  EXPECT_EQ(dib.Pixel(1, 1)[0], 61);  // radius 1, profile 4
}

}  // namespace
