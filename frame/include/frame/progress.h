// Progress messages to the host window and the row cadence most kind-0
// filters report with.
#pragma once

#include <cstdint>

#include "frame/win_api.h"

namespace frame {

enum ProgressCode : int32_t {
  PROGRESS_END = 0,
  PROGRESS_BEGIN = 2,
  PROGRESS_PERCENT = 3,
  PROGRESS_PERCENT2 = 8,
};

// Sends WM_USER with the code and value; the host handles it before we go on.
void SendProgress(HWND host, ProgressCode code, int32_t value);

// After row i (from 0), when i is divisible by step = H / 20, sends
// PROGRESS_PERCENT with p and adds 5 to p; the value is not capped. Pictures
// of fewer than 20 rows report after every row (step 1), as 20 to 39 rows do.
class RowCadence {
 public:
  RowCadence(HWND host, int32_t height);
  void AfterRow(int32_t row);

 private:
  HWND host_;
  int32_t step_;
  int32_t percent_ = 0;
};

int32_t RowCadenceStep(int32_t height);

}  // namespace frame
