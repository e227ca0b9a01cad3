// Progress messages: what reaches the host window, and the row cadence.
#include "frame/progress.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "vfwin/vfwin_host.h"

namespace {

std::vector<std::pair<WPARAM, LPARAM>> received;

LRESULT RecordingHost(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) received.emplace_back(wParam, lParam);
  return 0;
}

std::vector<LPARAM> CadenceValues(int32_t height) {
  received.clear();
  HWND host = VfCreateHostWindow(RecordingHost);
  frame::RowCadence cadence(host, height);
  for (int32_t row = 0; row < height; ++row) cadence.AfterRow(row);
  std::vector<LPARAM> values;
  for (const auto& [code, value] : received) {
    EXPECT_EQ(code, WPARAM{frame::PROGRESS_PERCENT});
    values.push_back(value);
  }
  return values;
}

TEST(Progress, SentAsUserMessageWithCodeAndValue) {
  received.clear();
  HWND host = VfCreateHostWindow(RecordingHost);
  frame::SendProgress(host, frame::PROGRESS_PERCENT2, 66);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], std::make_pair(WPARAM{8}, LPARAM{66}));
}

TEST(RowCadence, TwentyRowsGiveZeroToNinetyFive) {
  const std::vector<LPARAM> values = CadenceValues(20);
  ASSERT_EQ(values.size(), 20u);
  EXPECT_EQ(values.front(), 0);
  EXPECT_EQ(values.back(), 95);
}

TEST(RowCadence, HeightsNotAMultipleOfTwentyPassNinetyFive) {
  const std::vector<LPARAM> rows39 = CadenceValues(39);  // step 1
  ASSERT_EQ(rows39.size(), 39u);
  EXPECT_EQ(rows39.back(), 190);
  const std::vector<LPARAM> rows41 = CadenceValues(41);  // step 2: rows 0, 2, ..., 40
  ASSERT_EQ(rows41.size(), 21u);
  EXPECT_EQ(rows41.back(), 100);
}

TEST(RowCadence, FewerThanTwentyRowsReportEveryRow) {
  EXPECT_EQ(CadenceValues(3), (std::vector<LPARAM>{0, 5, 10}));
  EXPECT_EQ(CadenceValues(1), (std::vector<LPARAM>{0}));
  EXPECT_TRUE(CadenceValues(0).empty());
}

}  // namespace
