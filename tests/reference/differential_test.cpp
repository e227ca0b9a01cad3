// Differential tests of the colour survey, the blurs, regionavg and
// edgeextract against their reference builds.
#include "differential.h"

namespace {

using vfdiff::Differential;
using vfdiff::kEscFrom;
using vfdiff::kNoPaletteMark;
using vfdiff::kPictures;
using vfdiff::Picture;

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
