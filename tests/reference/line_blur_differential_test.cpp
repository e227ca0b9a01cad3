// Differential tests of radialblur and spinblur with hand-made settings
// files: lengths outside the dialog's range, even and odd lengths, and
// centres so far out that the terms of a pixel's line leave the range of
// the fast walk (those pixels take the plain 64-bit path, beside walked
// ones and runs of shared lines).
#include <cstdint>
#include <limits>

#include "../blur_common/signed_file.h"
#include "differential.h"

namespace {

using vfdiff::Differential;
using vfdiff::kEscFrom;
using vfdiff::kPictures;
using vfdiff::Picture;

TEST_F(Differential, LineBlursMatchTheReferenceForHandMadeLengthsAndFarCentres) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  struct Centre {
    int32_t x, y;
  };
  // The terms of the division about 2^31 and past it, on either axis; a
  // row of pictures straddling the walk's limit 2^32 / L for L = 100
  // (42949672); and a centre inside the picture for the even and odd
  // lengths.
  const Centre kCentres[] = {{kMax, 0},    {0, kMax}, {kMin, 0},     {0, kMin},      {kMin, kMin},
                             {kMin, kMax}, {6, 5},    {42949700, 3}, {-40000, 40000}};
  const struct {
    const char* name;
    const char* signature;
  } kPlugins[] = {{"radialblur", "rdlblr"}, {"spinblur", "spnblr"}};
  for (const auto& plugin : kPlugins) {
    LoadPair(plugin.name);
    for (const uint8_t length : {0, 2, 4, 99, 255}) {
      for (const Centre& centre : kCentres) {
        SCOPED_TRACE(std::string(plugin.name) + " length " + std::to_string(length) + " centre " +
                     std::to_string(centre.x) + "," + std::to_string(centre.y));
        const std::vector<uint8_t> file =
            blurtest::SignedFile(plugin.signature, blurtest::LineRecord(length, centre.x, centre.y));
        for (const Picture& picture : kPictures) {
          for (const int64_t escFrom : kEscFrom) {
            if (escFrom != 0 && length != 99) continue;
            ExpectSameRuns(picture, file, escFrom);
          }
        }
      }
    }
  }
}

}  // namespace
