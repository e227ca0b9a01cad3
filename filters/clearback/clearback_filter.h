// clearback's work: every pixel of the background colour spreads a round zone
// over an alpha-work plane (0 at the pixel, rising linearly to 255 at the
// reach); inside the zones the whiteness is taken out of each pixel, lowering
// its opacity by its lightness and recovering the colour that, laid over
// white at that opacity, gives the pixel's present colour.
#pragma once

#include <cstdint>

#include "clearback_settings.h"
#include "frame/line_access.h"

namespace clearback {

// R of a run: the range plus one. A range outside 1..30, which only a
// hand-made settings file can hold, is taken as the nearest of them, so that
// the zone, its table and the border of the alpha-work plane stay in bounds.
int32_t ReachFor(const Settings& settings);

// The working memory of one run, laid out in one block.
class Workspace {
 public:
  // Bytes of the block; frame::kUnaddressable when they cannot be counted.
  static uint64_t BytesFor(int32_t width, int32_t height, int32_t reach);
  Workspace(uint8_t* block, int32_t width, int32_t height, int32_t reach);

  int32_t reach() const { return reach_; }
  uint8_t* colourImage;    // height rows of 3 x width bytes, filled by pass 1
  uint8_t* outputLine;     // 3 x width
  uint8_t* alphaLine;      // width
  uint8_t* savedMask;      // height rows of width bytes
  uint8_t* distanceTable;  // (2R + 1) rows of 2R + 1, offsets -R..R

  // The alpha-work byte of image pixel (x, y); x and y may lie up to R
  // outside the image, in the border.
  uint8_t& Work(int32_t x, int32_t y) {
    return alphaWork_[static_cast<std::size_t>(y + reach_) * workStride_ +
                      static_cast<std::size_t>(x + reach_)];
  }
  void FillWork(uint8_t value);

 private:
  int32_t reach_;
  std::size_t workStride_;  // W + 2R
  std::size_t workBytes_;   // (H + 2R) x (W + 2R)
  uint8_t* alphaWork_;
};

// 255 beyond the reach, else the integer part of 255 x d / R, where d is the
// distance of the offset (i, j) from the centre in double precision.
void BuildDistanceTable(int32_t reach, uint8_t* table);

// One pixel of pass 3 with alpha-work value below 255: the new colour and the
// opacity that replaces the alpha-plane byte.
void Unwhiten(const uint8_t* colour, uint8_t work, uint8_t* output, uint8_t* opacity);

// Steps 4 to 11 of a run: fill the alpha-work plane, save and clear the mask,
// build the table, find the background, the three passes (ESC ends the pass
// that is running), and the mask put back.
void ClearBackground(const frame::LineAccess& lines, Workspace& work, int32_t corner, HWND host);

}  // namespace clearback
