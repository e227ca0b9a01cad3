// ditherbw's progress cadence and the placing of a value between a
// channel's two levels.
#include "ditherbw_filter.h"
#include "frame/progress.h"

namespace ditherbw {

TenthCadence::TenthCadence(HWND host, int32_t height)
    : host_(host), step_(height / 10 > 0 ? height / 10 : 1) {}

void TenthCadence::AfterRow(int32_t row) {
  if (row % step_ != 0) return;
  frame::SendProgress(host_, frame::PROGRESS_PERCENT, percent_);
  percent_ += 5;
}

ChannelLevels::ChannelLevels(uint8_t darkest, uint8_t lightest)
    : darkest_(darkest), lightest_(lightest), step_(darkest == lightest ? 1 : (lightest - darkest) / 17) {}

int32_t ChannelLevels::Steps(uint8_t value) const {
  const int32_t above = value - darkest_;
  if (step_ > 0) return above / step_;
  // A range of 1 to 16 is too narrow for whole steps: spread it over the
  // same 0 .. 17 as a usual range, so that its lightest value stays lightest.
  return above * 17 / (lightest_ - darkest_);
}

}  // namespace ditherbw
