// The resource script reader, seen through the dialogs it builds and through
// VfCheckResourceScript: every control statement with its default styles,
// names looked up without regard to case, code page 932 strings, and the
// messages for scripts it cannot read.
#include <gtest/gtest.h>

#include <cstring>

#include "dialog_harness.h"

namespace {

using vfwin_test::DialogRun;
using vfwin_test::RegisterScript;
using vfwin_test::RunDialog;
using vfwin_test::WindowText;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const char kFullScript[] = R"rc(// Every kind of control
#include <windows.h>
#define IDC_LEVEL 1002
/* a block
   comment */
FULLDLG DIALOGEX 10, 20, 200, 120
STYLE DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU
EXSTYLE WS_EX_STATICEDGE
CAPTION "Caption ""quoted"""
FONT 11, "Face", 400, 0, 0x80
BEGIN
    LTEXT           "Left", IDC_STATIC, 4, 5, 30, 8
    RTEXT           "Right", -1, 40, 5, 30, 8, SS_SUNKEN
    CTEXT           "Centre", 1000, 80, 5, 30, 8, NOT WS_GROUP
    EDITTEXT        1001, 4, 16, 34, 12, ES_RIGHT | ES_AUTOHSCROLL
    EDITTEXT        IDC_LEVEL, 40, 16, 34, 12, WS_DISABLED, WS_EX_CLIENTEDGE
    PUSHBUTTON      "Push", 1003, 4, 30, 40, 14, BS_FLAT
    DEFPUSHBUTTON   "OK", IDOK, 150, 100, 40, 14
    CHECKBOX        "Check", 1004, 4, 46, 60, 10
    AUTOCHECKBOX    "Auto check", 1005, 4, 58, 60, 10
    RADIOBUTTON     "Radio", 1006, 70, 46, 60, 10, WS_GROUP
    AUTORADIOBUTTON "Auto radio", 1007, 70, 58, 60, 10
    GROUPBOX        "Group", 1008, 66, 40, 70, 32
    COMBOBOX        1009, 4, 72, 70, 92, CBS_DROPDOWNLIST | WS_VSCROLL
    SCROLLBAR       1010, 4, 88, 100, 9
    CONTROL         "", 1011, "msctls_updown32", UDS_SETBUDDYINT | 0x4, 110, 88, 8, 12
    CONTROL         "Generic", 1012, BUTTON, BS_AUTOCHECKBOX | WS_TABSTOP, 4, 100, 60, 10
    CONTROL         "Frame", 1013, "static", SS_BLACKFRAME, 70, 100, 32, 11, 0x20000
END
)rc";

struct ExpectedControl {
  int id;
  const char* className;
  DWORD style;
  DWORD exStyle;
  const char* text;
};

const ExpectedControl kFullControls[] = {
    {-1, "Static", kChild | SS_LEFT | WS_GROUP, 0, "Left"},
    {-1, "Static", kChild | SS_RIGHT | WS_GROUP | SS_SUNKEN, 0, "Right"},
    {1000, "Static", kChild | SS_CENTER, 0, "Centre"},
    {1001, "Edit", kChild | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, 0, ""},
    {1002, "Edit", kChild | WS_BORDER | WS_TABSTOP | WS_DISABLED, WS_EX_CLIENTEDGE, ""},
    {1003, "Button", kChild | BS_PUSHBUTTON | WS_TABSTOP | BS_FLAT, 0, "Push"},
    {IDOK, "Button", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, "OK"},
    {1004, "Button", kChild | BS_CHECKBOX | WS_TABSTOP, 0, "Check"},
    {1005, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0, "Auto check"},
    {1006, "Button", kChild | BS_RADIOBUTTON | WS_GROUP, 0, "Radio"},
    {1007, "Button", kChild | BS_AUTORADIOBUTTON, 0, "Auto radio"},
    {1008, "Button", kChild | BS_GROUPBOX, 0, "Group"},
    {1009, "ComboBox", kChild | CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 0, ""},
    {1010, "ScrollBar", kChild | SBS_HORZ, 0, ""},
    {1011, "msctls_updown32", kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 0, ""},
    {1012, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0, "Generic"},
    {1013, "Static", kChild | SS_BLACKFRAME, WS_EX_STATICEDGE, "Frame"},
};

std::string ClassName(HWND window) {
  char name[64];
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, static_cast<size_t>(length));
}

TEST(ResourceScript, BuildsEveryControlInTemplateOrderWithItsDefaultStyles) {
  HINSTANCE module = RegisterScript(kFullScript);
  DialogRun run;
  run.opened = [](HWND dialog) {
    EXPECT_EQ(ClassName(dialog), "#32770");
    EXPECT_STREQ(VfDialogTemplateName(dialog), "FULLDLG");
    EXPECT_EQ(WindowText(dialog), "Caption \"quoted\"");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)),
              DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)), static_cast<DWORD>(WS_EX_STATICEDGE));

    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ExpectedControl& expected : kFullControls) {
      SCOPED_TRACE("control " + std::to_string(expected.id) + " " + expected.text);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(GetDlgCtrlID(control), expected.id);
      EXPECT_EQ(GetWindowLongA(control, GWL_ID), expected.id);
      EXPECT_EQ(ClassName(control), expected.className);
      EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)), expected.style);
      EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)), expected.exStyle);
      EXPECT_EQ(WindowText(control), expected.text);
      EXPECT_EQ(IsWindowEnabled(control), (expected.style & WS_DISABLED) ? FALSE : TRUE);
      EXPECT_EQ(GetParent(control), dialog);
      control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr) << "more controls than the template has";
  };
  // Asked for in another case than the script writes it.
  EXPECT_EQ(RunDialog(module, "fullDlg", run), 0);
  EXPECT_TRUE(run.openedCalled);
  EXPECT_EQ(run.openedTemplate, "FULLDLG");
}

TEST(ResourceScript, PlacesControlsInPixelsOfTheDialogBaseUnit) {
  HINSTANCE module = RegisterScript(kFullScript);
  DialogRun run;
  run.opened = [](HWND dialog) {
    RECT rect;
    ASSERT_TRUE(GetClientRect(dialog, &rect));
    EXPECT_EQ(rect.right, 300);   // 200 units * 6 / 4
    EXPECT_EQ(rect.bottom, 195);  // 120 units * 13 / 8
    ASSERT_TRUE(GetClientRect(GetDlgItem(dialog, 1003), &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 60);   // 40 units
    EXPECT_EQ(rect.bottom, 23);  // rows 30 .. 44 units: pixels 49 .. 72
  };
  RunDialog(module, "FULLDLG", run);
}

TEST(ResourceScript, LooksUpTemplateNamesWithoutRegardToCase) {
  const std::string script = "SAMPLEDLG DIALOG 0, 0, 10, 10\nBEGIN\nEND\nsecond dialog 0, 0, 5, 5\n{\n}\n";
  char error[128];
  for (const char* name : {"SAMPLEDLG", "sampledlg", "SampleDlg", "SECOND"}) {
    EXPECT_EQ(VfCheckResourceScript(script.data(), script.size(), name, error, sizeof error), 1) << name;
  }
  EXPECT_EQ(VfCheckResourceScript(script.data(), script.size(), nullptr, error, sizeof error), 1)
      << "readable";
  EXPECT_EQ(VfCheckResourceScript(script.data(), script.size(), "SAMPLE", error, sizeof error), 0);
  EXPECT_STREQ(error, "no dialog template named SAMPLE (the script has SAMPLEDLG, second)");
}

// A script as a resource editor writes it: its own sections inside
// conditionals, language names, pragmas.
TEST(ResourceScript, ReadsOnlyTheSectionsWhoseConditionHolds) {
  const std::string script =
      "#include \"resource.h\"\n"
      "#define IDC_VALUE 1001\n"
      "#define APSTUDIO_READONLY_SYMBOLS\n"
      "#ifdef APSTUDIO_INVOKED\n"
      "1 TEXTINCLUDE\nBEGIN\n    \"resource.h\\0\"\nEND\n"
      "#endif\n"
      "#if 0\nBROKEN DIALOG\n#elif defined(APSTUDIO_READONLY_SYMBOLS)\n"
      "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
      "#pragma code_page(932)\n"
      "E DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT IDC_VALUE, 0, 0, 5, 5\nEND\n"
      "#else\nOTHER DIALOG 0, 0, 1, 1\nBEGIN\nEND\n"
      "#endif\n";
  char error[128] = "";
  EXPECT_EQ(VfCheckResourceScript(script.data(), script.size(), "E", error, sizeof error), 1) << error;
  EXPECT_EQ(VfCheckResourceScript(script.data(), script.size(), "OTHER", error, sizeof error), 0);
  EXPECT_STREQ(error, "no dialog template named OTHER (the script has E)");
  DialogRun run;
  run.opened = [](HWND dialog) { EXPECT_NE(GetDlgItem(dialog, 1001), nullptr); };
  RunDialog(RegisterScript(script), "E", run);
  EXPECT_TRUE(run.openedCalled);
}

// 0x955C and 0x835C are double-byte characters whose trail byte is the
// backslash: the first is followed by an escaped line feed, the second ends
// the string.
TEST(ResourceScript, ReadsDoubleByteCharactersWholeInStrings) {
  const std::string script = std::string("T DIALOG 0, 0, 100, 40\nCAPTION \"\x95\x5C\"\nBEGIN\n") +
                             " LTEXT \"\x95\x5C\\n\x83\x5C\", 1001, 0, 0, 50, 8\n" +
                             " LTEXT \"\x83\x5C\", 1002, 0, 10, 50, 8\n" +
                             " LTEXT \"a\\\\b\\tc\", 1003, 0, 20, 50, 8\n" + "END\n";
  HINSTANCE module = RegisterScript(script);
  DialogRun run;
  run.opened = [](HWND dialog) {
    EXPECT_EQ(WindowText(dialog), "\x95\x5C");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 1001)), "\x95\x5C\n\x83\x5C");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 1002)), "\x83\x5C");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 1003)), "a\\b\tc");
  };
  RunDialog(module, "T", run);
  EXPECT_TRUE(run.openedCalled);
}

struct MalformedScript {
  const char* script;
  const char* error;
};

const MalformedScript kMalformedScripts[] = {
    {"D DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 1001, , 2, 34, 12\nEND\n",
     "line 3: expected a number after the control id"},
    {"D DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 1001\n  LTEXT \"a\", -1, 0, 0, 1, 1\nEND\n",
     "line 3: expected ',' after the control id"},
    {"D DIALOG 0, 0, 10, 10\nSTYLE WS_POPUP | WS_NOSUCH\nBEGIN\nEND\n",
     "line 2: unknown style name WS_NOSUCH"},
    {"D DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"open, -1, 0, 0, 1, 1\nEND\n", "line 3: unterminated string"},
    {"D DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", -1, 0, 0, 1, 1\n", "line 3: missing END of dialog D"},
    {"D DIALOG 0, 0, 10, 10\nBEGIN\n  SLIDER \"a\", -1, 0, 0, 1, 1\nEND\n",
     "line 3: unknown control statement SLIDER"},
    {"\n\nD DIALG 0, 0, 10, 10\n", "line 3: expected DIALOG or DIALOGEX after D"},
    {"D DIALOG 0, 0, 10\nBEGIN\nEND\n", "line 1: expected ',' after the width"},
    {"D DIALOG 0, 0, 10, 10\nBEGIN\nEND\nd DIALOG 0, 0, 10, 10\nBEGIN\nEND\n",
     "line 4: dialog d is defined twice"},
    {"#ifdef X\nD DIALOG 0, 0, 10, 10\nBEGIN\nEND\n", "line 1: #if without #endif"},
    {"D DIALOG 0, 0, 10, 10\nBEGIN\nEND\n#endif\n", "line 4: #endif without #if"},
};

TEST(ResourceScript, ReportsMalformedScriptsWithTheirLine) {
  for (const MalformedScript& entry : kMalformedScripts) {
    char error[128] = "unchanged";
    EXPECT_EQ(VfCheckResourceScript(entry.script, std::strlen(entry.script), "D", error, sizeof error), 0)
        << entry.script;
    EXPECT_STREQ(error, entry.error) << entry.script;
  }
}

TEST(ResourceScript, CutsTheErrorToTheCallersBuffer) {
  const char script[] = "D DIALOG 0, 0, 10, 10\nSTYLE WS_POPUP | WS_NOSUCH\nBEGIN\nEND\n";
  char error[12];
  std::memset(error, 'x', sizeof error);
  EXPECT_EQ(VfCheckResourceScript(script, sizeof script - 1, "D", error, 8), 0);
  EXPECT_STREQ(error, "line 2:");
  EXPECT_EQ(error[8], 'x');
}

TEST(ResourceScript, DialogOfABrokenScriptFailsWithTheReasonOnStandardError) {
  const char script[] = "D DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT 1001, , 2, 34, 12\nEND\n";
  HINSTANCE module = VfRegisterModule("broken_module", script, sizeof script - 1);
  DialogRun run;
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunDialog(module, "D", run), -1);
  std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(printed.find("broken_module"), std::string::npos) << printed;
  EXPECT_NE(printed.find("line 3: expected a number after the control id"), std::string::npos) << printed;
  EXPECT_TRUE(run.log.empty());
  EXPECT_FALSE(run.endingCalled);

  testing::internal::CaptureStderr();
  EXPECT_EQ(RunDialog(RegisterScript("E DIALOG 0, 0, 1, 1\nBEGIN\nEND\n"), "MISSING", run), -1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("no dialog template named MISSING"),
            std::string::npos);
}

}  // namespace
