// Dialog conventions shared by the settings dialogs.
#include "frame/dialog.h"

#include <cstdint>

#include "frame/host_interface.h"

namespace frame {

INT_PTR RunDialog(const char* templateName, HWND owner, DLGPROC procedure) {
  return DialogBoxParamA(ModuleInstance(), templateName, owner, procedure, 0);
}

HWND CreateBuddyUpDown(HWND dialog, int upDownId, int buddyId, int upper, int lower, int position) {
  return CreateUpDownControl(kUpDownStyle, 100, 2, 8, 12, dialog, upDownId, ModuleInstance(),
                             GetDlgItem(dialog, buddyId), upper, lower, position);
}

namespace {
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
}  // namespace

bool ParseNumberText(const char* text, int32_t& value) {
  const char* p = text;
  while (IsBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  const int64_t limit = negative ? -int64_t{INT32_MIN} : int64_t{INT32_MAX};
  int64_t magnitude = 0;
  int digits = 0;
  for (; IsDigit(*p) || (*p == ',' && digits > 0 && IsDigit(p[1])); ++p) {
    if (*p == ',') continue;
    magnitude = magnitude * 10 + (*p - '0');
    ++digits;
    if (magnitude > limit) return false;
  }
  while (IsBlank(*p)) ++p;
  if (digits == 0 || *p != '\0') return false;
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

bool TryReadSignedNumber(HWND control, int32_t& value) {
  char text[64] = {};
  if (control == nullptr) return false;
  GetWindowTextA(control, text, sizeof(text));
  return ParseNumberText(text, value);
}

int32_t ReadSignedNumber(HWND dialog, int id) {
  int32_t value = 0;
  return TryReadSignedNumber(GetDlgItem(dialog, id), value) ? value : 0;
}

int32_t ClampNumber(int32_t value, int32_t lowest, int32_t highest) {
  if (value < lowest) return lowest;
  if (value > highest) return highest;
  return value;
}

uint8_t ReadByteNumber(HWND dialog, int id) {
  return static_cast<uint8_t>(ClampNumber(ReadSignedNumber(dialog, id), 0, 255));
}

uint8_t CheckState(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}

void InitScrollBar(HWND dialog, int barId, int lowest, int highest, int position) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(SCROLLINFO);
  info.fMask = SIF_RANGE | SIF_POS;
  info.nMin = lowest;
  info.nMax = highest;
  info.nPos = position;
  SetScrollInfo(GetDlgItem(dialog, barId), SB_CTL, &info, TRUE);
}

void SetScrollBarPosition(HWND dialog, int barId, int position) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(SCROLLINFO);
  info.fMask = SIF_POS;
  info.nPos = position;
  SetScrollInfo(GetDlgItem(dialog, barId), SB_CTL, &info, TRUE);
}

void ShowNumber(HWND dialog, int textId, int32_t value, bool isSigned) {
  SetDlgItemInt(dialog, textId, static_cast<UINT>(value), isSigned ? TRUE : FALSE);
}

int32_t ScrolledValue(int32_t value, WPARAM wParam, int32_t lowest, int32_t highest, int32_t pageStep) {
  switch (LOWORD(wParam)) {
    case SB_LINELEFT:
      return value > lowest ? value - 1 : value;
    case SB_LINERIGHT:
      return value < highest ? value + 1 : value;
    case SB_PAGELEFT:
      return value - pageStep > lowest ? value - pageStep : lowest;
    case SB_PAGERIGHT:
      return value + pageStep < highest ? value + pageStep : highest;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return static_cast<int16_t>(HIWORD(wParam));
    default:
      return value;
  }
}

}  // namespace frame
