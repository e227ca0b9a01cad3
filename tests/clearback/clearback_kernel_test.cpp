// clearback's passes against a recording host, where the ESC key can be
// pressed once (the key query reports a press only to the first query after
// it): rows that pass 1 never read are never written. And the distance table.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "clearback_filter.h"
#include "frame/working_block.h"
#include "vfwin/vfwin_host.h"

namespace {

constexpr int32_t kWidth = 3, kHeight = 5;
uint8_t colourStore[kHeight][3 * kWidth];
uint8_t planeStore[2][kHeight][kWidth];
std::vector<int32_t> colourRowsWritten;

int32_t ReadColour(int32_t row, int32_t, int32_t, void* buffer, int32_t) {
  std::memcpy(buffer, colourStore[row], sizeof(colourStore[row]));
  return 0;
}
int32_t WriteColour(int32_t row, int32_t, int32_t, void* buffer, int32_t) {
  colourRowsWritten.push_back(row);
  std::memcpy(colourStore[row], buffer, sizeof(colourStore[row]));
  return 0;
}
int32_t ReadPlane(int32_t row, int32_t, int32_t, void* buffer, int32_t, int32_t plane) {
  std::memcpy(buffer, planeStore[plane][row], kWidth);
  return 0;
}
int32_t WritePlane(int32_t row, int32_t, int32_t, void* buffer, int32_t, int32_t plane) {
  std::memcpy(planeStore[plane][row], buffer, kWidth);
  return 0;
}

long polls = 0;
long pressedAtPoll = 0;
SHORT EscapeOnce(void*) {
  return ++polls == pressedAtPoll ? 1 : 0;
}
LRESULT IgnoringHost(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

TEST(ClearBackPasses, SingleEscInPassOneLeavesTheUnreadRowsAlone) {
  std::memset(colourStore, 255, sizeof(colourStore));
  std::memset(planeStore[frame::PLANE_ALPHA], 255, sizeof(planeStore[0]));
  std::memset(planeStore[frame::PLANE_MASK], 0, sizeof(planeStore[0]));
  planeStore[frame::PLANE_MASK][4][1] = 200;
  colourRowsWritten.clear();
  polls = 0;
  pressedAtPoll = 2;  // after row 1 of pass 1; the later polls see no key
  VfHostHooks hooks = {};
  hooks.escape_state = EscapeOnce;
  VfSetHostHooks(&hooks);

  const frame::LineAccessTable write = {WriteColour, WritePlane}, read = {ReadColour, ReadPlane};
  const frame::ImageSize size = {kWidth, kHeight};
  const frame::LineAccess lines(size, write, read);
  const int32_t reach = 3;
  frame::HeapBlock block;
  ASSERT_TRUE(block.Allocate(clearback::Workspace::BytesFor(kWidth, kHeight, reach)));
  std::memset(block.data(), 0x77, kHeight * 3 * kWidth);  // what an unread colour row would hold
  clearback::Workspace work(block.data(), kWidth, kHeight, reach);
  clearback::ClearBackground(lines, work, clearback::kUpperLeft, VfCreateHostWindow(IgnoringHost));
  VfSetHostHooks(nullptr);

  EXPECT_EQ(polls, 2 + kHeight + 2);  // pass 1 cut short, passes 2 and 3 over what was read
  EXPECT_EQ(colourRowsWritten, (std::vector<int32_t>{0, 1}));
  for (int32_t y = 0; y < kHeight; ++y) {
    const uint8_t expected = y < 2 ? 0 : 255;
    for (int32_t x = 0; x < kWidth; ++x)
      EXPECT_EQ(planeStore[frame::PLANE_ALPHA][y][x], expected) << x << "," << y;
    for (int32_t i = 0; i < 3 * kWidth; ++i) EXPECT_EQ(colourStore[y][i], 255);
  }
  EXPECT_EQ(planeStore[frame::PLANE_MASK][4][1], 200);
}

TEST(ClearBackPasses, DistanceTableRisesFromTheCentreToTheReach) {
  struct Cell {
    int32_t i, j;
    uint8_t value;
  };
  const int32_t reach = 2;
  std::vector<uint8_t> table((2 * reach + 1) * (2 * reach + 1));
  clearback::BuildDistanceTable(reach, table.data());
  const Cell cells[] = {{0, 0, 0},   {1, 0, 127},  {0, -1, 127}, {1, 1, 180},  {-1, 1, 180},
                        {2, 0, 255}, {0, -2, 255}, {2, 1, 255},  {-2, -2, 255}};
  for (const Cell& cell : cells)
    EXPECT_EQ(table[(cell.j + reach) * (2 * reach + 1) + cell.i + reach], cell.value)
        << cell.i << "," << cell.j;

  std::vector<uint8_t> wide(63 * 63);
  clearback::BuildDistanceTable(31, wide.data());
  EXPECT_EQ(wide[31 * 63 + 31], 0);
  EXPECT_EQ(wide[31 * 63 + 31 + 30], 246);  // 255 x 30 / 31
  EXPECT_EQ(wide[0], 255);
}

}  // namespace
