// Differential tests of diffuseblur, jitternoise and ditherbw against their
// reference builds. The random filters' runs have the clock pinned so that
// both builds draw the same numbers.
#include "differential.h"

namespace {

using vfdiff::Differential;

TEST_F(Differential, DiffuseBlurMatchesTheReferenceForBothBordersAndSeveralSeeds) {
  LoadPair("diffuseblur");
  for (const int64_t seed : {int64_t{0}, int64_t{1}, int64_t{1700000000}, int64_t{4294967295}}) {
    pinnedTime_ = seed;
    for (const uint8_t seamless : {0, 1}) {
      SCOPED_TRACE("time " + std::to_string(seed) + " seamless " + std::to_string(seamless));
      for (const vfdiff::Picture& picture : vfdiff::kPictures) {
        for (const int64_t escFrom : vfdiff::kEscFrom) ExpectSameRuns(picture, {seamless}, escFrom);
      }
    }
  }
}

// A jitternoise record: A, B, C as 32-bit numbers, the strength, three
// bytes kept.
std::vector<uint8_t> JitterRecord(int32_t seeds, int32_t clusters, int32_t pixels, uint8_t strength) {
  std::vector<uint8_t> record;
  for (const int32_t count : {seeds, clusters, pixels}) {
    for (int shift = 0; shift < 32; shift += 8) record.push_back(static_cast<uint8_t>(count >> shift));
  }
  record.insert(record.end(), {strength, 0, 0, 0});
  return record;
}

TEST_F(Differential, JitterNoiseMatchesTheReferenceForEveryPictureSizeAndStrength) {
  LoadPair("jitternoise");
  struct Counts {
    int32_t seeds, clusters, pixels;
    uint8_t strength;
  };
  const Counts kCounts[] = {{5, 10, 1, 1}, {20, 30, 200, 20}, {7, 11, 13, 10}};
  for (const int64_t seed : {int64_t{0}, int64_t{1700000000}}) {
    pinnedTime_ = seed;
    for (const Counts& counts : kCounts) {
      SCOPED_TRACE("time " + std::to_string(seed) + " A " + std::to_string(counts.seeds) + " C " +
                   std::to_string(counts.pixels));
      const std::vector<uint8_t> record =
          JitterRecord(counts.seeds, counts.clusters, counts.pixels, counts.strength);
      for (const vfdiff::Picture& picture : vfdiff::kPictures) {
        for (const int64_t escFrom : vfdiff::kEscFrom) ExpectSameRuns(picture, record, escFrom);
      }
    }
  }
}

// The record's pattern in use with thresholds from 0 up to 255 (a hand-made
// file may hold any byte), once with cells of one pixel and once of 2 x 2.
std::vector<uint8_t> DitherRecord(uint8_t firstThreshold, uint8_t thresholdStep, uint8_t twice) {
  std::vector<uint8_t> record(51, 0);
  for (int cell = 0; cell < 16; ++cell)
    record[1 + cell] = static_cast<uint8_t>(firstThreshold + thresholdStep * cell);
  record[49] = twice;
  return record;
}

TEST_F(Differential, DitherBwMatchesTheReferenceForEveryPatternScale) {
  LoadPair("ditherbw");
  struct Thresholds {
    uint8_t first, step;
  };
  for (const Thresholds thresholds :
       {Thresholds{0, 1}, Thresholds{3, 7}, Thresholds{240, 1}, Thresholds{255, 0}}) {
    for (const uint8_t twice : {0, 1}) {
      SCOPED_TRACE("thresholds from " + std::to_string(thresholds.first) + " twice " + std::to_string(twice));
      for (const vfdiff::Picture& picture : vfdiff::kPictures) {
        ExpectSameRuns(picture, DitherRecord(thresholds.first, thresholds.step, twice), 0);
      }
    }
  }
}

}  // namespace
