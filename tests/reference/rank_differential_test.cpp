// Differential tests of the rank filters (maxfilter, minfilter, despeckle)
// and edgeblur against their reference builds.
#include <string>
#include <vector>

#include "differential.h"

namespace {

using vfdiff::Differential;
using vfdiff::kEscFrom;
using vfdiff::Picture;

// The shared corpus plus sizes round the sixteen-pixel blocks of the fast
// kernels (one block and one pixel; two whole blocks and nothing after) and
// a posterised picture of two levels a channel, full of ties.
std::vector<Picture> RankPictures() {
  std::vector<Picture> pictures(std::begin(vfdiff::kPictures), std::end(vfdiff::kPictures));
  pictures.push_back({"one block and a pixel", 17, 12, 11, 4});
  pictures.push_back({"two whole blocks", 32, 6, 12, 0});
  pictures.push_back({"two levels", 37, 29, 13, 2});
  return pictures;
}

// Line art on white: black and grey specks, lines across and at 45 degrees,
// pure white and black, full blue (which despeckle's stretch skips) and
// random colours, so that isolation, whitening, the luminance extremes and
// strong boundaries all occur.
vfhost::Dib LineArtDib(int32_t width, int32_t height, uint32_t seed) {
  vfhost::Dib dib(width, height);
  uint32_t noise = seed;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const uint32_t pick = noise >> 24;
      const auto grey = static_cast<uint8_t>(noise >> 8);
      if (y % 11 == 3 || x == (y * 2) % (width + 1) || (x + y) % 17 == 0) {
        dib.SetPixel(y, x, 0, 0, 0);
      } else if (pick < 150) {
        dib.SetPixel(y, x, 255, 255, 255);
      } else if (pick < 190) {
        dib.SetPixel(y, x, grey, grey, grey);
      } else if (pick < 200) {
        dib.SetPixel(y, x, 0, 0, 255);
      } else if (pick < 215) {
        dib.SetPixel(y, x, 0, 0, 0);
      } else {
        dib.SetPixel(y, x, static_cast<uint8_t>(noise >> 16), grey, static_cast<uint8_t>(noise));
      }
    }
  }
  return dib;
}

// The shared fixture, and the same comparison on the line-art pictures.
class RankDifferential : public Differential {
 protected:
  void ExpectSameRunsOnLineArt(const std::vector<uint8_t>& record, int64_t escFrom) {
    struct Size {
      int32_t width, height;
    };
    for (const Size size : {Size{1, 1}, Size{3, 2}, Size{17, 5}, Size{50, 41}, Size{97, 33}, Size{150, 9}}) {
      SCOPED_TRACE("line art " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                   ", ESC from poll " + std::to_string(escFrom));
      vftest::TempDir fastDir, referenceDir;
      const std::string file = "/" + stem_ + ".dat";
      vftest::WriteFileBytes(fastDir.path() + file, record);
      vftest::WriteFileBytes(referenceDir.path() + file, record);
      vfhost::Dib fastDib =
          LineArtDib(size.width, size.height, static_cast<uint32_t>(size.width * 31 + size.height));
      vfhost::Dib referenceDib = fastDib;
      vfhost::RunOptions fastOptions = vftest::OptionsFor(fastDir),
                         referenceOptions = vftest::OptionsFor(referenceDir);
      if (escFrom > 0) fastOptions.escFromPoll = referenceOptions.escFromPoll = escFrom;
      const vfhost::RunOutcome fast = fast_->RunDib(fastDib, fastOptions);
      const vfhost::RunOutcome reference = reference_->RunDib(referenceDib, referenceOptions);
      EXPECT_EQ(fast.result, reference.result);
      EXPECT_EQ(vfdiff::Describe(fast.events), vfdiff::Describe(reference.events));
      EXPECT_EQ(fast.escPolls, reference.escPolls);
      EXPECT_EQ(fast.liveAllocations, 0);
      EXPECT_TRUE(fastDib.bytes() == referenceDib.bytes()) << "pictures differ";
    }
  }

  // Both corpora with one record.
  void ExpectSameRunsEverywhere(const std::vector<uint8_t>& record, int64_t escFrom) {
    for (const Picture& picture : RankPictures()) ExpectSameRuns(picture, record, escFrom);
    ExpectSameRunsOnLineArt(record, escFrom);
  }
};

const uint8_t kBounds[] = {0, 1, 77, 128, 254, 255};

std::string RangeText(uint8_t lower, uint8_t upper) {
  return "range " + std::to_string(lower) + " .. " + std::to_string(upper);
}

TEST_F(RankDifferential, MaxFilterMatchesTheReferenceForEveryRangeAndBorder) {
  LoadPair("maxfilter");
  for (const uint8_t lower : kBounds) {
    for (const uint8_t upper : kBounds) {
      for (const uint8_t seamless : {0, 1}) {
        SCOPED_TRACE(RangeText(lower, upper) + " seamless " + std::to_string(seamless));
        ExpectSameRunsEverywhere({lower, upper, seamless}, 0);
      }
    }
  }
}

TEST_F(RankDifferential, MinFilterMatchesTheReferenceForEveryRangePassesAndEsc) {
  LoadPair("minfilter");
  for (const uint8_t lower : kBounds) {
    for (const uint8_t upper : kBounds) {
      for (const uint8_t seamless : {0, 1}) {
        for (const uint8_t repeat : {0, 1}) {
          SCOPED_TRACE(RangeText(lower, upper) + " seamless " + std::to_string(seamless) + " repeat " +
                       std::to_string(repeat));
          // ESC is looked at between passes only.
          for (const int64_t escFrom : kEscFrom)
            ExpectSameRunsEverywhere({lower, upper, seamless, repeat}, escFrom);
        }
      }
    }
  }
}

TEST_F(RankDifferential, DespeckleMatchesTheReferenceForEveryBackgroundAndContrast) {
  LoadPair("despeckle");
  // 0 only from a file (everything whitened); 4 and 5 round the contrast
  // factor's edge; 1, 180 and 255 the bar's ends and default.
  for (const uint8_t background : {0, 1, 4, 5, 100, 180, 254, 255}) {
    for (const uint8_t contrast : {0, 1}) {
      SCOPED_TRACE("background " + std::to_string(background) + " contrast " + std::to_string(contrast));
      ExpectSameRunsEverywhere({background, contrast}, 0);
    }
  }
}

TEST_F(RankDifferential, EdgeBlurMatchesTheReferenceForEveryThresholdAndBorder) {
  LoadPair("edgeblur");
  for (const uint8_t threshold : {0, 1, 2, 30, 64, 128, 254, 255}) {
    for (const uint8_t seamless : {0, 1}) {
      SCOPED_TRACE("threshold " + std::to_string(threshold) + " seamless " + std::to_string(seamless));
      ExpectSameRunsEverywhere({threshold, seamless}, 0);
    }
  }
}

}  // namespace
