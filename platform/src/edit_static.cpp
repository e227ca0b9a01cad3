// Edit boxes and static texts. Setting a single-line edit box's text tells
// the parent with EN_UPDATE and then EN_CHANGE, as when the user types.
#include "internal.h"

namespace vfwin {

LRESULT EditMessage(VfWindow* edit, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!HandleTextMessage(edit, message, wParam, lParam, &result)) return 0;
  if (message == WM_SETTEXT && !(edit->style & ES_MULTILINE)) {
    NotifyParent(edit, EN_UPDATE);
    if (LiveWindow(edit)) NotifyParent(edit, EN_CHANGE);
  }
  return result;
}

LRESULT StaticMessage(VfWindow* control, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  return HandleTextMessage(control, message, wParam, lParam, &result) ? result : 0;
}

}  // namespace vfwin
