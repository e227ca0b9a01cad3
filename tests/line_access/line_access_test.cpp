// The frame's line-access layer against a recording host: every transfer is
// one whole row with the fixed arguments, the mask is saved, cleared and put
// back in the order the host relies on, and the pass progress values.
#include "frame/line_access.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "frame/progress.h"
#include "vfwin/vfwin_host.h"

namespace {

struct Call {
  char table;  // 'r' or 'w'
  bool colour;
  int32_t row, first, last, reserved, plane;
  bool operator==(const Call& other) const {
    return table == other.table && colour == other.colour && row == other.row && first == other.first &&
           last == other.last && reserved == other.reserved && plane == other.plane;
  }
};
std::ostream& operator<<(std::ostream& out, const Call& c) {
  return out << c.table << (c.colour ? " colour" : " plane") << " row " << c.row << " " << c.first << ".."
             << c.last << " reserved " << c.reserved << " plane " << c.plane;
}

// One storage behind both tables, 4 x 3 pixels.
constexpr int32_t kWidth = 4, kHeight = 3;
std::vector<Call> calls;
uint8_t colourStore[kHeight][3 * kWidth];
uint8_t planeStore[2][kHeight][kWidth];

int32_t ReadColour(int32_t row, int32_t first, int32_t last, void* buffer, int32_t reserved) {
  calls.push_back({'r', true, row, first, last, reserved, -1});
  std::memcpy(buffer, colourStore[row], sizeof(colourStore[row]));
  return 7;
}
int32_t WriteColour(int32_t row, int32_t first, int32_t last, void* buffer, int32_t reserved) {
  calls.push_back({'w', true, row, first, last, reserved, -1});
  std::memcpy(colourStore[row], buffer, sizeof(colourStore[row]));
  return 7;
}
int32_t ReadPlane(int32_t row, int32_t first, int32_t last, void* buffer, int32_t reserved, int32_t plane) {
  calls.push_back({'r', false, row, first, last, reserved, plane});
  std::memcpy(buffer, planeStore[plane][row], kWidth);
  return 7;
}
int32_t WritePlane(int32_t row, int32_t first, int32_t last, void* buffer, int32_t reserved, int32_t plane) {
  calls.push_back({'w', false, row, first, last, reserved, plane});
  std::memcpy(planeStore[plane][row], buffer, kWidth);
  return 7;
}

const frame::LineAccessTable kWrite = {WriteColour, WritePlane};
const frame::LineAccessTable kRead = {ReadColour, ReadPlane};
const frame::ImageSize kSize = {kWidth, kHeight};

class LineAccess : public testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t i = 0; i < 3 * kWidth; ++i) colourStore[y][i] = static_cast<uint8_t>(10 * y + i);
      for (int32_t x = 0; x < kWidth; ++x) {
        planeStore[frame::PLANE_MASK][y][x] = static_cast<uint8_t>(100 + 10 * y + x);
        planeStore[frame::PLANE_ALPHA][y][x] = static_cast<uint8_t>(200 + 10 * y + x);
      }
    }
  }
  const frame::LineAccess lines_{kSize, kWrite, kRead};
};

TEST_F(LineAccess, EveryTransferIsOneWholeRowThroughItsTable) {
  uint8_t colour[3 * kWidth], plane[kWidth];
  lines_.ReadColor(2, colour);
  lines_.WriteColor(1, colour);
  lines_.ReadPlane(0, frame::PLANE_ALPHA, plane);
  lines_.WritePlane(2, frame::PLANE_MASK, plane);
  const std::vector<Call> expected = {
      {'r', true, 2, 0, kWidth - 1, -1, -1},
      {'w', true, 1, 0, kWidth - 1, -1, -1},
      {'r', false, 0, 0, kWidth - 1, -1, frame::PLANE_ALPHA},
      {'w', false, 2, 0, kWidth - 1, -1, frame::PLANE_MASK},
  };
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(std::memcmp(colourStore[1], colourStore[2], sizeof(colourStore[1])), 0);
  EXPECT_EQ(planeStore[frame::PLANE_MASK][2][3], 203);  // alpha of row 0, column 3
  EXPECT_EQ(lines_.ColorLineBytes(), 3u * kWidth);
  EXPECT_EQ(lines_.PlaneBytes(), std::size_t{kWidth} * kHeight);
}

TEST_F(LineAccess, MaskIsSavedBeforeItIsClearedAndPutBackRowByRow) {
  uint8_t saved[kHeight * kWidth], zeros[kWidth];
  std::memset(zeros, 0x5A, sizeof(zeros));  // scratch: its content must not matter
  lines_.SaveAndClearMask(saved, zeros);
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) {
      EXPECT_EQ(saved[y * kWidth + x], 100 + 10 * y + x);
      EXPECT_EQ(planeStore[frame::PLANE_MASK][y][x], 0);
    }
  lines_.RestoreMask(saved);
  EXPECT_EQ(planeStore[frame::PLANE_MASK][2][3], 123);

  std::vector<Call> expected;
  for (char table : {'r', 'w', 'w'})
    for (int32_t row = 0; row < kHeight; ++row)
      expected.push_back({table, false, row, 0, kWidth - 1, -1, frame::PLANE_MASK});
  EXPECT_EQ(calls, expected);
}

std::vector<std::pair<WPARAM, LPARAM>> received;
LRESULT RecordingHost(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) received.emplace_back(wParam, lParam);
  return 0;
}

TEST(PassProgress, SentBeforeEveryFifthRowFromTheFirstValueOverTheSpan) {
  struct Case {
    int32_t first, span, height;
    std::vector<LPARAM> values;
  };
  const Case cases[] = {
      {0, 65, 12, {0, 27, 54}}, {70, 30, 12, {70, 82, 95}}, {80, 20, 1, {80}},
      {0, 100, 5, {0}},         {0, 100, 6, {0, 83}},
  };
  HWND host = VfCreateHostWindow(RecordingHost);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    received.clear();
    const frame::PassProgress progress(host, c.first, c.span, c.height);
    for (int32_t row = 0; row < c.height; ++row) progress.BeforeRow(row);
    std::vector<LPARAM> values;
    for (const auto& [code, value] : received) {
      EXPECT_EQ(code, WPARAM{frame::PROGRESS_PERCENT});
      values.push_back(value);
    }
    EXPECT_EQ(values, c.values);
  }
}

TEST(PassProgress, LargeHeightsDoNotOverflowTheProduct) {
  HWND host = VfCreateHostWindow(RecordingHost);
  received.clear();
  const int32_t height = 100000000;
  frame::PassProgress(host, 0, 100, height).BeforeRow(height - 5);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].second, 99);
}

TEST(LineAccessRun, OnlyPicturesWithPixelsAreWorkedOn) {
  const frame::ImageSize sizes[] = {{0, 4}, {4, 0}, {-3, 2}, {2, -1}, {INT32_MIN, INT32_MIN}};
  for (const frame::ImageSize& size : sizes)
    EXPECT_FALSE(frame::HasPixels(&size)) << size.width << "x" << size.height;
  EXPECT_FALSE(frame::HasPixels(nullptr));
  const frame::ImageSize single = {1, 1};
  EXPECT_TRUE(frame::HasPixels(&single));
}

TEST(LineAccessRun, FinishSendsTheEndAndReportsTheRun) {
  HWND host = VfCreateHostWindow(RecordingHost);
  received.clear();
  EXPECT_EQ(frame::FinishLineAccessRun(host), 1);
  EXPECT_EQ(received, (std::vector<std::pair<WPARAM, LPARAM>>{{frame::PROGRESS_END, 0}}));
}

}  // namespace
