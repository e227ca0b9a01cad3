// diffuseblur's neighbour choice and mean. The pass works on byte offsets
// into the raster: the four row and four column offsets a draw can give are
// formed once, and a draw picks its offset by comparing it with the draws
// where draw x 50 / 32767 crosses 10, 30 and 50, so no pixel divides.
#include "diffuseblur_filter.h"

namespace diffuseblur {
namespace {

// The smallest draws whose scaled value reaches 10, 30 and 50.
constexpr int32_t kFirstDrawOfMinusOne = 6554;  // 6554 x 50 / 32767 = 10
constexpr int32_t kFirstDrawOfPlusOne = 19661;  // 19661 x 50 / 32767 = 30
constexpr int32_t kFirstDrawOfPlusTwo = 32767;  // 32767 x 50 / 32767 = 50

constexpr int32_t kNeighbourOffsets[4] = {-2, -1, 1, 2};

// The index into kNeighbourOffsets of a draw's offset.
int32_t OffsetIndex(int32_t draw) {
  return (draw >= kFirstDrawOfMinusOne) + (draw >= kFirstDrawOfPlusOne) + (draw >= kFirstDrawOfPlusTwo);
}

// The truncated mean of each of the three colour bytes.
void StoreMean(uint8_t* target, const uint8_t* own, const uint8_t* neighbour) {
  target[0] = static_cast<uint8_t>((own[0] + neighbour[0]) >> 1);
  target[1] = static_cast<uint8_t>((own[1] + neighbour[1]) >> 1);
  target[2] = static_cast<uint8_t>((own[2] + neighbour[2]) >> 1);
}

}  // namespace

frame::RasterLayout RasterLayoutFor(const Settings& settings) {
  const frame::BorderFill fill =
      settings.seamless != 0 ? frame::BorderFill::WrapAround : frame::BorderFill::EdgeRepeat;
  frame::RasterLayout layout;
  layout.border = 2;
  layout.keepLuminance = false;
  layout.colourSides = fill;
  layout.colourRows = fill;
  return layout;
}

int32_t NeighbourOffset(int32_t draw) {
  return kNeighbourOffsets[OffsetIndex(draw)];
}

int64_t ApplyDiffusion(const frame::DibImage& image, const frame::BorderedRaster& raster,
                       frame::RandomGenerator& generator, frame::RowCadence& cadence) {
  intptr_t rowOffsets[4], columnOffsets[4];
  for (int32_t i = 0; i < 4; ++i) {
    rowOffsets[i] = kNeighbourOffsets[i] * raster.pitch;
    columnOffsets[i] = 3 * kNeighbourOffsets[i];
  }
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* target = image.Row(y);
    const uint8_t* own = raster.Pixel(y, 0);
    for (int32_t x = 0; x < image.width; ++x, target += 3, own += 3) {
      const intptr_t down = rowOffsets[OffsetIndex(generator.Draw())];
      const intptr_t across = columnOffsets[OffsetIndex(generator.Draw())];
      StoreMean(target, own, own + down + across);
    }
    cadence.AfterRow(y);
  }
  return image.width > 0 ? static_cast<int64_t>(image.width) * image.height : 0;
}

}  // namespace diffuseblur
