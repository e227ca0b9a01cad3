// edgeblur's raster and its boundary test and oriented kernels, one pixel
// at a time.
#include <cstring>

#include "edgeblur_filter.h"
#include "edgeblur_kernels.h"

namespace edgeblur {
namespace {

// The 3 x 3 luminance neighbourhood, n[dy + 1][dx + 1].
using Neighbourhood = int32_t[3][3];

void MirrorColumns(Neighbourhood& n) {  // n(dy, dx) := n(dy, -dx)
  for (auto& row : n) {
    const int32_t left = row[0];
    row[0] = row[2];
    row[2] = left;
  }
}

void MirrorRows(Neighbourhood& n) {  // n(dy, dx) := n(-dy, dx)
  for (int32_t dx = 0; dx < 3; ++dx) {
    const int32_t lower = n[0][dx];
    n[0][dx] = n[2][dx];
    n[2][dx] = lower;
  }
}

void TransposeAntiDiagonal(Neighbourhood& n) {  // n(dy, dx) := n(-dx, -dy)
  Neighbourhood copy;
  std::memcpy(copy, n, sizeof(copy));
  for (int32_t dy = -1; dy <= 1; ++dy)
    for (int32_t dx = -1; dx <= 1; ++dx) n[dy + 1][dx + 1] = copy[-dx + 1][-dy + 1];
}

struct Orientation {
  bool mirrorX = false;
  bool mirrorY = false;
  bool transpose = false;
};

const Kernel* ChooseKernel(const Neighbourhood& n, int32_t threshold) {
  const int32_t c = n[1][1];
  if (c - n[1][2] < threshold) return nullptr;  // the right side is not darker
  const bool lowerDarker = c - n[0][1] >= threshold;
  const bool upperRightDarker = c - n[2][2] >= threshold;
  if (lowerDarker && upperRightDarker) return &kKernel1;
  if (lowerDarker) return &kKernel2;
  if (c - n[0][2] >= threshold && upperRightDarker) return &kKernel3;
  return nullptr;
}

}  // namespace

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  const frame::BorderFill fill =
      settings.seamless != 0 ? frame::BorderFill::WrapAround : frame::BorderFill::EdgeRepeat;
  frame::RasterLayout layout;
  layout.border = 2;
  layout.keepLuminance = true;
  layout.luminanceInitial = 255;
  layout.colourSides = fill;
  layout.colourRows = fill;
  layout.luminanceBorder = fill;
  return layout;
}

bool BlurredPixel(const frame::BorderedRaster& raster, int32_t y, int32_t x, uint8_t threshold,
                  uint8_t* colour) {
  const uint8_t* centre = raster.Lum(y, x);
  const intptr_t up = raster.luminancePitch;
  Neighbourhood n;
  for (int32_t dy = -1; dy <= 1; ++dy)
    for (int32_t dx = -1; dx <= 1; ++dx) n[dy + 1][dx + 1] = centre[dy * up + dx];

  const uint32_t left = uint32_t{centre[-1]} + centre[-2];
  const uint32_t right = uint32_t{centre[1]} + centre[2];
  const uint32_t lower = uint32_t{centre[-up]} + centre[-2 * up];
  const uint32_t upper = uint32_t{centre[up]} + centre[2 * up];
  Orientation turned;
  turned.mirrorX = left < right;
  if (turned.mirrorX) MirrorColumns(n);
  turned.mirrorY = upper < lower;
  if (turned.mirrorY) MirrorRows(n);
  turned.transpose = n[0][0] < n[2][2];
  if (turned.transpose) TransposeAntiDiagonal(n);

  const Kernel* kernel = ChooseKernel(n, threshold);
  if (kernel == nullptr) return false;

  // Each canonical place (cy, cx) of the kernel, brought back into the
  // pixel's orientation by undoing the reflections in reverse order.
  const int32_t sx = turned.mirrorX ? -1 : 1;
  const int32_t sy = turned.mirrorY ? -1 : 1;
  uint32_t sums[3] = {0, 0, 0};
  for (int32_t cy = -2; cy <= 2; ++cy) {
    for (int32_t cx = -2; cx <= 2; ++cx) {
      const uint32_t weight = kernel->weight[cy + 2][cx + 2];
      if (weight == 0) continue;
      const int32_t dy = turned.transpose ? -cx * sy : cy * sy;
      const int32_t dx = turned.transpose ? -cy * sx : cx * sx;
      const uint8_t* pixel = raster.Pixel(y + dy, x + dx);
      for (int32_t i = 0; i < 3; ++i) sums[i] += weight * pixel[i];
    }
  }
  for (int32_t i = 0; i < 3; ++i) colour[i] = static_cast<uint8_t>(sums[i] / kernel->sum);
  return true;
}

}  // namespace edgeblur
