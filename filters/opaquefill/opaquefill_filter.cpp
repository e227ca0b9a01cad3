// opaquefill's rows: colour and alpha flattened onto the backdrop.
#include "opaquefill_filter.h"

#include "frame/working_block.h"

namespace opaquefill {

namespace {
const uint8_t kWhite[3] = {255, 255, 255};
}  // namespace

Backdrop Backdrop::From(const Settings& settings) {
  const uint32_t word = settings.background;
  Backdrop backdrop;
  backdrop.colour[0] = static_cast<uint8_t>(word >> 16);  // blue
  backdrop.colour[1] = static_cast<uint8_t>(word >> 8);   // green
  backdrop.colour[2] = static_cast<uint8_t>(word);        // red
  backdrop.checkerboard = settings.checkerboard != 0;
  return backdrop;
}

const uint8_t* Backdrop::At(int32_t x, int32_t y) const {
  return checkerboard && (x & 8) == (y & 8) ? kWhite : colour;
}

void FlattenPixel(uint8_t* colour, uint8_t* opacity, uint8_t mask, const uint8_t* background) {
  const int32_t a = *opacity;
  for (int channel = 0; channel < 3; ++channel)
    colour[channel] = static_cast<uint8_t>((a * colour[channel] + (255 - a) * background[channel]) / 255);
  *opacity = static_cast<uint8_t>(255 - ((255 - a) * mask) / 255);
}

uint64_t WorkingBytes(int32_t width) {
  return frame::CheckedProduct(5, static_cast<uint64_t>(width));
}

void FlattenRows(const frame::LineAccess& lines, const Backdrop& backdrop, uint8_t* block, HWND host) {
  uint8_t* colourLine = block;
  uint8_t* alphaLine = colourLine + lines.ColorLineBytes();
  uint8_t* maskLine = alphaLine + lines.PlaneLineBytes();
  const frame::PassProgress progress(host, 0, 100, lines.height());
  for (int32_t y = 0; y < lines.height(); ++y) {
    progress.BeforeRow(y);
    lines.ReadColor(y, colourLine);
    lines.ReadPlane(y, frame::PLANE_ALPHA, alphaLine);
    lines.ReadPlane(y, frame::PLANE_MASK, maskLine);
    for (int32_t x = 0; x < lines.width(); ++x)
      FlattenPixel(colourLine + 3 * x, alphaLine + x, maskLine[x], backdrop.At(x, y));
    lines.WriteColor(y, colourLine);
    lines.WritePlane(y, frame::PLANE_ALPHA, alphaLine);
  }
}

}  // namespace opaquefill
