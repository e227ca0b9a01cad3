// The line-access wrappers: whole-row transfers, pass progress, mask rule.
#include "frame/line_access.h"

#include <cstring>

#include "frame/progress.h"

namespace frame {

namespace {
constexpr int32_t kReserved = -1;
constexpr int32_t kFirstColumn = 0;
}  // namespace

bool HasPixels(const ImageSize* size) {
  return size != nullptr && size->width > 0 && size->height > 0;
}

int FinishLineAccessRun(HWND host) {
  SendProgress(host, PROGRESS_END, 0);
  return 1;
}

LineAccess::LineAccess(const ImageSize& size, const LineAccessTable& write, const LineAccessTable& read)
    : width_(size.width), height_(size.height), write_(write), read_(read) {}

// The write functions take the buffer as a plain address; they only read it.
void LineAccess::ReadColor(int32_t row, uint8_t* line) const {
  read_.ColorLine(row, kFirstColumn, width_ - 1, line, kReserved);
}

void LineAccess::WriteColor(int32_t row, const uint8_t* line) const {
  write_.ColorLine(row, kFirstColumn, width_ - 1, const_cast<uint8_t*>(line), kReserved);
}

void LineAccess::ReadPlane(int32_t row, PlaneIndex plane, uint8_t* line) const {
  read_.PlaneLine(row, kFirstColumn, width_ - 1, line, kReserved, plane);
}

void LineAccess::WritePlane(int32_t row, PlaneIndex plane, const uint8_t* line) const {
  write_.PlaneLine(row, kFirstColumn, width_ - 1, const_cast<uint8_t*>(line), kReserved, plane);
}

void LineAccess::SaveAndClearMask(uint8_t* saved, uint8_t* zeroLine) const {
  for (int32_t row = 0; row < height_; ++row) ReadPlane(row, PLANE_MASK, PlaneRow(saved, row));
  std::memset(zeroLine, 0, PlaneLineBytes());
  for (int32_t row = 0; row < height_; ++row) WritePlane(row, PLANE_MASK, zeroLine);
}

void LineAccess::RestoreMask(const uint8_t* saved) const {
  for (int32_t row = 0; row < height_; ++row) WritePlane(row, PLANE_MASK, PlaneRow(saved, row));
}

PassProgress::PassProgress(HWND host, int32_t first, int32_t span, int32_t height)
    : host_(host), first_(first), span_(span), height_(height) {}

void PassProgress::BeforeRow(int32_t row) const {
  if (row % 5 != 0) return;
  // row x span stays far inside 64 bits for any height a host can hand over.
  const int64_t value = first_ + static_cast<int64_t>(row) * span_ / height_;
  SendProgress(host_, PROGRESS_PERCENT, static_cast<int32_t>(value));
}

}  // namespace frame
