// Differential tests of edgeextract and regionavg against their reference
// builds where their wide lanes are most likely to go wrong: widths round the
// 8- and 16-place groups, and pictures of extreme colours (full primaries and
// secondaries of every hue, black, white, greys) under every threshold, so
// that a difference off by one anywhere changes a result.
#include <cstdint>
#include <string>
#include <vector>

#include "differential.h"

namespace {

using vfdiff::Differential;
using vfdiff::Picture;

const Picture kLanePictures[] = {
    {"one group of 8", 8, 5, 21, 0},
    {"a group of 8 less one", 15, 4, 22, 0},
    {"one group of 16", 16, 3, 23, 0},
    {"a group of 16 and one", 17, 6, 24, 0},
    {"two groups of 16 and one", 33, 9, 25, 0},
    {"wide strip", 259, 2, 28, 0},
    {"three levels", 24, 24, 29, 3},
};

// Random places of fully saturated bright colours of any hue (one channel
// 255, one 0: S x V at its largest, so hue terms fall on exact multiples of
// their divisors), black, white, greys and any colour at all.
vfhost::Dib ExtremeColoursDib(int32_t width, int32_t height, uint32_t seed) {
  vfhost::Dib dib(width, height);
  uint32_t noise = seed;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const uint32_t pick = noise >> 29;
      const auto any = static_cast<uint8_t>(noise >> 8);
      const uint8_t channels[3] = {255, 0, any};
      if (pick < 4) {
        const uint32_t turn = (noise >> 16) % 3;  // which channel is full, the next one is empty
        dib.SetPixel(y, x, channels[turn], channels[(turn + 1) % 3], channels[(turn + 2) % 3]);
      } else if (pick == 4) {
        dib.SetPixel(y, x, 0, 0, 0);
      } else if (pick == 5) {
        dib.SetPixel(y, x, 255, 255, 255);
      } else if (pick == 6) {
        dib.SetPixel(y, x, any, any, any);
      } else {
        dib.SetPixel(y, x, any, static_cast<uint8_t>(noise >> 16), static_cast<uint8_t>(noise));
      }
    }
  }
  return dib;
}

class HsvFiltersDifferential : public Differential {
 protected:
  // One run of each on copies of the extreme-colour picture.
  void ExpectSameRunOnExtremeColours(int32_t width, int32_t height, const std::vector<uint8_t>& record) {
    SCOPED_TRACE("extreme colours " + std::to_string(width) + "x" + std::to_string(height));
    vftest::TempDir fastDir, referenceDir;
    const std::string file = "/" + stem_ + ".dat";
    vftest::WriteFileBytes(fastDir.path() + file, record);
    vftest::WriteFileBytes(referenceDir.path() + file, record);
    vfhost::Dib fastDib = ExtremeColoursDib(width, height, static_cast<uint32_t>(width * 131 + height));
    vfhost::Dib referenceDib = fastDib;
    const vfhost::RunOutcome fast = fast_->RunDib(fastDib, vftest::OptionsFor(fastDir));
    const vfhost::RunOutcome reference = reference_->RunDib(referenceDib, vftest::OptionsFor(referenceDir));
    EXPECT_EQ(fast.result, reference.result);
    EXPECT_EQ(vfdiff::Describe(fast.events), vfdiff::Describe(reference.events));
    EXPECT_EQ(fast.liveAllocations, 0);
    EXPECT_TRUE(fastDib.bytes() == referenceDib.bytes()) << "pictures differ";
  }
};

TEST_F(HsvFiltersDifferential, RegionAvgMatchesTheReferenceForEveryThresholdOnExtremeColours) {
  LoadPair("regionavg");
  for (int32_t threshold = 0; threshold <= 255; ++threshold) {
    for (const uint8_t seamless : {0, 1}) {
      SCOPED_TRACE("T " + std::to_string(threshold) + " seamless " + std::to_string(seamless));
      ExpectSameRunOnExtremeColours(45, 21, {static_cast<uint8_t>(threshold), seamless});
    }
  }
}

TEST_F(HsvFiltersDifferential, EdgeExtractMatchesTheReferenceForEveryThresholdOnExtremeColours) {
  LoadPair("edgeextract");
  for (uint8_t measure = 0; measure <= 5; ++measure) {  // 5: a hand-made file's measure past the last
    for (int32_t threshold = 0; threshold <= 255; ++threshold) {
      SCOPED_TRACE("measure " + std::to_string(measure) + " T " + std::to_string(threshold));
      const std::vector<uint8_t> record = {static_cast<uint8_t>(threshold), 0, measure, 60, 61, 62, 63, 64};
      ExpectSameRunOnExtremeColours(45, 21, record);
    }
  }
}

TEST_F(HsvFiltersDifferential, RegionAvgMatchesTheReferenceOnLaneEdges) {
  LoadPair("regionavg");
  for (const uint8_t threshold : {1, 2, 3, 100, 212, 213}) {
    for (const uint8_t seamless : {0, 1}) {
      SCOPED_TRACE("T " + std::to_string(threshold) + " seamless " + std::to_string(seamless));
      for (const Picture& picture : kLanePictures) ExpectSameRuns(picture, {threshold, seamless}, 0);
    }
  }
}

TEST_F(HsvFiltersDifferential, EdgeExtractMatchesTheReferenceOnLaneEdges) {
  LoadPair("edgeextract");
  for (uint8_t measure = 0; measure <= 4; ++measure) {
    for (const uint8_t threshold : {1, 2, 100, 150, 151, 200}) {
      for (const uint8_t seamless : {0, 1}) {
        SCOPED_TRACE("measure " + std::to_string(measure) + " T " + std::to_string(threshold) + " seamless " +
                     std::to_string(seamless));
        const std::vector<uint8_t> record = {threshold, seamless, measure, 60, 61, 62, 63, 64};
        for (const Picture& picture : kLanePictures) ExpectSameRuns(picture, record, 0);
      }
    }
  }
}

}  // namespace
