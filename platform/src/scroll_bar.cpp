// Scroll bar controls: range, page and position, the position kept within
// minimum .. maximum - (page - 1) as the system keeps it, and the scroll
// functions that reach the bar through SB_CTL.
#include <algorithm>

#include "internal.h"

namespace vfwin {
namespace {

void ClampPosition(ScrollBarState& bar) {
  long long lastPosition = static_cast<long long>(bar.maximum) - (bar.page > 0 ? bar.page - 1 : 0);
  lastPosition = std::max<long long>(lastPosition, bar.minimum);
  bar.position = static_cast<int>(std::clamp<long long>(bar.position, bar.minimum, lastPosition));
}

void SetRange(ScrollBarState& bar, int minimum, int maximum) {
  // A reversed or too wide range leaves the bar empty.
  if (minimum > maximum || static_cast<long long>(maximum) - minimum >= 0x80000000LL) {
    bar.minimum = bar.maximum = 0;
  } else {
    bar.minimum = minimum;
    bar.maximum = maximum;
  }
}

bool IsValidInfoSize(UINT size) {
  return size == sizeof(SCROLLINFO) || size == sizeof(SCROLLINFO) - sizeof(int);  // without nTrackPos
}

LRESULT SetInfo(ScrollBarState& bar, const SCROLLINFO* info) {
  if (!info || !IsValidInfoSize(info->cbSize)) return 0;
  if (info->fMask & SIF_RANGE) SetRange(bar, info->nMin, info->nMax);
  if (info->fMask & SIF_PAGE) bar.page = info->nPage;
  long long rangeSize = static_cast<long long>(bar.maximum) - bar.minimum + 1;
  if (bar.page > rangeSize) bar.page = static_cast<UINT>(rangeSize);
  if (info->fMask & SIF_POS) bar.position = info->nPos;
  ClampPosition(bar);
  return bar.position;
}

LRESULT GetInfo(const ScrollBarState& bar, SCROLLINFO* info) {
  if (!info || !IsValidInfoSize(info->cbSize)) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = bar.minimum;
    info->nMax = bar.maximum;
  }
  if (info->fMask & SIF_PAGE) info->nPage = bar.page;
  if (info->fMask & SIF_POS) info->nPos = bar.position;
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO)) info->nTrackPos = bar.position;
  return (info->fMask & SIF_ALL) ? TRUE : FALSE;
}

VfWindow* ScrollBarControl(HWND handle, int bar) {
  VfWindow* window = LiveWindow(handle);
  if (!window || bar != SB_CTL || window->controlClass != ControlClass::ScrollBar) return nullptr;
  return window;
}

}  // namespace

LRESULT ScrollBarMessage(VfWindow* scrollBar, UINT message, WPARAM wParam, LPARAM lParam) {
  ScrollBarState& bar = scrollBar->scrollBar;
  switch (message) {
    case SBM_SETPOS: {
      int previous = bar.position;
      bar.position = static_cast<int>(wParam);
      ClampPosition(bar);
      return previous;
    }
    case SBM_GETPOS:
      return bar.position;
    case SBM_SETRANGE: {
      int previous = bar.position;
      SetRange(bar, static_cast<int>(wParam), static_cast<int>(lParam));
      ClampPosition(bar);
      return previous;
    }
    case SBM_GETRANGE:
      if (wParam) *reinterpret_cast<int*>(wParam) = bar.minimum;
      if (lParam) *reinterpret_cast<int*>(lParam) = bar.maximum;
      return 0;
    case SBM_SETSCROLLINFO:
      return SetInfo(bar, reinterpret_cast<const SCROLLINFO*>(lParam));
    case SBM_GETSCROLLINFO:
      return GetInfo(bar, reinterpret_cast<SCROLLINFO*>(lParam));
    default: {
      LRESULT result = 0;
      return HandleTextMessage(scrollBar, message, wParam, lParam, &result) ? result : 0;
    }
  }
}

}  // namespace vfwin

using vfwin::ScrollBarControl;

extern "C" {

VFWIN_API int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
  VfWindow* scrollBar = ScrollBarControl(window, bar);
  if (!scrollBar) return 0;
  return static_cast<int>(
      vfwin::Dispatch(scrollBar, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
}

VFWIN_API BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
  VfWindow* scrollBar = ScrollBarControl(window, bar);
  if (!scrollBar) return FALSE;
  return static_cast<BOOL>(vfwin::Dispatch(scrollBar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
}

VFWIN_API int SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
  VfWindow* scrollBar = ScrollBarControl(window, bar);
  if (!scrollBar) return 0;
  return static_cast<int>(vfwin::Dispatch(scrollBar, SBM_SETPOS, static_cast<WPARAM>(position), redraw));
}

VFWIN_API int GetScrollPos(HWND window, int bar) {
  VfWindow* scrollBar = ScrollBarControl(window, bar);
  return scrollBar ? static_cast<int>(vfwin::Dispatch(scrollBar, SBM_GETPOS, 0, 0)) : 0;
}

VFWIN_API BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL /*redraw*/) {
  VfWindow* scrollBar = ScrollBarControl(window, bar);
  if (!scrollBar) return FALSE;
  vfwin::Dispatch(scrollBar, SBM_SETRANGE, static_cast<WPARAM>(minimum), maximum);
  return TRUE;
}

}  // extern "C"
