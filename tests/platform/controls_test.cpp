// The controls of a dialog driven as the host drives them: buttons and radio
// groups, edit notifications, up-down controls and their buddies, scroll bar
// clamping, combo box lists, and painting.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace {

using vfwin_test::DialogRun;
using vfwin_test::LoggedMessage;
using vfwin_test::RegisterScript;
using vfwin_test::RunDialog;
using vfwin_test::WindowText;

const char kScript[] =
    "CONTROLS DIALOG 0, 0, 200, 120\n"
    "CAPTION \"Controls\"\n"
    "BEGIN\n"
    "  AUTORADIOBUTTON \"A\", 1011, 5, 5, 50, 10, WS_GROUP\n"
    "  AUTORADIOBUTTON \"B\", 1012, 5, 17, 50, 10\n"
    "  RADIOBUTTON     \"Plain\", 1013, 5, 29, 50, 10\n"
    "  AUTORADIOBUTTON \"C\", 1014, 5, 41, 50, 10\n"
    "  AUTORADIOBUTTON \"Other group\", 1015, 60, 5, 50, 10, WS_GROUP\n"
    "  AUTOCHECKBOX    \"Check\", 1016, 60, 17, 50, 10\n"
    "  CHECKBOX        \"Manual\", 1017, 60, 29, 50, 10\n"
    "  PUSHBUTTON      \"Push\", 1018, 60, 41, 50, 14\n"
    "  EDITTEXT        1001, 120, 5, 34, 12, ES_RIGHT\n"
    "  LTEXT           \"\", 1002, 120, 20, 34, 10, SS_SUNKEN\n"
    "  EDITTEXT        1003, 120, 35, 34, 30, ES_MULTILINE\n"
    "  SCROLLBAR       1009, 5, 60, 100, 9\n"
    "  COMBOBOX        1020, 5, 75, 70, 90, CBS_DROPDOWNLIST | WS_VSCROLL\n"
    "  LTEXT           \"\", 1005, 120, 80, 32, 11, SS_BLACKFRAME\n"
    "  DEFPUSHBUTTON   \"OK\", IDOK, 150, 100, 40, 14\n"
    "END\n";

HINSTANCE Module() {
  static HINSTANCE module = RegisterScript(kScript);
  return module;
}

std::vector<std::pair<int, int>> CommandsOf(const DialogRun& run, size_t from) {
  std::vector<std::pair<int, int>> commands;
  for (size_t i = from; i < run.log.size(); ++i) {
    if (run.log[i].message == WM_COMMAND)
      commands.emplace_back(LOWORD(run.log[i].wParam), HIWORD(run.log[i].wParam));
  }
  return commands;
}

using Commands = std::vector<std::pair<int, int>>;

TEST(Buttons, ClickActsAsTheButtonsStyleMakesIt) {
  DialogRun run;
  run.opened = [&](HWND dialog) {
    CheckDlgButton(dialog, 1011, BST_CHECKED);
    CheckDlgButton(dialog, 1014, BST_CHECKED);
    CheckDlgButton(dialog, 1013, BST_CHECKED);
    CheckDlgButton(dialog, 1015, BST_CHECKED);
    size_t before = run.log.size();

    HWND b = GetDlgItem(dialog, 1012);
    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1012), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1011), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1014), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1013), BST_CHECKED) << "a plain radio button is not an auto button";
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1015), BST_CHECKED) << "the next group is left alone";
    ASSERT_FALSE(run.Commands().empty());
    EXPECT_EQ(run.Commands().back().lParam, reinterpret_cast<LPARAM>(b));

    SendDlgItemMessageA(dialog, 1013, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1012), BST_CHECKED) << "a plain radio button only reports the click";
    SendDlgItemMessageA(dialog, 1016, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1016), BST_CHECKED);
    SendDlgItemMessageA(dialog, 1016, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1016), BST_UNCHECKED);
    SendDlgItemMessageA(dialog, 1017, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1017), BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, 1018), FALSE);
    SendDlgItemMessageA(dialog, 1018, BM_CLICK, 0, 0);

    EXPECT_EQ(CommandsOf(run, before), (Commands{{1012, BN_CLICKED},
                                                 {1013, BN_CLICKED},
                                                 {1016, BN_CLICKED},
                                                 {1016, BN_CLICKED},
                                                 {1017, BN_CLICKED}}))
        << "a disabled button takes no click";
  };
  RunDialog(Module(), "CONTROLS", run);
}

TEST(Buttons, CheckStatesStayWithinWhatTheButtonHolds) {
  DialogRun run;
  run.opened = [](HWND dialog) {
    EXPECT_EQ(EnableWindow(GetDlgItem(dialog, 1018), FALSE), FALSE) << "was enabled";
    EXPECT_EQ(EnableWindow(GetDlgItem(dialog, 1018), TRUE), TRUE) << "was disabled";
    CheckDlgButton(dialog, 1016, 2);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 1016, BM_GETCHECK, 0, 0), BST_CHECKED);
    CheckDlgButton(dialog, 1018, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1018), BST_UNCHECKED) << "a push button holds no check";
    EXPECT_EQ(IsDlgButtonChecked(dialog, 4242), 0u);

    CheckRadioButton(dialog, 1011, 1014, 1014);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1011), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1012), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1014), BST_CHECKED);
    CheckDlgButton(dialog, 1015, BST_CHECKED);
    CheckRadioButton(dialog, 1011, 1014, 1012);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1012), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1014), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1015), BST_CHECKED) << "outside the range";
  };
  RunDialog(Module(), "CONTROLS", run);
}

TEST(Edit, SettingTheTextNotifiesUpdateThenChange) {
  DialogRun run;
  run.opened = [&](HWND dialog) {
    size_t before = run.log.size();
    SetDlgItemTextA(dialog, 1001, "12");
    SetDlgItemInt(dialog, 1001, 13, FALSE);
    SendDlgItemMessageA(dialog, 1001, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("14"));
    SetDlgItemTextA(dialog, 1002, "static");
    SetDlgItemTextA(dialog, 1003, "multi-line");
    EXPECT_EQ(CommandsOf(run, before), (Commands{{1001, EN_UPDATE},
                                                 {1001, EN_CHANGE},
                                                 {1001, EN_UPDATE},
                                                 {1001, EN_CHANGE},
                                                 {1001, EN_UPDATE},
                                                 {1001, EN_CHANGE}}));
    EXPECT_EQ(run.Commands().back().lParam, reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1001)));

    char text[3];
    EXPECT_EQ(GetDlgItemTextA(dialog, 1003, text, sizeof text), 2u);
    EXPECT_STREQ(text, "mu");
    SetDlgItemTextA(dialog, 1002, "\x95\x5C\x95\x5C");
    EXPECT_EQ(GetDlgItemTextA(dialog, 1002, text, 2), 0u) << "a character is not cut in half";
    char longer[4];
    EXPECT_EQ(GetDlgItemTextA(dialog, 1002, longer, sizeof longer), 2u);
    EXPECT_STREQ(longer, "\x95\x5C");
    EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(dialog, 1002)), 4);
  };
  RunDialog(Module(), "CONTROLS", run);
}

const DWORD kUpDownStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS;

TEST(UpDown, WritesItsPositionIntoTheBuddyAndReadsItBack) {
  DialogRun run;
  HWND upDown = nullptr;
  run.procedure = [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message != WM_INITDIALOG) return FALSE;
    InitCommonControls();
    upDown = CreateUpDownControl(kUpDownStyle, 100, 2, 8, 12, dialog, 1010, Module(),
                                 GetDlgItem(dialog, 1001), 255, 0, 300);
    return TRUE;
  };
  run.opened = [&](HWND dialog) {
    HWND edit = GetDlgItem(dialog, 1001);
    ASSERT_NE(upDown, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, 1010), upDown);
    EXPECT_EQ(GetWindow(upDown, GW_HWNDLAST), upDown) << "created after the template's controls";
    char className[32];
    GetClassNameA(upDown, className, sizeof className);
    EXPECT_STREQ(className, "msctls_updown32");
    EXPECT_EQ(WindowText(edit), "255") << "the position is kept within the range";
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(upDown, UDM_GETBUDDY, 0, 0)), edit);
    int minimum = -1, maximum = -1;
    SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum),
                 reinterpret_cast<LPARAM>(&maximum));
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, 255);
    EXPECT_EQ(static_cast<DWORD>(SendMessageA(upDown, UDM_GETRANGE, 0, 0)),
              static_cast<DWORD>(MAKELONG(255, 0)));

    struct BuddyCase {
      const char* text;
      int position;
      BOOL error;
    };
    const BuddyCase cases[] = {{"17", 17, FALSE}, {" 200 ", 200, FALSE}, {"abc", 200, TRUE},
                               {"-5", 200, TRUE}, {"999", 200, TRUE},    {"", 200, TRUE}};
    for (const BuddyCase& entry : cases) {
      SetWindowTextA(edit, entry.text);
      BOOL error = 2;
      EXPECT_EQ(SendMessageA(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), entry.position)
          << entry.text;
      EXPECT_EQ(error, entry.error) << entry.text;
    }
    SetWindowTextA(edit, "abc");
    EXPECT_EQ(HIWORD(SendMessageA(upDown, UDM_GETPOS, 0, 0)), 1)
        << "the 16-bit form flags the error in its high word";

    size_t before = run.log.size();
    EXPECT_EQ(SendMessageA(upDown, UDM_SETPOS32, 0, 40), 200);
    EXPECT_EQ(WindowText(edit), "40");
    EXPECT_EQ(CommandsOf(run, before), (Commands{{1001, EN_UPDATE}, {1001, EN_CHANGE}}));
    SendMessageA(upDown, UDM_SETPOS, 0, MAKELPARAM(-3, 0));
    EXPECT_EQ(WindowText(edit), "0");
  };
  RunDialog(Module(), "CONTROLS", run);
  EXPECT_GT(VfCommonControlsInitialisations(), 0);
}

TEST(UpDown, TakesItsPlaceAtTheBuddysRightEdge) {
  DialogRun run;
  run.opened = [](HWND dialog) {
    HWND edit = GetDlgItem(dialog, 1001);
    RECT before;
    GetClientRect(edit, &before);
    HWND upDown =
        CreateUpDownControl(kUpDownStyle, 100, 2, 8, 12, dialog, 1010, Module(), edit, 9999, -9999, -9999);
    EXPECT_EQ(WindowText(edit), "-9999");
    RECT buddy, own;
    GetClientRect(edit, &buddy);
    GetClientRect(upDown, &own);
    EXPECT_EQ(own.right, 8);
    EXPECT_EQ(own.bottom, before.bottom) << "as high as the buddy";
    EXPECT_EQ(buddy.right, before.right - 8) << "the buddy gives up the width";
  };
  RunDialog(Module(), "CONTROLS", run);
}

TEST(UpDown, ArrowPressesMoveWithinTheRangeAndTellTheParent) {
  DialogRun run;
  run.opened = [&](HWND dialog) {
    HWND edit = GetDlgItem(dialog, 1001);
    HWND upDown = CreateUpDownControl(kUpDownStyle, 100, 2, 8, 12, dialog, 1010, Module(), edit, 255, 0, 253);
    SetWindowTextA(edit, "250");  // typed by the user: the press starts from it
    size_t before = run.log.size();
    EXPECT_EQ(VfPressUpDown(upDown, 3), 253);
    EXPECT_EQ(VfPressUpDown(upDown, 5), 255) << "stops at the maximum";
    EXPECT_EQ(WindowText(edit), "255");
    EXPECT_EQ(VfPressUpDown(upDown, -2), 253);
    int scrolls = 0;
    for (size_t i = before; i < run.log.size(); ++i) {
      const LoggedMessage& entry = run.log[i];
      if (entry.message != WM_VSCROLL || LOWORD(entry.wParam) != SB_THUMBPOSITION) continue;
      EXPECT_EQ(entry.lParam, reinterpret_cast<LPARAM>(upDown));
      ++scrolls;
    }
    EXPECT_EQ(scrolls, 10);

    HWND wrapping =
        CreateUpDownControl(kUpDownStyle | UDS_WRAP, 100, 2, 8, 12, dialog, 1011, Module(), edit, 3, 1, 3);
    EXPECT_EQ(VfPressUpDown(wrapping, 1), 1);
    EXPECT_EQ(VfPressUpDown(wrapping, -1), 3);
  };
  RunDialog(Module(), "CONTROLS", run);
}

struct ScrollCase {
  UINT mask;
  int minimum, maximum;
  UINT page;
  int position;
  int expectedPosition;
  UINT expectedPage;
  int expectedMinimum, expectedMaximum;
};

// Each row starts from a bar at range 1 .. 255, no page, position 10.
const ScrollCase kScrollCases[] = {
    {SIF_POS, 0, 0, 0, 300, 255, 0, 1, 255},
    {SIF_POS, 0, 0, 0, 0, 1, 0, 1, 255},
    {SIF_RANGE | SIF_POS, 2, 250, 0, 100, 100, 0, 2, 250},
    {SIF_RANGE, 20, 30, 0, 0, 20, 0, 20, 30},
    {SIF_PAGE | SIF_POS, 0, 0, 10, 255, 246, 10, 1, 255},
    {SIF_RANGE | SIF_PAGE, 0, 9, 50, 0, 0, 10, 0, 9},
    {SIF_RANGE | SIF_POS, 50, 10, 0, 30, 0, 0, 0, 0},
    {SIF_PAGE, 0, 0, 5, 0, 10, 5, 1, 255},
};

TEST(ScrollBar, PositionIsKeptWithinRangeAndPage) {
  DialogRun run;
  run.opened = [](HWND dialog) {
    HWND bar = GetDlgItem(dialog, 1009);
    for (const ScrollCase& entry : kScrollCases) {
      SCOPED_TRACE("mask " + std::to_string(entry.mask) + " position " + std::to_string(entry.position));
      SCROLLINFO start{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 1, 255, 0, 10, 0};
      ASSERT_EQ(SetScrollInfo(bar, SB_CTL, &start, TRUE), 10);
      SCROLLINFO info{28, entry.mask, entry.minimum, entry.maximum, entry.page, entry.position, 0};
      EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, TRUE), entry.expectedPosition);
      SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, -1, -1, 99, -1, -1};
      EXPECT_TRUE(GetScrollInfo(bar, SB_CTL, &read));
      EXPECT_EQ(read.nPos, entry.expectedPosition);
      EXPECT_EQ(read.nPage, entry.expectedPage);
      EXPECT_EQ(read.nMin, entry.expectedMinimum);
      EXPECT_EQ(read.nMax, entry.expectedMaximum);
      EXPECT_EQ(GetScrollPos(bar, SB_CTL), entry.expectedPosition);
    }
    SCROLLINFO reset{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 0, 50, 0};
    SetScrollInfo(bar, SB_CTL, &reset, TRUE);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 500, TRUE), 50) << "gives the previous position";
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 100);
    EXPECT_TRUE(SetScrollRange(bar, SB_CTL, 0, 20, TRUE));
    EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 20);

    SCROLLINFO wrongSize{12, SIF_POS, 0, 0, 0, 5, 0};
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &wrongSize, TRUE), 0);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 20) << "a record of the wrong size is refused";
    EXPECT_EQ(SetScrollInfo(GetDlgItem(dialog, 1001), SB_CTL, &reset, TRUE), 0) << "not a scroll bar";
  };
  RunDialog(Module(), "CONTROLS", run);
}

TEST(ComboBox, KeepsItsListAndSelection) {
  DialogRun run;
  run.opened = [](HWND dialog) {
    auto send = [dialog](UINT message, WPARAM wParam, const char* text = nullptr) {
      return SendDlgItemMessageA(dialog, 1020, message, wParam, reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(send(CB_GETCURSEL, 0), CB_ERR);
    EXPECT_EQ(send(CB_ADDSTRING, 0, "zero"), 0);
    EXPECT_EQ(send(CB_ADDSTRING, 0, "two"), 1);
    EXPECT_EQ(send(CB_INSERTSTRING, 1, "\x83\x5C one"), 1);
    EXPECT_EQ(send(CB_INSERTSTRING, static_cast<WPARAM>(-1), "three"), 3);
    EXPECT_EQ(send(CB_INSERTSTRING, 9, "far"), CB_ERR);
    EXPECT_EQ(send(CB_GETCOUNT, 0), 4);
    EXPECT_EQ(send(CB_SETCURSEL, 2), 2);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 1020)), "two") << "a drop-down list shows its selection";
    char item[16];
    EXPECT_EQ(send(CB_GETLBTEXT, 1, item), 6);
    EXPECT_STREQ(item, "\x83\x5C one");
    EXPECT_EQ(send(CB_GETLBTEXTLEN, 3), 5);
    EXPECT_EQ(send(CB_GETLBTEXTLEN, 4), CB_ERR);
    EXPECT_EQ(send(CB_DELETESTRING, 0), 3);
    EXPECT_EQ(send(CB_GETCURSEL, 0), 1) << "the selection follows its item";
    EXPECT_EQ(send(CB_DELETESTRING, 1), 2);
    EXPECT_EQ(send(CB_GETCURSEL, 0), CB_ERR) << "the selected item is gone";
    EXPECT_EQ(send(CB_SETCURSEL, 7), CB_ERR);
    EXPECT_EQ(send(CB_DELETESTRING, 5), CB_ERR);
    send(CB_RESETCONTENT, 0);
    EXPECT_EQ(send(CB_GETCOUNT, 0), 0);
    EXPECT_EQ(send(CB_GETLBTEXT, 0, item), CB_ERR);
  };
  RunDialog(Module(), "CONTROLS", run);
}

// Paints a swatch into control 1005 as a plug-in does: the client rectangle
// shrunk by one pixel, a brush of the colour, the context released.
void PaintSwatch(HWND dialog, COLORREF colour) {
  HWND swatch = GetDlgItem(dialog, 1005);
  HDC context = GetDC(swatch);
  RECT rect;
  GetClientRect(swatch, &rect);
  rect.left += 1;
  rect.top += 1;
  rect.right -= 1;
  rect.bottom -= 1;
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(context, &rect, brush);
  DeleteObject(brush);
  ReleaseDC(swatch, context);
}

TEST(Painting, DialogPaintsWhenShownAndWhenInvalidatedAndFillsAreRecorded) {
  DialogRun run;
  static COLORREF colour = RGB(10, 20, 30);
  run.procedure = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_PAINT) PaintSwatch(dialog, colour);
    return message == WM_INITDIALOG;
  };
  run.opened = [&](HWND dialog) {
    EXPECT_EQ(run.Count(WM_PAINT), 1) << "painted once when shown";
    HWND swatch = GetDlgItem(dialog, 1005);
    COLORREF filled = 0;
    ASSERT_TRUE(VfControlFillColour(swatch, &filled));
    EXPECT_EQ(filled, RGB(10, 20, 30));
    RECT rect;
    ASSERT_TRUE(VfControlFillRect(swatch, &rect));
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 1);
    EXPECT_EQ(rect.right, 47);   // 32 units are 48 pixels
    EXPECT_EQ(rect.bottom, 17);  // rows 80 .. 91 units: pixels 130 .. 148
    EXPECT_FALSE(VfControlFillColour(GetDlgItem(dialog, 1001), &filled)) << "nothing filled there";

    colour = RGB(200, 100, 0);
    InvalidateRect(dialog, nullptr, TRUE);
    EXPECT_EQ(run.Count(WM_PAINT), 1);
    UpdateWindow(dialog);
    EXPECT_EQ(run.Count(WM_PAINT), 2);
    UpdateWindow(dialog);
    EXPECT_EQ(run.Count(WM_PAINT), 2) << "nothing left to paint";

    InvalidateRect(dialog, nullptr, TRUE);
    SendDlgItemMessageA(dialog, 1016, BM_CLICK, 0, 0);
    EXPECT_EQ(run.Count(WM_PAINT), 3) << "painted when the host's message returns";
    VfControlFillColour(swatch, &filled);
    EXPECT_EQ(filled, RGB(200, 100, 0));
  };
  long brushes = VfLiveBrushes();
  long contexts = VfLiveDeviceContexts();
  RunDialog(Module(), "CONTROLS", run);
  EXPECT_EQ(VfLiveBrushes(), brushes);
  EXPECT_EQ(VfLiveDeviceContexts(), contexts);
  HBRUSH kept = CreateSolidBrush(0);
  EXPECT_EQ(VfLiveBrushes(), brushes + 1);
  EXPECT_TRUE(DeleteObject(kept));
  EXPECT_FALSE(DeleteObject(kept));
}

}  // namespace
