// Window texts: code page 932 bytes kept as they are, copied out without
// splitting a double-byte character, and the text messages and functions.
#include <cstring>

#include "internal.h"

namespace vfwin {

int CopyTextOut(std::string_view text, char* buffer, int bufferSize) {
  if (!buffer || bufferSize <= 0) return 0;
  size_t limit = static_cast<size_t>(bufferSize) - 1;
  size_t length = 0;
  while (length < text.size()) {
    size_t width = 1;
    if (IsCp932LeadByte(static_cast<unsigned char>(text[length])) && length + 1 < text.size() &&
        IsCp932TrailByte(static_cast<unsigned char>(text[length + 1]))) {
      width = 2;
    }
    if (length + width > limit) break;
    length += width;
  }
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

bool HandleTextMessage(VfWindow* window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      window->text = text ? text : "";
      *result = TRUE;
      return true;
    }
    case WM_GETTEXT:
      *result = CopyTextOut(window->text, reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
      return true;
    case WM_GETTEXTLENGTH:
      *result = static_cast<LRESULT>(window->text.size());
      return true;
    default:
      return false;
  }
}

}  // namespace vfwin

using vfwin::Dispatch;
using vfwin::LiveWindow;
using vfwin::WindowKind;

// A dialog's caption is read directly, as the system does for windows of its
// own process; a control's text through WM_GETTEXT, so that a combo box
// gives its selected item.
extern "C" VFWIN_API int GetWindowTextA(HWND handle, LPSTR buffer, int bufferSize) {
  VfWindow* window = LiveWindow(handle);
  if (!window) {
    vfwin::CopyTextOut("", buffer, bufferSize);
    return 0;
  }
  if (window->kind != WindowKind::Control) return vfwin::CopyTextOut(window->text, buffer, bufferSize);
  if (!buffer || bufferSize <= 0) return 0;
  buffer[0] = '\0';
  return static_cast<int>(
      Dispatch(window, WM_GETTEXT, static_cast<WPARAM>(bufferSize), reinterpret_cast<LPARAM>(buffer)));
}

extern "C" VFWIN_API int GetWindowTextLengthA(HWND handle) {
  VfWindow* window = LiveWindow(handle);
  if (!window) return 0;
  if (window->kind != WindowKind::Control) return static_cast<int>(window->text.size());
  return static_cast<int>(Dispatch(window, WM_GETTEXTLENGTH, 0, 0));
}

extern "C" VFWIN_API BOOL SetWindowTextA(HWND handle, LPCSTR text) {
  VfWindow* window = LiveWindow(handle);
  if (!window) return FALSE;
  if (window->kind == WindowKind::Host) {
    window->text = text ? text : "";
    return TRUE;
  }
  // A combo box refuses with CB_ERR (-1).
  return Dispatch(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) > 0 ? TRUE : FALSE;
}
