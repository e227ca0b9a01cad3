// Whole-row transfers through the host's line tables (kind 10), the progress
// that the line-access plug-ins send, and the rule by which the filters that
// apply the mask themselves clear it and put it back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/line_access_types.h"
#include "frame/win_api.h"

namespace frame {

// A picture of at least one pixel. Any other size a host may hand over is an
// empty picture: nothing is allocated and no line function is called.
bool HasPixels(const ImageSize* size);

// The end of a kind-10 run: PROGRESS_END, and 1 (the filter has run). Also
// the whole run of an empty picture.
int FinishLineAccessRun(HWND host);

// The host's two tables over a picture of width x height pixels. Every
// transfer is one whole row: first 0, last width - 1, reserved -1. What the
// line functions return is not looked at.
class LineAccess {
 public:
  LineAccess(const ImageSize& size, const LineAccessTable& write, const LineAccessTable& read);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  std::size_t ColorLineBytes() const { return 3 * static_cast<std::size_t>(width_); }
  std::size_t PlaneLineBytes() const { return static_cast<std::size_t>(width_); }
  std::size_t PlaneBytes() const { return PlaneLineBytes() * static_cast<std::size_t>(height_); }

  // Colour lines: 3 bytes a pixel, blue, green, red.
  void ReadColor(int32_t row, uint8_t* line) const;
  void WriteColor(int32_t row, const uint8_t* line) const;
  // Plane lines: 1 byte a pixel.
  void ReadPlane(int32_t row, PlaneIndex plane, uint8_t* line) const;
  void WritePlane(int32_t row, PlaneIndex plane, const uint8_t* line) const;

  // Reads the mask of every row, top to bottom, into saved (PlaneBytes()),
  // then writes 0 to the mask of every row, top to bottom; zeroLine is
  // PlaneLineBytes() of scratch. A filter that decides itself how the mask
  // protects colour and alpha clears it so that the host does not apply it a
  // second time.
  void SaveAndClearMask(uint8_t* saved, uint8_t* zeroLine) const;
  // Writes the mask of every row, top to bottom, from saved.
  void RestoreMask(const uint8_t* saved) const;

  // The row of a plane-sized block (PlaneBytes()) or of a colour-sized one.
  uint8_t* PlaneRow(uint8_t* plane, int32_t row) const { return plane + PlaneLineBytes() * row; }
  const uint8_t* PlaneRow(const uint8_t* plane, int32_t row) const { return plane + PlaneLineBytes() * row; }
  uint8_t* ColorRow(uint8_t* image, int32_t row) const { return image + ColorLineBytes() * row; }

 private:
  int32_t width_;
  int32_t height_;
  const LineAccessTable& write_;
  const LineAccessTable& read_;
};

// Progress of one pass over the rows: before handling a row whose index is
// divisible by 5, PROGRESS_PERCENT with first + row x span / height.
class PassProgress {
 public:
  PassProgress(HWND host, int32_t first, int32_t span, int32_t height);
  void BeforeRow(int32_t row) const;

 private:
  HWND host_;
  int32_t first_;
  int32_t span_;
  int32_t height_;
};

}  // namespace frame
