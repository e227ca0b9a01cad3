// Up-down controls: a range (minimum and maximum, either way round), a
// position kept within it, and a buddy window. With UDS_SETBUDDYINT the
// position is written into the buddy's text as a decimal number, and read
// back from it before the position is reported or moved, as the system's
// control does.
#include <algorithm>
#include <cstdio>

#include "internal.h"

namespace vfwin {
namespace {

int Lowest(const UpDownState& state) {
  return std::min(state.minimum, state.maximum);
}
int Highest(const UpDownState& state) {
  return std::max(state.minimum, state.maximum);
}
int ClampToRange(const UpDownState& state, long long value) {
  return static_cast<int>(std::clamp<long long>(value, Lowest(state), Highest(state)));
}

VfWindow* NumberBuddy(VfWindow* upDown) {
  return (upDown->style & UDS_SETBUDDYINT) ? LiveWindow(upDown->upDown.buddy) : nullptr;
}

void WriteBuddy(VfWindow* upDown) {
  VfWindow* buddy = NumberBuddy(upDown);
  if (!buddy) return;
  char text[16];
  std::snprintf(text, sizeof text, "%d", upDown->upDown.position);
  SetWindowTextA(buddy, text);
}

// Takes the buddy's number as the position; false, the position unchanged,
// when the buddy's text is not a number within the range.
bool ReadBuddy(VfWindow* upDown) {
  VfWindow* buddy = NumberBuddy(upDown);
  if (!buddy) return true;
  std::string text(static_cast<size_t>(GetWindowTextLengthA(buddy)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(buddy, text.data(), static_cast<int>(text.size()))));
  text.erase(std::remove(text.begin(), text.end(), ','), text.end());  // thousands separators
  long long value = 0;
  if (!ParseDialogNumber(text, INT32_MIN, INT32_MAX, &value)) return false;
  // A number outside the range is an error, as a non-number is: the
  // position stays where it was (the system's control does the same).
  if (value < Lowest(upDown->upDown) || value > Highest(upDown->upDown)) return false;
  upDown->upDown.position = static_cast<int>(value);
  return true;
}

LRESULT SetPosition(VfWindow* upDown, long long position) {
  int previous = upDown->upDown.position;
  upDown->upDown.position = ClampToRange(upDown->upDown, position);
  WriteBuddy(upDown);
  return previous;
}

// One press of an arrow: up moves toward the maximum, down toward the
// minimum; at the end of the range the position stays, or wraps round with
// UDS_WRAP. The parent hears of it as a scroll to the new position.
void Press(VfWindow* upDown, bool up) {
  UpDownState& state = upDown->upDown;
  ReadBuddy(upDown);
  int towardMaximum = state.maximum >= state.minimum ? 1 : -1;
  long long next = static_cast<long long>(state.position) + (up ? towardMaximum : -towardMaximum);
  if (next < Lowest(state) || next > Highest(state)) {
    next = (upDown->style & UDS_WRAP) ? (next > Highest(state) ? Lowest(state) : Highest(state))
                                      : ClampToRange(state, next);
  }
  SetPosition(upDown, next);
  VfWindow* parent = LiveWindow(upDown->parent);
  if (!LiveWindow(upDown) || !parent) return;
  UINT message = (upDown->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
  LPARAM self = reinterpret_cast<LPARAM>(upDown);
  Dispatch(parent, message, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(state.position)), self);
  if (LiveWindow(upDown) && LiveWindow(parent)) Dispatch(parent, message, MAKEWPARAM(SB_ENDSCROLL, 0), self);
}

}  // namespace

// With UDS_ALIGNRIGHT (UDS_ALIGNLEFT) the control takes the buddy's height and
// its place at the buddy's right (left) edge; the buddy gives up that width.
void AttachBuddy(VfWindow* upDown, HWND buddyHandle) {
  VfWindow* buddy = LiveWindow(buddyHandle);
  upDown->upDown.buddy = buddy;
  if (!buddy || buddy->parent != upDown->parent || !(upDown->style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
    return;
  LONG width = upDown->rect.right - upDown->rect.left;
  upDown->rect.top = buddy->rect.top;
  upDown->rect.bottom = buddy->rect.bottom;
  if (upDown->style & UDS_ALIGNRIGHT) {
    buddy->rect.right -= width;
    upDown->rect.left = buddy->rect.right;
  } else {
    upDown->rect.left = buddy->rect.left;
    buddy->rect.left += width;
  }
  upDown->rect.right = upDown->rect.left + width;
}

LRESULT UpDownMessage(VfWindow* upDown, UINT message, WPARAM wParam, LPARAM lParam) {
  UpDownState& state = upDown->upDown;
  switch (message) {
    case UDM_SETRANGE:
      state.maximum = static_cast<SHORT>(LOWORD(lParam));
      state.minimum = static_cast<SHORT>(HIWORD(lParam));
      return 0;
    case UDM_GETRANGE:
      return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(state.maximum, state.minimum)));
    case UDM_SETRANGE32:
      state.minimum = static_cast<int>(wParam);
      state.maximum = static_cast<int>(lParam);
      return 0;
    case UDM_GETRANGE32:
      if (wParam) *reinterpret_cast<int*>(wParam) = state.minimum;
      if (lParam) *reinterpret_cast<int*>(lParam) = state.maximum;
      return 0;
    case UDM_SETPOS:
      return SetPosition(upDown, static_cast<SHORT>(LOWORD(lParam)));
    case UDM_GETPOS: {
      bool valid = ReadBuddy(upDown);
      return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(state.position, valid ? 0 : 1)));
    }
    case UDM_SETPOS32:
      return SetPosition(upDown, static_cast<int>(lParam));
    case UDM_GETPOS32: {
      bool valid = ReadBuddy(upDown);
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = valid ? FALSE : TRUE;
      return state.position;
    }
    case UDM_SETBUDDY: {
      HWND previous = LiveWindow(state.buddy);
      AttachBuddy(upDown, reinterpret_cast<HWND>(wParam));
      return reinterpret_cast<LRESULT>(previous);
    }
    case UDM_GETBUDDY:
      return reinterpret_cast<LRESULT>(LiveWindow(state.buddy));
    default: {
      LRESULT result = 0;
      return HandleTextMessage(upDown, message, wParam, lParam, &result) ? result : 0;
    }
  }
}

}  // namespace vfwin

using vfwin::LiveWindow;

extern "C" {

static long commonControlsInitialisations = 0;

VFWIN_API void InitCommonControls(void) {
  ++commonControlsInitialisations;
}

VFWIN_API long VfCommonControlsInitialisations(void) {
  return commonControlsInitialisations;
}

// The control is created as the system creates it: the buddy is attached,
// then the range and the position are set with the 16-bit messages.
VFWIN_API HWND CreateUpDownControl(DWORD style, int x, int y, int cx, int cy, HWND parentHandle, int id,
                                   HINSTANCE /*instance*/, HWND buddy, int upper, int lower, int position) {
  VfWindow* parent = LiveWindow(parentHandle);
  if (!parent) return nullptr;
  VfWindow* upDown = vfwin::CreateWindowRecord(vfwin::WindowKind::Control, parent, nullptr);
  upDown->className = UPDOWN_CLASSA;
  upDown->controlClass = vfwin::ControlClass::UpDown;
  upDown->id = id;
  upDown->style = style;
  upDown->rect = RECT{x, y, x + cx, y + cy};
  if (!buddy && (style & UDS_AUTOBUDDY) && parent->children.size() >= 2) {
    buddy = parent->children[parent->children.size() - 2];
  }
  vfwin::Dispatch(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  vfwin::Dispatch(upDown, UDM_SETRANGE, 0, MAKELPARAM(upper, lower));
  vfwin::Dispatch(upDown, UDM_SETPOS, 0, MAKELPARAM(position, 0));
  return upDown;
}

VFWIN_API int VfPressUpDown(HWND upDownHandle, int presses) {
  VfWindow* upDown = LiveWindow(upDownHandle);
  if (!upDown || upDown->controlClass != vfwin::ControlClass::UpDown) return 0;
  if (upDown->style & WS_DISABLED) return upDown->upDown.position;  // takes no clicks
  long long count = presses < 0 ? -static_cast<long long>(presses) : presses;
  for (long long press = 0; press < count && LiveWindow(upDown); ++press) {
    vfwin::Press(upDown, presses > 0);
  }
  return LiveWindow(upDown) ? upDown->upDown.position : 0;
}

}  // extern "C"
