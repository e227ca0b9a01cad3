// The dialog item functions: finding controls by id and reading or setting
// their texts, numbers and check states through the controls' messages.
#include <climits>
#include <cstdio>

#include "internal.h"

using vfwin::Dispatch;
using vfwin::LiveWindow;

extern "C" {

// The first control in z-order with that id: the template's controls come
// first, those created later follow.
VFWIN_API HWND GetDlgItem(HWND dialogHandle, int id) {
  VfWindow* dialog = LiveWindow(dialogHandle);
  if (!dialog) return nullptr;
  for (VfWindow* child : dialog->children) {
    if (child->id == id) return child;
  }
  return nullptr;
}

VFWIN_API int GetDlgCtrlID(HWND handle) {
  VfWindow* window = LiveWindow(handle);
  return window && window->kind == vfwin::WindowKind::Control ? window->id : 0;
}

VFWIN_API LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  VfWindow* control = LiveWindow(GetDlgItem(dialog, id));
  return control ? Dispatch(control, message, wParam, lParam) : 0;
}

VFWIN_API BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowTextA(control, text) : FALSE;
}

VFWIN_API UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int bufferSize) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    vfwin::CopyTextOut("", buffer, bufferSize);
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(control, buffer, bufferSize));
}

// The whole text must be a number in range for the signedness, with blanks
// around it allowed; otherwise the result is 0 and *translated FALSE.
VFWIN_API UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  HWND control = GetDlgItem(dialog, id);
  if (!control) return 0;
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  long long minimum = isSigned ? INT_MIN : 0;
  long long maximum = isSigned ? INT_MAX : UINT_MAX;
  long long value = 0;
  if (!vfwin::ParseDialogNumber(text, minimum, maximum, &value)) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(value);
}

VFWIN_API BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned) {
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  } else {
    std::snprintf(text, sizeof text, "%u", value);
  }
  return SetDlgItemTextA(dialog, id, text);
}

VFWIN_API BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  VfWindow* control = LiveWindow(GetDlgItem(dialog, id));
  if (!control) return FALSE;
  Dispatch(control, BM_SETCHECK, check, 0);
  return TRUE;
}

VFWIN_API UINT IsDlgButtonChecked(HWND dialog, int id) {
  VfWindow* control = LiveWindow(GetDlgItem(dialog, id));
  return control ? static_cast<UINT>(Dispatch(control, BM_GETCHECK, 0, 0)) : 0;
}

// Checks checkId and unchecks every other button whose id lies in
// firstId..lastId.
VFWIN_API BOOL CheckRadioButton(HWND dialogHandle, int firstId, int lastId, int checkId) {
  VfWindow* dialog = LiveWindow(dialogHandle);
  if (!dialog) return FALSE;
  std::vector<VfWindow*> children = dialog->children;
  for (VfWindow* child : children) {
    if (!LiveWindow(child) || child->id < firstId || child->id > lastId) continue;
    Dispatch(child, BM_SETCHECK, child->id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}

}  // extern "C"
