// The colour-group survey shared by colorreduce and rangestretch.
//
// Pixels are visited in scan order: rows in their order in memory (row 0
// first), the pixels of a row from left to right. Every unmarked pixel
// becomes a seed; every later unmarked pixel whose red, green and blue each
// differ from the seed's by less than 12 joins its group. The groups are
// ranked by size into the palette, the largest first.
#pragma once

#include <cstdint>

#include "frame/host_interface.h"

namespace colour_survey {

constexpr int32_t kPaletteSlots = 256;
// A colour word holds red in bits 0-7, green in 8-15, blue in 16-23. This
// one can be no colour: palette slot 0 holding it means no palette yet.
constexpr uint32_t kNoPaletteMark = 0x01000000;
// Colours closer than this in every channel fall into one group.
constexpr int32_t kGroupReach = 12;
// The largest number of ranked slots: the ranking uses positions 0 .. N + 1.
constexpr int32_t kMostRankedSlots = 250;

inline uint32_t ColourWordOfBgr(const uint8_t* pixel) {
  return static_cast<uint32_t>(pixel[2]) | static_cast<uint32_t>(pixel[1]) << 8 |
         static_cast<uint32_t>(pixel[0]) << 16;
}
inline void WriteColourWord(uint8_t* pixel, uint32_t word) {
  pixel[0] = static_cast<uint8_t>(word >> 16);
  pixel[1] = static_cast<uint8_t>(word >> 8);
  pixel[2] = static_cast<uint8_t>(word);
}
inline uint8_t RedOf(uint32_t word) {
  return static_cast<uint8_t>(word);
}
inline uint8_t GreenOf(uint32_t word) {
  return static_cast<uint8_t>(word >> 8);
}
inline uint8_t BlueOf(uint32_t word) {
  return static_cast<uint8_t>(word >> 16);
}

// The one-time notice of the plug-ins that survey: the survey is slow and
// can be stopped with ESC.
extern const char kSlowSurveyNotice[];

// N as a run uses it, held to fewest .. kMostRankedSlots. A hand-made file
// may hold anything; below the fewest there is no slot to choose from or to
// take a range from, above the most the ranking would run past its 256
// positions.
int32_t UsableSlots(uint8_t colours, int32_t fewest);

// Bytes of the mark plane: (H + 1) x W.
uint64_t MarkPlaneSize(const frame::DibImage& image);

struct SurveyRules {
  int32_t rankedSlots = 16;     // N: positions 0 .. N are ranked, N + 1 takes the entry pushed out
  uint32_t smallestRanked = 0;  // groups smaller than this are not ranked
};

struct SurveyResult {
  int32_t lastPercent = 0;             // P, the last survey progress value sent
  bool stopped = false;                // the user pressed ESC
  uint32_t sizes[kPaletteSlots] = {};  // the ranking list, in step with the palette
};

// U = (H x W) / 80, the survey's progress unit.
uint64_t SurveyUnit(const frame::DibImage& image);

// Clears the ranking, sets every palette slot to the first pixel's colour,
// then surveys. The groups are found in one pass over the picture and then
// reported as if each seed row in turn had gathered its groups: progress
// PROGRESS_PERCENT 0 first, then after each row PROGRESS_PERCENT2 with the
// pixels joined to the seeds of the rows so far / U and an ESC poll; ESC
// leaves the groups of later rows unranked. marks is the caller's working
// plane of MarkPlaneSize bytes, which the one-pass survey does not need.
// Pictures of fewer than 80 pixels have U = 0 and report the joined pixels
// themselves (U taken as 1).
SurveyResult SurveyColourGroups(const frame::DibImage& image, uint8_t* marks, uint32_t* palette,
                                const SurveyRules& rules, HWND host);

// Puts a group into the ranking: at the first position 0 .. N whose size is
// not larger, moving positions k .. N one on. Unranked when all are larger.
void RankGroup(uint32_t* sizes, uint32_t* palette, int32_t rankedSlots, uint32_t groupSize, uint32_t colour);

// Paints N bands: row y takes palette slot N x y / H. Progress after every
// row that is a multiple of H / 20 + 1, from 0 by 5.
void WritePaletteBands(const frame::DibImage& image, const uint32_t* palette, int32_t slots, HWND host);

// PROGRESS_PERCENT after every row that is a multiple of the step, from a
// start value by one. A step of 0 or less (small pictures) reports every row.
class StepProgress {
 public:
  StepProgress(HWND host, int32_t step, int32_t start)
      : host_(host), step_(step > 0 ? step : 1), value_(start) {}
  void AfterRow(int32_t row);

 private:
  HWND host_;
  int32_t step_;
  int32_t value_;
};

// The reporting step after a survey that ended at P: H / (99 - P), and
// without a survey H / 100 + 1.
int32_t StepAfterSurvey(int32_t height, int32_t lastPercent);
int32_t StepWithoutSurvey(int32_t height);

}  // namespace colour_survey
