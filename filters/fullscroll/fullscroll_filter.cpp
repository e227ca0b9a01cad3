// fullscroll's layers shifted one after the other.
#include "fullscroll_filter.h"

#include <cstring>

#include "frame/working_block.h"

namespace fullscroll {

int32_t ShiftFor(int32_t amount, int32_t size) {
  const int32_t remainder = amount % size;
  return remainder < 0 ? remainder + size : remainder;
}

uint64_t WorkingBytes(int32_t width, int32_t height) {
  const uint64_t plane = frame::CheckedProduct(static_cast<uint64_t>(width), static_cast<uint64_t>(height));
  uint64_t bytes = frame::CheckedProduct(3, plane);
  bytes = frame::CheckedSum(bytes, frame::CheckedProduct(3, static_cast<uint64_t>(width)));
  return frame::CheckedSum(bytes, plane);
}

namespace {

struct Shift {
  int32_t dx, dy;
};

// One layer shifted through the work rows: every row read (with progress)
// and placed, then every row written.
class LayerShifter {
 public:
  LayerShifter(const frame::LineAccess& lines, Shift shift, uint8_t* work, uint8_t* line)
      : lines_(lines), shift_(shift), work_(work), line_(line) {}

  void ShiftColour(const frame::PassProgress& progress) {
    const std::size_t stride = lines_.ColorLineBytes();
    for (int32_t y = 0; y < lines_.height(); ++y) {
      progress.BeforeRow(y);
      lines_.ReadColor(y, line_);
      Place(y, 3, stride);
    }
    for (int32_t y = 0; y < lines_.height(); ++y) lines_.WriteColor(y, work_ + stride * y);
  }

  void ShiftPlane(frame::PlaneIndex plane, const frame::PassProgress& progress) {
    const std::size_t stride = lines_.PlaneLineBytes();
    for (int32_t y = 0; y < lines_.height(); ++y) {
      progress.BeforeRow(y);
      lines_.ReadPlane(y, plane, line_);
      Place(y, 1, stride);
    }
    for (int32_t y = 0; y < lines_.height(); ++y) lines_.WritePlane(y, plane, work_ + stride * y);
  }

 private:
  // Pixel x of the line read from row y goes to column (x + dx) mod W of
  // work row (y + dy) mod H: the first W - dx pixels move right, the last dx
  // come back in at the left edge.
  void Place(int32_t y, std::size_t pixelBytes, std::size_t stride) {
    const std::size_t width = static_cast<std::size_t>(lines_.width());
    const std::size_t dx = static_cast<std::size_t>(shift_.dx) % width;
    uint8_t* target = work_ + stride * static_cast<std::size_t>((int64_t{y} + shift_.dy) % lines_.height());
    std::memcpy(target + pixelBytes * dx, line_, pixelBytes * (width - dx));
    std::memcpy(target, line_ + pixelBytes * (width - dx), pixelBytes * dx);
  }

  const frame::LineAccess& lines_;
  Shift shift_;
  uint8_t* work_;
  uint8_t* line_;
};

}  // namespace

void ScrollAllLayers(const frame::LineAccess& lines, const Settings& settings, uint8_t* block, HWND host) {
  const std::size_t plane = lines.PlaneBytes();
  uint8_t* work = block;
  uint8_t* line = work + 3 * plane;
  uint8_t* savedMask = line + lines.ColorLineBytes();
  const Shift shift{ShiftFor(settings.x, lines.width()), ShiftFor(settings.y, lines.height())};

  lines.SaveAndClearMask(savedMask, line);
  LayerShifter shifter(lines, shift, work, line);
  shifter.ShiftColour(frame::PassProgress(host, 0, 60, lines.height()));
  shifter.ShiftPlane(frame::PLANE_ALPHA, frame::PassProgress(host, 60, 20, lines.height()));
  // With shared storage the mask now holds the zeros written above: put the
  // saved one back so that it is read as it was.
  lines.RestoreMask(savedMask);
  shifter.ShiftPlane(frame::PLANE_MASK, frame::PassProgress(host, 80, 20, lines.height()));
}

}  // namespace fullscroll
