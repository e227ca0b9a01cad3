// jitternoise's settings record, stored raw as "jitternoise.dat" (16 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace jitternoise {

#pragma pack(push, 1)
struct Settings {
  int32_t seedPoints;        // A: seed points thrown over the image
  int32_t clustersPerSeed;   // B: clusters around each seed point
  int32_t pixelsPerCluster;  // C: pixels hit by each cluster
  uint8_t strength;          // scales the offsets: strength / 20 of them
  uint8_t unused[3];         // kept as the file held them

  static constexpr const char* kFileStem = "jitternoise";
  static Settings Defaults() { return Settings{100, 1000, 5, 5, {0, 0, 0}}; }
};
#pragma pack(pop)
static_assert(sizeof(Settings) == 16, "jitternoise.dat holds 16 bytes");
static_assert(offsetof(Settings, seedPoints) == 0 && offsetof(Settings, clustersPerSeed) == 4 &&
                  offsetof(Settings, pixelsPerCluster) == 8 && offsetof(Settings, strength) == 12 &&
                  offsetof(Settings, unused) == 13,
              "jitternoise.dat field order");

// Ranges the dialog's scroll bars offer.
constexpr int32_t kSeedPointsLowest = 5, kSeedPointsHighest = 1000;
constexpr int32_t kClustersLowest = 10, kClustersHighest = 5000;
constexpr int32_t kPixelsLowest = 1, kPixelsHighest = 200;
constexpr int32_t kStrengthLowest = 1, kStrengthHighest = 20;
// What the dialog makes of a strength outside its range.
constexpr uint8_t kRepairedStrength = 10;

// The record of the loaded library, shared by the dialog and the run.
Settings& CurrentSettings();

}  // namespace jitternoise
