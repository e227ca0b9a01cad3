// Differential tests: each fast plug-in beside its reference build (the same
// plug-in with the plain kernels), on a corpus of pictures and settings. The
// two must agree in every output byte, every event in order, the ESC polls
// and the saved settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/colour_record.h"
#include "../support/plugin_test.h"
#include "photo_like.h"

namespace {

struct Picture {
  const char* name;
  int32_t width, height;
  uint32_t seed;
  int32_t levels;  // 0: full colour
};

// Odd sizes, a single pixel, thin strips, posterised and full-colour photos.
const Picture kPictures[] = {
    {"one pixel", 1, 1, 3, 0},       {"strip", 7, 1, 4, 0},          {"column", 1, 9, 5, 0},
    {"under 80 pixels", 9, 8, 6, 0}, {"posterised", 61, 47, 7, 6},   {"photo", 97, 73, 8, 0},
    {"few colours", 40, 31, 9, 3},   {"tall photo", 13, 211, 10, 0}, {"flat", 20, 20, 0, 1},
};

// 0: no ESC; otherwise the first poll that reports it.
const int64_t kEscFrom[] = {0, 1, 4};

// Palette slot 0 holding this word: no palette kept yet.
constexpr uint32_t kNoPaletteMark = 0x01000000;

std::string Describe(const std::vector<vfhost::Event>& events) {
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
  std::string stem_;
};

TEST_F(Differential, ColorReduceSurveyAndReductionMatchTheReference) {
  LoadPair("colorreduce");
  for (const Picture& picture : kPictures) {
    for (const uint8_t colours : {2, 16, 250, 0, 255}) {
      SCOPED_TRACE("N " + std::to_string(colours));
      for (const int64_t escFrom : kEscFrom) {
        // A survey, then a reduction to the kept palette.
        ExpectSameRuns(picture, vftest::PaletteRecord(1044, 0, colours, 0, {kNoPaletteMark}), escFrom,
                       vftest::PaletteRecord(1044, 0, colours, 1, {}));
      }
    }
  }
}

TEST_F(Differential, ColorReduceWithAHandMadePaletteMatchesTheReference) {
  LoadPair("colorreduce");
  // Colours that agree in their top five bits, greys, and far hues.
  const std::vector<uint32_t> palette = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080,
                                         0x808480, 0x10E0F0, 0x7F7F00, 0x00407F, 0xC0C0C0, 0x0A0B0C};
  for (const Picture& picture : kPictures) {
    for (const uint8_t colours : {2, 5, 12}) {
      ExpectSameRuns(picture, vftest::PaletteRecord(1044, 0, colours, 1, palette), 0);
    }
  }
}

TEST_F(Differential, RangeStretchSurveyMatchesTheReference) {
  LoadPair("rangestretch");
  for (const Picture& picture : kPictures) {
    for (const uint8_t colours : {2, 16, 250}) {
      for (const uint8_t channelSet : {0, 1}) {
        for (const uint16_t width : {1, 255, 500}) {
          SCOPED_TRACE("N " + std::to_string(colours) + " set " + std::to_string(channelSet) + " width " +
                       std::to_string(width));
          std::vector<uint8_t> record = vftest::PaletteRecord(1048, 0, colours, 0, {kNoPaletteMark});
          record[1040] = static_cast<uint8_t>(width);
          record[1041] = static_cast<uint8_t>(width >> 8);
          record[1042] = channelSet;
          record[1043] = channelSet;  // the result box on and off
          for (const int64_t escFrom : kEscFrom) ExpectSameRuns(picture, record, escFrom);
        }
      }
    }
  }
}

TEST_F(Differential, SoftBlurMatchesTheReferenceForEveryRadiusShapeAndBorder) {
  LoadPair("softblur");
  using T = vfhost::DialogAction::Type;
  for (const int radius : {1, 2, 7, 30}) {
    for (int shape = 1; shape <= 7; ++shape) {
      for (const bool seamless : {false, true}) {
        SCOPED_TRACE("radius " + std::to_string(radius) + " shape " + std::to_string(shape) +
                     (seamless ? " seamless" : ""));
        const std::vector<vfhost::DialogAction> actions = {
            vftest::Action(T::Set, 1001, std::to_string(radius)),
            vftest::Action(T::Set, 1003, std::to_string(shape)),
            vftest::Action(seamless ? T::Check : T::Uncheck, 1007), vftest::Action(T::Ok)};
        // Small pictures keep the widest windows quick; they also tile the
        // border themselves.
        for (const Picture& picture : kPictures) {
          if (radius == 30 && picture.width * picture.height > 2000) continue;
          ExpectSameRunsAfterDialog(picture, actions, shape == 3 && !seamless ? 2 : 0);
        }
      }
    }
  }
}

TEST_F(Differential, RadialAndSpinBlurMatchTheReferenceForEveryCentreAndLength) {
  using T = vfhost::DialogAction::Type;
  struct Centre {
    int x, y;
  };
  // Inside, on a corner, on an edge, beyond the picture, far out, and on
  // the diagonals where the spin line changes its steepness.
  const Centre kCentres[] = {{5, 4}, {0, 0}, {40, 0}, {-20, 300}, {32000, -32000}, {30, 30}};
  for (const char* name : {"radialblur", "spinblur"}) {
    LoadPair(name);
    for (const int length : {1, 3, 100}) {
      for (const Centre& centre : kCentres) {
        SCOPED_TRACE(std::string(name) + " length " + std::to_string(length) + " centre " +
                     std::to_string(centre.x) + "," + std::to_string(centre.y));
        const std::vector<vfhost::DialogAction> actions = {
            vftest::Action(T::Set, 1001, std::to_string(length)),
            vftest::Action(T::Set, 1012, std::to_string(centre.x)),
            vftest::Action(T::Set, 1013, std::to_string(centre.y)), vftest::Action(T::Ok)};
        for (const Picture& picture : kPictures)
          ExpectSameRunsAfterDialog(picture, actions, length == 3 ? 3 : 0);
      }
    }
  }
}

TEST_F(Differential, RegionAvgMatchesTheReferenceForEveryThresholdAndBorder) {
  LoadPair("regionavg");
  for (const uint8_t threshold : {0, 1, 20, 64, 255}) {
    for (const uint8_t seamless : {0, 1}) {
      SCOPED_TRACE("T " + std::to_string(threshold) + " seamless " + std::to_string(seamless));
      for (const Picture& picture : kPictures) {
        for (const int64_t escFrom : kEscFrom) ExpectSameRuns(picture, {threshold, seamless}, escFrom);
      }
    }
  }
}

TEST_F(Differential, EdgeExtractMatchesTheReferenceForEveryMeasure) {
  LoadPair("edgeextract");
  for (uint8_t measure = 0; measure <= 5; ++measure) {  // 5: a hand-made file's measure past the last
    for (const uint8_t threshold : {0, 1, 60, 254, 255}) {
      for (const uint8_t seamless : {0, 1}) {
        SCOPED_TRACE("measure " + std::to_string(measure) + " T " + std::to_string(threshold) + " seamless " +
                     std::to_string(seamless));
        const std::vector<uint8_t> record = {threshold, seamless, measure, 60, 61, 62, 63, 64};
        for (const Picture& picture : kPictures) ExpectSameRuns(picture, record, threshold == 60 ? 2 : 0);
      }
    }
  }
}

}  // namespace
