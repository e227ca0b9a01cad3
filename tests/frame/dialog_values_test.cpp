// Numbers of the dialog conventions: scroll steps, clamping, DIB stride.
#include <gtest/gtest.h>

#include "frame/dialog.h"
#include "frame/host_interface.h"

namespace {

TEST(ScrolledValue, StepsStopAtTheLimits) {
  struct Case {
    int32_t value;
    WPARAM wParam;
    int32_t expected;
  };
  // Range 1 .. 255, page 10.
  const Case cases[] = {
      {5, SB_LINELEFT, 4},
      {1, SB_LINELEFT, 1},
      {254, SB_LINERIGHT, 255},
      {255, SB_LINERIGHT, 255},
      {50, SB_PAGELEFT, 40},
      {10, SB_PAGELEFT, 1},
      {11, SB_PAGELEFT, 1},
      {12, SB_PAGELEFT, 2},
      {245, SB_PAGERIGHT, 255},
      {244, SB_PAGERIGHT, 254},
      {7, MAKEWPARAM(SB_THUMBTRACK, 200), 200},
      {7, MAKEWPARAM(SB_THUMBPOSITION, 3), 3},
      {7, SB_ENDSCROLL, 7},
      {7, SB_LEFT, 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(frame::ScrolledValue(c.value, c.wParam, 1, 255, 10), c.expected)
        << "value " << c.value << " code " << LOWORD(c.wParam);
  }
}

TEST(ScrolledValue, ThumbPositionIsSignedForNegativeRanges) {
  EXPECT_EQ(frame::ScrolledValue(0, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(-30)), -100, 100, 10), -30);
}

TEST(DibStride, RowsPadToFourBytes) {
  EXPECT_EQ(frame::DibStride(1, 24), 4);
  EXPECT_EQ(frame::DibStride(4, 24), 12);
  EXPECT_EQ(frame::DibStride(5, 24), 16);
  EXPECT_EQ(frame::DibStride(0, 24), 0);
}

TEST(ClampNumber, KeepsValuesInRange) {
  EXPECT_EQ(frame::ClampNumber(-5, 0, 255), 0);
  EXPECT_EQ(frame::ClampNumber(300, 0, 255), 255);
  EXPECT_EQ(frame::ClampNumber(17, 0, 255), 17);
}

}  // namespace

namespace {

TEST(ParseNumberText, ReadsAsTheNumberBoxesDo) {
  struct Case {
    const char* text;
    bool isNumber;
    int32_t value;
  };
  const Case cases[] = {
      {"12", true, 12},
      {" -7 ", true, -7},
      {"+5", true, 5},
      {"1,000", true, 1000},
      {"-32,000", true, -32000},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},
      {"abc", false, 0},
      {"", false, 0},
      {"12a", false, 0},
      {",5", false, 0},
      {"5,", false, 0},
      {"- 5", false, 0},
  };
  for (const Case& c : cases) {
    int32_t value = 0;
    EXPECT_EQ(frame::ParseNumberText(c.text, value), c.isNumber) << '"' << c.text << '"';
    if (c.isNumber) EXPECT_EQ(value, c.value) << '"' << c.text << '"';
  }
}

}  // namespace
