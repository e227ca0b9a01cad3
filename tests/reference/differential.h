// The differential tests' fixture: each fast plug-in beside its reference
// build (the same plug-in with the plain kernels), run on a corpus of
// pictures and settings. The two must agree in every output byte, every
// event in order, the ESC polls and the saved settings.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../support/colour_record.h"
#include "../support/plugin_test.h"
#include "photo_like.h"

namespace vfdiff {

struct Picture {
  const char* name;
  int32_t width, height;
  uint32_t seed;
  int32_t levels;  // 0: full colour
};

// Odd sizes, a single pixel, thin strips, posterised and full-colour photos.
inline const Picture kPictures[] = {
    {"one pixel", 1, 1, 3, 0},       {"strip", 7, 1, 4, 0},          {"column", 1, 9, 5, 0},
    {"under 80 pixels", 9, 8, 6, 0}, {"posterised", 61, 47, 7, 6},   {"photo", 97, 73, 8, 0},
    {"few colours", 40, 31, 9, 3},   {"tall photo", 13, 211, 10, 0}, {"flat", 20, 20, 0, 1},
};

// 0: no ESC; otherwise the first poll that reports it.
inline const int64_t kEscFrom[] = {0, 1, 4};

// Palette slot 0 holding this word: no palette kept yet.
inline constexpr uint32_t kNoPaletteMark = 0x01000000;

inline std::string Describe(const std::vector<vfhost::Event>& events) {
  return vfhost::TraceText(events);
}

class Differential : public testing::Test {
 protected:
  void LoadPair(const std::string& name) {
    fast_ = vftest::LoadPlugin(name);
    std::string error;
    reference_ = vfhost::Plugin::Load(
        std::string(VF_REFERENCE_PLUGIN_DIR) + "/" + vfhost::PluginFileName(name), VF_PLUGIN_DIR, error);
    ASSERT_TRUE(fast_);
    ASSERT_TRUE(reference_) << error;
    stem_ = name;
  }

  // Both plug-ins' settings folders made by the fast one's dialog (the
  // dialog code is the same in both builds), then one run of each.
  void ExpectSameRunsAfterDialog(const Picture& picture, const std::vector<vfhost::DialogAction>& actions,
                                 int64_t escFrom) {
    SCOPED_TRACE(std::string(picture.name) + ", ESC from poll " + std::to_string(escFrom));
    vftest::TempDir fastDir, referenceDir;
    for (const vftest::TempDir* dir : {&fastDir, &referenceDir}) {
      const vfhost::OptionsOutcome dialog = fast_->RunOptions(actions, vftest::OptionsFor(*dir));
      ASSERT_TRUE(dialog.errors.empty()) << dialog.errors.front();
    }
    vfhost::Dib fastDib = vftest::PhotoLikeDib(picture.width, picture.height, picture.seed, picture.levels);
    vfhost::Dib referenceDib = fastDib;
    vfhost::RunOptions fastOptions = vftest::OptionsFor(fastDir),
                       referenceOptions = vftest::OptionsFor(referenceDir);
    if (escFrom > 0) fastOptions.escFromPoll = referenceOptions.escFromPoll = escFrom;
    if (pinnedTime_) fastOptions.time = referenceOptions.time = pinnedTime_;
    const vfhost::RunOutcome fast = fast_->RunDib(fastDib, fastOptions);
    const vfhost::RunOutcome reference = reference_->RunDib(referenceDib, referenceOptions);
    EXPECT_EQ(fast.result, reference.result);
    EXPECT_EQ(Describe(fast.events), Describe(reference.events));
    EXPECT_EQ(fast.escPolls, reference.escPolls);
    EXPECT_EQ(fast.liveAllocations, 0);
    EXPECT_TRUE(fastDib.bytes() == referenceDib.bytes()) << "pictures differ";
  }

  // Runs both on copies of the picture with the same record; a second run
  // follows in the same folders so that a palette kept by the first is used.
  void ExpectSameRuns(const Picture& picture, const std::vector<uint8_t>& record, int64_t escFrom,
                      const std::vector<uint8_t>& secondRecord = {}) {
    SCOPED_TRACE(std::string(picture.name) + ", ESC from poll " + std::to_string(escFrom));
    vftest::TempDir fastDir, referenceDir;
    const std::string file = "/" + stem_ + ".dat";
    vftest::WriteFileBytes(fastDir.path() + file, record);
    vftest::WriteFileBytes(referenceDir.path() + file, record);
    for (int run = 0; run < (secondRecord.empty() ? 1 : 2); ++run) {
      if (run == 1) {
        // Keep the palette the first run saved, change the rest.
        std::vector<uint8_t> kept = vftest::ReadFileBytes(fastDir.path() + file);
        ASSERT_EQ(kept, vftest::ReadFileBytes(referenceDir.path() + file));
        for (std::size_t i = 0; i < 4; ++i) kept[i] = secondRecord[i];
        vftest::WriteFileBytes(fastDir.path() + file, kept);
        vftest::WriteFileBytes(referenceDir.path() + file, kept);
      }
      vfhost::Dib fastDib = vftest::PhotoLikeDib(picture.width, picture.height, picture.seed, picture.levels);
      vfhost::Dib referenceDib = fastDib;
      vfhost::RunOptions fastOptions = vftest::OptionsFor(fastDir),
                         referenceOptions = vftest::OptionsFor(referenceDir);
      if (escFrom > 0) fastOptions.escFromPoll = referenceOptions.escFromPoll = escFrom;
      if (pinnedTime_) fastOptions.time = referenceOptions.time = pinnedTime_;
      const vfhost::RunOutcome fast = fast_->RunDib(fastDib, fastOptions);
      const vfhost::RunOutcome reference = reference_->RunDib(referenceDib, referenceOptions);
      EXPECT_EQ(fast.result, reference.result);
      EXPECT_EQ(Describe(fast.events), Describe(reference.events));
      EXPECT_EQ(fast.escPolls, reference.escPolls);
      EXPECT_EQ(fast.liveAllocations, 0);
      EXPECT_TRUE(fastDib.bytes() == referenceDib.bytes()) << "run " << run << ": pictures differ";
      EXPECT_EQ(vftest::ReadFileBytes(fastDir.path() + file),
                vftest::ReadFileBytes(referenceDir.path() + file));
    }
  }

  std::unique_ptr<vfhost::Plugin> fast_, reference_;
  // The clock both runs see, for the plug-ins that draw random numbers.
  std::optional<int64_t> pinnedTime_;
  std::string stem_;
};

}  // namespace vfdiff
