// despeckle's plain pixel decisions, one pixel at a time, whitening each
// isolated block as it is found. The reference for filters/despeckle/.
#include <cstring>

#include "despeckle_filter.h"

namespace despeckle {
namespace {

// Offsets (dy, dx) from a pixel: dy = -1 is the row below (lower index),
// dx = -1 the column to the left.
struct Cell {
  int32_t dy, dx;
};

// Eight directions round a pixel: an inner cell of the 3 x 3 ring and the
// three cells of the 5 x 5 ring that lie beyond it.
struct Direction {
  Cell inner;
  Cell outer[3];
};

constexpr Direction kRing[8] = {
    {{-1, -1}, {{-2, -1}, {-2, -2}, {-1, -2}}}, {{0, -1}, {{-1, -2}, {0, -2}, {1, -2}}},
    {{1, -1}, {{1, -2}, {2, -2}, {2, -1}}},     {{1, 0}, {{2, -1}, {2, 0}, {2, 1}}},
    {{1, 1}, {{2, 1}, {2, 2}, {1, 2}}},         {{0, 1}, {{1, 2}, {0, 2}, {-1, 2}}},
    {{-1, 1}, {{-1, 2}, {-2, 2}, {-2, 1}}},     {{-1, 0}, {{-2, 1}, {-2, 0}, {-2, -1}}},
};

// The ring as offsets in the luminance plane.
struct RingOffsets {
  intptr_t inner[8];
  intptr_t outer[8][3];
};

RingOffsets RingOffsetsFor(intptr_t luminancePitch) {
  RingOffsets offsets;
  for (int d = 0; d < 8; ++d) {
    offsets.inner[d] = kRing[d].inner.dy * luminancePitch + kRing[d].inner.dx;
    for (int k = 0; k < 3; ++k)
      offsets.outer[d][k] = kRing[d].outer[k].dy * luminancePitch + kRing[d].outer[k].dx;
  }
  return offsets;
}

// True when some dark inner cell of the ring has a dark cell beyond it, that
// is when the dark pixels round this one reach beyond its 3 x 3 block.
bool HasLink(const uint8_t* centre, const RingOffsets& ring, uint8_t background) {
  for (int d = 0; d < 8; ++d) {
    if (centre[ring.inner[d]] >= background) continue;
    for (int k = 0; k < 3; ++k)
      if (centre[ring.outer[d][k]] < background) return true;
  }
  return false;
}

void SetGrey(uint8_t* pixel, uint8_t grey) {
  std::memset(pixel, grey, 3);
}

void WhitenBlock(const frame::BorderedRaster& raster, int32_t y, int32_t x) {
  for (int32_t dy = -1; dy <= 1; ++dy) std::memset(raster.Pixel(y + dy, x - 1), 255, 9);
}

// Luminance 4 .. t onto 0 .. 250.
uint8_t StretchedGrey(uint8_t luminance, uint32_t factor) {
  if (luminance < 4) return 0;
  return static_cast<uint8_t>((luminance - 4u) * factor / 100u);
}

}  // namespace

frame::RasterLayout WorkingRasterLayout() {
  frame::RasterLayout layout;
  layout.border = 2;
  layout.keepLuminance = true;
  layout.luminanceInitial = 255;
  layout.colourSides = frame::BorderFill::EdgeRepeat;
  layout.colourRows = frame::BorderFill::EdgeRepeat;
  layout.luminanceBorder = frame::BorderFill::Unfilled;
  return layout;
}

uint32_t ContrastFactor(uint8_t background) {
  return background > 4 ? 25000u / (background - 4u) : 25000u;
}

// The plain kernel keeps no rows of its own.
uint64_t ScratchBytesFor(const frame::DibImage&) {
  return 0;
}

int64_t Despeckle(const frame::DibImage& image, const frame::BorderedRaster& raster, const Settings& settings,
                  uint8_t*, frame::RowCadence& cadence) {
  const uint8_t background = settings.background;
  const bool contrast = settings.contrast != 0;
  const uint32_t factor = ContrastFactor(background);
  const RingOffsets ring = RingOffsetsFor(raster.luminancePitch);
  int64_t processed = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    const uint8_t* luminanceRow = raster.Lum(y, 0);
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* centre = luminanceRow + x;
      uint8_t* colour = raster.Pixel(y, x);
      if (*centre > background) SetGrey(colour, 255);
      if (!HasLink(centre, ring, background)) {
        WhitenBlock(raster, y, x);
        ++processed;
      }
      // The stretch passes over every pixel whose blue byte is 255: those
      // whitened so far, and any colour of full blue.
      if (contrast && colour[0] != 255) SetGrey(colour, StretchedGrey(*centre, factor));
    }
    cadence.AfterRow(y);
  }
  return processed;
}

void CopyRasterIntoImage(const frame::BorderedRaster& raster, const frame::DibImage& image) {
  for (int32_t y = 0; y < image.height; ++y)
    std::memcpy(image.Row(y), raster.Pixel(y, 0), 3 * static_cast<std::size_t>(image.width));
}

}  // namespace despeckle
