// Progress messages and the row cadence.
#include "frame/progress.h"

namespace frame {

void SendProgress(HWND host, ProgressCode code, int32_t value) {
  SendMessageA(host, WM_USER, static_cast<WPARAM>(code), static_cast<LPARAM>(value));
}

int32_t RowCadenceStep(int32_t height) {
  const int32_t step = height / 20;
  return step > 0 ? step : 1;
}

RowCadence::RowCadence(HWND host, int32_t height) : host_(host), step_(RowCadenceStep(height)) {}

void RowCadence::AfterRow(int32_t row) {
  if (row % step_ != 0) return;
  SendProgress(host_, PROGRESS_PERCENT, percent_);
  percent_ += 5;
}

}  // namespace frame
