// Every plug-in with something failing at each step of a run: each working
// memory request failing in turn, ESC pressed from each poll on, and a
// settings folder that cannot be written.
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "reliability_support.h"

namespace {

using reliability::Picture;
using reliability::PluginShape;
using vfhost::RunOutcome;

std::string Fingerprint(const RunOutcome& outcome, const Picture& picture) {
  const std::vector<uint8_t> pixels = picture.Bytes();
  return std::to_string(outcome.result) + "\n" + vfhost::TraceText(outcome.events) +
         std::string(pixels.begin(), pixels.end());
}

// Whether the last progress event, if any was sent, is PROGRESS_END.
bool ProgressEnded(const RunOutcome& outcome) {
  const auto progress = vftest::Progress(outcome.events);
  return progress.empty() || progress.back().first == 0;
}

class FailureInjection : public testing::TestWithParam<PluginShape> {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin(GetParam().name);
    ASSERT_TRUE(plugin_);
    // The defaults saved by the dialog: every plug-in runs on them.
    plugin_->RunOptions({vftest::Action(vfhost::DialogAction::Type::Ok)}, Options());
    savedSettings_ = vftest::ReadFileBytes(reliability::SettingsPath(dir_, GetParam()));
    original_ = Picture::Random(GetParam(), 23, 21, 77);
    Picture picture = original_;
    reference_ = RunFresh(picture, Options());
    referencePicture_ = picture;
    ASSERT_EQ(reference_.liveAllocations, 0);
  }

  vfhost::RunOptions Options() const {
    vfhost::RunOptions options = vftest::OptionsFor(dir_);
    options.time = 1700000000;
    return options;
  }

  // A run from the settings the dialog saved (runs may store state, such as
  // a notice already shown, that would make later runs differ).
  RunOutcome RunFresh(Picture& picture, const vfhost::RunOptions& options) {
    vftest::WriteFileBytes(reliability::SettingsPath(dir_, GetParam()), savedSettings_);
    return reliability::Run(*plugin_, GetParam(), picture, options);
  }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir dir_;
  std::vector<uint8_t> savedSettings_;
  Picture original_, referencePicture_;
  RunOutcome reference_;
};

// A failed allocation: the picture byte for byte as it was, result 0,
// nothing left allocated, progress closed; the memory message from a DIB
// plug-in, none from a line-access one (they fail silently).
void ExpectCleanMemoryFailure(const PluginShape& plugin, const RunOutcome& outcome, const Picture& original,
                              const Picture& after) {
  EXPECT_EQ(outcome.result, 0);
  size_t memoryMessages = 0;  // a one-time notice may come before the allocation
  for (const vfhost::Event& message : vftest::Messages(outcome.events))
    memoryMessages += message.text == "グローバルメモリーが確保できませんでした；＿；。";
  EXPECT_EQ(memoryMessages, plugin.lineAccess ? 0u : 1u) << "memory messages shown";
  EXPECT_TRUE(after.Bytes() == original.Bytes()) << "the picture was changed";
  EXPECT_EQ(outcome.liveAllocations, 0);
  EXPECT_TRUE(ProgressEnded(outcome)) << "progress left open";
}

TEST_P(FailureInjection, EachAllocationFailingInTurnLeavesThePictureUntouched) {
  long injected = 0;
  for (long which = 1; which <= 64; ++which) {
    SCOPED_TRACE("allocation request " + std::to_string(which) + " fails");
    Picture picture = original_;
    vfhost::RunOptions options = Options();
    options.failAllocation = which;
    const RunOutcome outcome = RunFresh(picture, options);
    if (Fingerprint(outcome, picture) == Fingerprint(reference_, referencePicture_)) break;  // fewer requests
    ++injected;
    ExpectCleanMemoryFailure(GetParam(), outcome, original_, picture);
  }
  {
    SCOPED_TRACE("every allocation request fails");
    Picture picture = original_;
    vfhost::RunOptions options = Options();
    options.failAllocation = -1;
    const RunOutcome outcome = RunFresh(picture, options);
    if (injected > 0)
      ExpectCleanMemoryFailure(GetParam(), outcome, original_, picture);
    else
      EXPECT_TRUE(Fingerprint(outcome, picture) == Fingerprint(reference_, referencePicture_));
  }
  std::cout << "[ figures  ] " << GetParam().name << ": " << injected << " allocation failures injected\n";
}

// The poll indexes at which ESC is pressed: every one of a short run, and
// of a long run the first 40, 40 spread over the rest and the last five;
// then one past the last (ESC never seen).
std::vector<long> EscapeIndexes(long polls) {
  std::vector<long> indexes;
  const long spread = std::max(1L, polls / 40);
  for (long poll = 1; poll <= polls + 1; ++poll)
    if (poll <= 40 || poll % spread == 0 || poll > polls - 5) indexes.push_back(poll);
  return indexes;
}

TEST_P(FailureInjection, EscapeFromEveryPollEndsTheRunCleanly) {
  const long polls = reference_.escPolls;
  const std::vector<uint8_t> before = original_.Bytes(), finished = referencePicture_.Bytes();
  long tried = 0;
  for (long poll : EscapeIndexes(polls)) {
    SCOPED_TRACE("ESC from poll " + std::to_string(poll) + " of " + std::to_string(polls));
    Picture picture = original_;
    vfhost::RunOptions options = Options();
    options.escFromPoll = poll;
    const RunOutcome outcome = RunFresh(picture, options);
    ++tried;
    EXPECT_TRUE(outcome.result == 0 || outcome.result == 1) << "result " << outcome.result;
    EXPECT_EQ(outcome.liveAllocations, 0);
    EXPECT_TRUE(ProgressEnded(outcome)) << "progress left open";
    if (poll > polls)
      EXPECT_TRUE(Fingerprint(outcome, picture) == Fingerprint(reference_, referencePicture_));
    // Stopping early leaves each byte as it was or as the full run makes it,
    // except for plug-ins whose stopped run works from a partial survey.
    if (!GetParam().stoppedRunDiffers) {
      const std::vector<uint8_t> after = picture.Bytes();
      size_t strays = 0;
      for (size_t i = 0; i < after.size(); ++i) strays += after[i] != before[i] && after[i] != finished[i];
      EXPECT_EQ(strays, 0u) << "bytes half-written";
    }
  }
  std::cout << "[ figures  ] " << GetParam().name << ": ESC from " << tried << " poll indexes of " << polls
            << " polls\n";
}

TEST_P(FailureInjection, UnwritableSettingsFolderIsReportedWithoutACrash) {
  // A folder that is a regular file: nothing below it can be created, even
  // by a privileged user.
  const std::string blocker = dir_.path() + "not-a-folder";
  vftest::WriteFileBytes(blocker, {1, 2, 3});
  vfhost::RunOptions options = Options();
  options.settingsDir = blocker + "/";
  const vfhost::OptionsOutcome dialog =
      plugin_->RunOptions({vftest::Action(vfhost::DialogAction::Type::Ok)}, options);
  EXPECT_TRUE(dialog.result == 0 || dialog.result == 1);
  EXPECT_EQ(vftest::ReadFileBytes(blocker), (std::vector<uint8_t>{1, 2, 3}));
  Picture picture = original_;
  const RunOutcome run = RunFresh(picture, options);
  EXPECT_TRUE(run.result == 0 || run.result == 1);
  EXPECT_EQ(run.liveAllocations, 0);
  if (run.result == 0) EXPECT_TRUE(picture.Bytes() == original_.Bytes());
}

INSTANTIATE_TEST_SUITE_P(AllPlugins, FailureInjection, testing::ValuesIn(reliability::AllPlugins()),
                         reliability::PluginTestName);

}  // namespace
