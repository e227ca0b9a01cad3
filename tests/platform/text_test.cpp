// Formatting with wsprintfA and reading numbers with GetDlgItemInt.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "dialog_harness.h"

namespace {

struct FormatCase {
  const char* expected;
  std::function<int(char*)> format;
};

const FormatCase kFormatCases[] = {
    {"7 -7 4294967289", [](char* out) { return wsprintfA(out, "%d %i %u", 7, -7, -7); }},
    {"[  42][42  ][0042][-042]",
     [](char* out) { return wsprintfA(out, "[%4d][%-4d][%04d][%04d]", 42, 42, 42, -42); }},
    {"ff FF 0xff 0XFF 0",
     [](char* out) { return wsprintfA(out, "%x %X %#x %#X %#x", 255, 255, 255, 255, 0); }},
    {"-2147483648 4294967295 ffffffff",
     [](char* out) { return wsprintfA(out, "%ld %lu %lx", static_cast<LONG>(INT_MIN), 0xFFFFFFFFu, -1); }},
    {"<ab   ><   ab><a>", [](char* out) { return wsprintfA(out, "<%-5s><%5s><%.1s>", "ab", "ab", "ab"); }},
    {"x=Q 100% (null)",
     [](char* out) { return wsprintfA(out, "x=%c 100%% %s", 'Q', static_cast<const char*>(nullptr)); }},
    {"007", [](char* out) { return wsprintfA(out, "%.3d", 7); }},
    // Code page 932 bytes pass through untouched.
    {"\x95\x5C:\x83\x5C", [](char* out) { return wsprintfA(out, "%s:\x83\x5C", "\x95\x5C"); }},
};

TEST(Wsprintf, FormatsTheSubsetOfConversions) {
  for (const FormatCase& entry : kFormatCases) {
    char buffer[128];
    int length = entry.format(buffer);
    EXPECT_STREQ(buffer, entry.expected);
    EXPECT_EQ(length, static_cast<int>(std::strlen(entry.expected))) << entry.expected;
  }
}

TEST(Wsprintf, WritesAtMost1024BytesWithTheNul) {
  std::string longText(3000, 'a');
  char buffer[1100];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(wsprintfA(buffer, "%s%d", longText.c_str(), 5), 1023);
  EXPECT_EQ(buffer[1022], 'a');
  EXPECT_EQ(buffer[1023], '\0');
  EXPECT_EQ(buffer[1024], '#');
}

struct NumberCase {
  const char* text;
  BOOL isSigned;
  UINT value;
  BOOL translated;
};

const NumberCase kNumberCases[] = {
    {"123", TRUE, 123, TRUE},
    {"  -45", TRUE, static_cast<UINT>(-45), TRUE},
    {"+7  ", TRUE, 7, TRUE},
    {"\t12", FALSE, 12, TRUE},
    {"2147483647", TRUE, 2147483647u, TRUE},
    {"-2147483648", TRUE, 0x80000000u, TRUE},
    {"2147483648", TRUE, 0, FALSE},
    {"4294967295", FALSE, 4294967295u, TRUE},
    {"4294967296", FALSE, 0, FALSE},
    {"99999999999999999999", TRUE, 0, FALSE},
    {"-1", FALSE, 0, FALSE},
    {"-0", FALSE, 0, TRUE},
    {"", TRUE, 0, FALSE},
    {"   ", TRUE, 0, FALSE},
    {"-", TRUE, 0, FALSE},
    {"12a", TRUE, 0, FALSE},
    {"1 2", TRUE, 0, FALSE},
    {"abc", FALSE, 0, FALSE},
    {"0x10", FALSE, 0, FALSE},
    {"1,000", TRUE, 0, FALSE},
};

TEST(GetDlgItemInt, ReadsOnlyAWholeNumberInRange) {
  HINSTANCE module =
      vfwin_test::RegisterScript("N DIALOG 0, 0, 50, 20\nBEGIN\n EDITTEXT 1001, 0, 0, 30, 12\nEND\n");
  vfwin_test::DialogRun run;
  run.opened = [](HWND dialog) {
    for (const NumberCase& entry : kNumberCases) {
      SetDlgItemTextA(dialog, 1001, entry.text);
      BOOL translated = 2;
      UINT value = GetDlgItemInt(dialog, 1001, &translated, entry.isSigned);
      EXPECT_EQ(value, entry.value) << '"' << entry.text << "\" signed " << entry.isSigned;
      EXPECT_EQ(translated, entry.translated) << '"' << entry.text << "\" signed " << entry.isSigned;
    }
    BOOL translated = TRUE;
    EXPECT_EQ(GetDlgItemInt(dialog, 4242, &translated, TRUE), 0u);
    EXPECT_FALSE(translated);
    EXPECT_EQ(GetDlgItemInt(dialog, 1001, nullptr, TRUE), 0u);  // no flag wanted
  };
  vfwin_test::RunDialog(module, "N", run);
  EXPECT_TRUE(run.openedCalled);
}

TEST(SetDlgItemInt, WritesSignedOrUnsignedDecimal) {
  HINSTANCE module =
      vfwin_test::RegisterScript("N DIALOG 0, 0, 50, 20\nBEGIN\n LTEXT \"\", 1001, 0, 0, 30, 12\nEND\n");
  vfwin_test::DialogRun run;
  run.opened = [](HWND dialog) {
    ASSERT_TRUE(SetDlgItemInt(dialog, 1001, static_cast<UINT>(-9999), TRUE));
    EXPECT_EQ(vfwin_test::WindowText(GetDlgItem(dialog, 1001)), "-9999");
    ASSERT_TRUE(SetDlgItemInt(dialog, 1001, static_cast<UINT>(-1), FALSE));
    EXPECT_EQ(vfwin_test::WindowText(GetDlgItem(dialog, 1001)), "4294967295");
    EXPECT_FALSE(SetDlgItemInt(dialog, 4242, 1, FALSE));
  };
  vfwin_test::RunDialog(module, "N", run);
}

}  // namespace
