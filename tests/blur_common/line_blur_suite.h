// What radialblur and spinblur share, tested on each of them: the signed
// file's refusals and the dialog's messages, the length's range, memory
// failure, ESC, progress, and the RSMS_DLG / CSMS_DLG dialog with its centre
// boxes and up-down controls. Included once by each plug-in's test, which
// instantiates the suite with its own plug-in.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "../support/plugin_test.h"
#include "signed_file.h"

namespace blurtest {

struct LineBlurCase {
  const char* plugin;
  const char* signature;
  const char* templateName;
  const char* missingCaption;
};

inline std::ostream& operator<<(std::ostream& out, const LineBlurCase& c) {
  return out << c.plugin;
}

inline vfhost::Dib RandomDib(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  vfhost::Dib dib(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      dib.SetPixel(y, x, static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                   static_cast<uint8_t>(random()));
  return dib;
}

class LineBlur : public testing::TestWithParam<LineBlurCase> {
 protected:
  using Progress = std::vector<std::pair<int32_t, int64_t>>;
  using T = vfhost::DialogAction::Type;

  void SetUp() override {
    plugin_ = vftest::LoadPlugin(GetParam().plugin);
    ASSERT_TRUE(plugin_);
  }
  std::string FilePath() const { return settings_.path() + GetParam().plugin + ".dat"; }
  void WriteSettings(uint8_t length, int32_t centerX, int32_t centerY) {
    vftest::WriteFileBytes(FilePath(),
                           SignedFile(GetParam().signature, LineRecord(length, centerX, centerY)));
  }
  std::vector<uint8_t> SavedRecord(uint8_t length, int32_t centerX, int32_t centerY) const {
    return SignedFile(GetParam().signature, LineRecord(length, centerX, centerY));
  }
  vfhost::RunOutcome Run(vfhost::Dib& dib) { return plugin_->RunDib(dib, vftest::OptionsFor(settings_)); }
  vfhost::OptionsOutcome Options(const std::vector<vfhost::DialogAction>& actions) {
    return plugin_->RunOptions(actions, vftest::OptionsFor(settings_));
  }
  static std::string Text(const vfhost::OptionsOutcome& outcome, int id, const std::string& className = "") {
    const auto* control = vftest::FindControl(*outcome.state, id, className);
    return control ? control->text : "(none)";
  }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
};

TEST_P(LineBlur, OneColourStaysAndProgressCountsRows) {
  WriteSettings(4, 2, 1);
  vfhost::Dib dib = vftest::UniformDib(6, 4, 200, 100, 7);
  const std::vector<uint8_t> before = dib.bytes();
  const vfhost::RunOutcome outcome = Run(dib);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(dib.bytes(), before);
  EXPECT_TRUE(vftest::Messages(outcome.events).empty());
  EXPECT_EQ(vftest::Progress(outcome.events),
            (Progress{{2, 0}, {8, 0}, {8, 25}, {8, 50}, {8, 75}, {8, 100}, {0, 0}}));
}

TEST_P(LineBlur, RefusesToRunWithoutAWholeSignedFile) {
  const std::string unreadable = std::string(GetParam().plugin) + ".dat が読めませんでした ；＿；。";
  std::string wrongSignature = GetParam().signature;
  wrongSignature[5] = '?';
  const struct {
    const char* name;
    std::optional<std::vector<uint8_t>> file;
    std::string text, caption;
  } cases[] = {
      {"missing", std::nullopt, unreadable, " File ERROR"},
      {"wrong signature", SignedFile(wrongSignature, LineRecord(1, 0, 0)), kRunDamagedText, "smoothold"},
      {"record cut short", SignedFile(GetParam().signature, {1, 0, 0, 0, 0, 0}), kRunDamagedText,
       "smoothold"},
      {"shorter than the signature", std::vector<uint8_t>{'r'}, kRunDamagedText, "smoothold"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(FilePath().c_str());
    if (c.file) vftest::WriteFileBytes(FilePath(), *c.file);
    vfhost::Dib dib = RandomDib(5, 4, 1);
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
  }
}

TEST_P(LineBlur, LengthsOutsideTheDialogsRangeRunAsTheNearestLimit) {
  const struct { uint8_t length, runsAs; } cases[] = {{0, 1}, {101, 100}, {255, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int{c.length});
    vfhost::Dib odd = RandomDib(7, 5, c.length), expected = odd;
    WriteSettings(c.length, 3, 2);
    EXPECT_EQ(Run(odd).result, 1);
    WriteSettings(c.runsAs, 3, 2);
    Run(expected);
    EXPECT_EQ(odd.bytes(), expected.bytes());
  }
}

TEST_P(LineBlur, MemoryFailureLeavesThePictureUntouched) {
  WriteSettings(3, 1, 1);
  vfhost::Dib dib = RandomDib(5, 4, 2);
  const std::vector<uint8_t> before = dib.bytes();
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.failAllocation = -1;
  const vfhost::RunOutcome outcome = plugin_->RunDib(dib, options);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(dib.bytes(), before);
  const auto messages = vftest::Messages(outcome.events);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kMemoryText);
  EXPECT_EQ(messages[0].caption, " ごめんなさい");
  EXPECT_EQ(vftest::Progress(outcome.events), (Progress{{2, 0}, {0, 0}}));
  EXPECT_EQ(outcome.liveAllocations, 0);
}

TEST_P(LineBlur, EscStopsAfterTheCurrentRow) {
  WriteSettings(2, -5, 0);
  const vfhost::Dib source = RandomDib(6, 5, 3);
  vfhost::Dib stopped = source, whole = source;
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.escFromPoll = 1;
  const vfhost::RunOutcome outcome = plugin_->RunDib(stopped, options);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.escPolls, 1);
  EXPECT_EQ(vftest::Progress(outcome.events), (Progress{{2, 0}, {8, 0}, {8, 100}, {0, 0}}));
  Run(whole);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 6; ++x)
      for (int32_t i = 0; i < 3; ++i)
        ASSERT_EQ(stopped.Pixel(y, x)[i], (y == 0 ? whole : source).Pixel(y, x)[i]) << y << "," << x;
}

TEST_P(LineBlur, DialogWithoutAFileSaysItResetsAndOkCreatesTheFile) {
  std::remove(FilePath().c_str());
  const vfhost::OptionsOutcome outcome = Options({vftest::Action(T::Ok)});
  EXPECT_EQ(outcome.result, 1);
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(outcome.state->templateName, GetParam().templateName);
  const auto messages = vftest::Messages(outcome.events);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kDialogMissingText);
  EXPECT_EQ(messages[0].caption, GetParam().missingCaption);
  EXPECT_EQ(messages[0].icon, "information");
  EXPECT_EQ(Text(outcome, 1001), "10");
  EXPECT_EQ(Text(outcome, 1012, "edit"), "0");
  EXPECT_EQ(Text(outcome, 1013), "0");
  const struct {
    int id, buddyLow, buddyHigh;
  } upDowns[] = {{1010, 1, 100}, {1011, -32000, 32000}, {1012, -32000, 32000}};
  for (const auto& u : upDowns) {
    const auto* control = vftest::FindControl(*outcome.state, u.id, "updown");
    ASSERT_TRUE(control) << u.id;
    EXPECT_EQ(control->minimum, u.buddyLow);
    EXPECT_EQ(control->maximum, u.buddyHigh);
  }
  EXPECT_EQ(vftest::EventsOfType(outcome.events, vfhost::Event::Type::Dialog).at(0).value, 0);
  EXPECT_EQ(vftest::ReadFileBytes(FilePath()), SavedRecord(10, 0, 0));
}

TEST_P(LineBlur, DialogSavesTheControlsWithTheCentreClamped) {
  using vftest::Action;
  const struct {
    const char* name;
    std::vector<vfhost::DialogAction> actions;
    std::vector<uint8_t> saved;
  } cases[] = {
      {"as loaded", {}, SavedRecord(20, -300, 450)},
      {"typed centre", {Action(T::Set, 1012, "-5"), Action(T::Set, 1013, "7")}, SavedRecord(20, -5, 7)},
      {"beyond the limits",
       {Action(T::Set, 1012, " 40000 "), Action(T::Set, 1013, "-40000")},
       SavedRecord(20, 32000, -32000)},
      {"not a number reads 0",
       {Action(T::Set, 1012, "abc"), Action(T::Set, 1013, "")},
       SavedRecord(20, 0, 0)},
      {"beyond 32 bits reads 0",
       {Action(T::Set, 1012, "99999999999"), Action(T::Set, 1013, "-99999999999")},
       SavedRecord(20, 0, 0)},
      {"length arrows", {Action(T::UpDown, 1010, "", 3)}, SavedRecord(23, -300, 450)},
      {"length stops at 100", {Action(T::UpDown, 1010, "", 90)}, SavedRecord(100, -300, 450)},
      {"centre arrows write into the boxes",
       {Action(T::UpDown, 1011, "", 2), Action(T::UpDown, 1012, "", -4)},
       SavedRecord(20, -298, 446)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings(20, -300, 450);
    std::vector<vfhost::DialogAction> actions = c.actions;
    actions.push_back(Action(T::Ok));
    const vfhost::OptionsOutcome outcome = Options(actions);
    EXPECT_TRUE(vftest::Messages(outcome.events).empty());
    EXPECT_EQ(vftest::ReadFileBytes(FilePath()), c.saved);
  }
}

TEST_P(LineBlur, DialogResetsADamagedFileAndCloseSavesNothing) {
  const std::vector<uint8_t> damaged = SignedFile("smooth", LineRecord(5, 1, 2));
  vftest::WriteFileBytes(FilePath(), damaged);
  const vfhost::OptionsOutcome outcome =
      Options({vftest::Action(T::UpDown, 1010, "", 1), vftest::Action(T::Close)});
  const auto messages = vftest::Messages(outcome.events);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kDialogDamagedText);
  EXPECT_EQ(messages[0].caption, "smoothold");
  EXPECT_EQ(messages[0].icon, "information");
  EXPECT_EQ(Text(outcome, 1001), "11");
  EXPECT_EQ(vftest::ReadFileBytes(FilePath()), damaged);
}

TEST_P(LineBlur, DialogShowsAHandMadeFileWithinTheRanges) {
  WriteSettings(0, 99999, -99999);
  const vfhost::OptionsOutcome outcome = Options({vftest::Action(T::Ok)});
  EXPECT_EQ(Text(outcome, 1001), "1");
  EXPECT_EQ(Text(outcome, 1012, "edit"), "32000");
  EXPECT_EQ(Text(outcome, 1013), "-32000");
  EXPECT_EQ(vftest::ReadFileBytes(FilePath()), SavedRecord(1, 32000, -32000));
}

TEST_P(LineBlur, DialogWriteFailureNamesThePath) {
  vfhost::RunOptions options = vftest::OptionsFor(settings_);
  options.settingsDir = settings_.path() + "absent/";
  const vfhost::OptionsOutcome outcome = plugin_->RunOptions({vftest::Action(T::Ok)}, options);
  EXPECT_EQ(outcome.result, 1);
  const auto messages = vftest::Messages(outcome.events);
  ASSERT_EQ(messages.size(), 2u);  // the missing file, then the failed write
  EXPECT_EQ(messages[1].text, options.settingsDir + GetParam().plugin + ".dat" + kWriteFailureText);
  EXPECT_EQ(messages[1].caption, "ごめんなさい");
  EXPECT_EQ(vftest::EventsOfType(outcome.events, vfhost::Event::Type::Dialog).at(0).value, 0);
}

}  // namespace blurtest
