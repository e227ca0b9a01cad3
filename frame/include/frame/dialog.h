// Conventions of the settings dialogs: the modal dialog from the plug-in's own
// template, up-down controls beside number boxes, scroll bars with a value
// text, and reading numbers back.
#pragma once

#include <cstdint>

#include "frame/win_api.h"

namespace frame {

// DialogBoxParamA(instance, templateName, owner, procedure, 0).
INT_PTR RunDialog(const char* templateName, HWND owner, DLGPROC procedure);

// The usual FilterOption: load the record, run the dialog, save on a non-zero
// result, return 1.
template <typename Record>
int RunSettingsDialog(HWND host, const char* dir, Record& record, const char* templateName,
                      DLGPROC procedure);

// Up-down control of style WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_SETBUDDYINT |
// UDS_ALIGNRIGHT | UDS_ARROWKEYS at 100,2 size 8 x 12, beside buddyId, with the
// range lower..upper and the position; it writes the position into the buddy.
constexpr DWORD kUpDownStyle = 0x50800086;
HWND CreateBuddyUpDown(HWND dialog, int upDownId, int buddyId, int upper, int lower, int position);

// A signed decimal number as GetDlgItemInt reads one: blanks around it, an
// optional sign, digits, nothing else, within 32 bits. Thousands separators
// between the digits are passed over, because an up-down control without
// UDS_NOTHOUSANDS writes "1,000" into its buddy on Windows.
bool ParseNumberText(const char* text, int32_t& value);
// The number in a control's text; false when it is not a number.
bool TryReadSignedNumber(HWND control, int32_t& value);
// The number in the dialog item; a text that is not a number reads as 0.
int32_t ReadSignedNumber(HWND dialog, int id);
// A number box that holds one byte: above 255 is stored as 255, and a negative
// number as 0 (the user asked for less than the least value).
uint8_t ReadByteNumber(HWND dialog, int id);
int32_t ClampNumber(int32_t value, int32_t lowest, int32_t highest);

// 1 when the button is checked, else 0.
uint8_t CheckState(HWND dialog, int id);

// Scroll bar with its value text: range and position (SIF_RANGE | SIF_POS,
// redrawn), and the text showing the value.
void InitScrollBar(HWND dialog, int barId, int lowest, int highest, int position);
void SetScrollBarPosition(HWND dialog, int barId, int position);
void ShowNumber(HWND dialog, int textId, int32_t value, bool isSigned);

// The value after a WM_HSCROLL / WM_VSCROLL with this wParam: line steps of
// 1 and page steps of pageStep, stopping at lowest and highest; thumb position
// and tracking take the high word of wParam; other codes keep the value.
int32_t ScrolledValue(int32_t value, WPARAM wParam, int32_t lowest, int32_t highest, int32_t pageStep);

}  // namespace frame

#include "frame/settings.h"

namespace frame {
template <typename Record>
int RunSettingsDialog(HWND host, const char* dir, Record& record, const char* templateName,
                      DLGPROC procedure) {
  LoadSettings(dir, record);
  if (RunDialog(templateName, host, procedure) != 0) SaveSettings(dir, record);
  return 1;
}
}  // namespace frame

namespace frame {
// WM_SYSCOMMAND from the close box or Alt+F4 (the low four bits of wParam
// are the system's own).
inline bool IsCloseCommand(WPARAM wParam) {
  return (wParam & 0xFFF0) == SC_CLOSE;
}
}  // namespace frame
