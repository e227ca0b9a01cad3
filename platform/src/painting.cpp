// Painting: device contexts of windows, solid brushes, and fills. Nothing is
// drawn; a fill is remembered on the window it was made on (its colour and
// rectangle), so that a host can report what a control shows. A dialog that
// is invalidated receives WM_PAINT from UpdateWindow, or else when the
// outermost message that the host sent into the dialog returns.
#include <unordered_set>

#include "internal.h"

struct VfDeviceContext {
  HWND window;  // null for the screen
};

struct VfBrush {
  COLORREF colour;
};

namespace vfwin {
namespace {

std::unordered_set<VfDeviceContext*>& DeviceContexts() {
  static auto* contexts = new std::unordered_set<VfDeviceContext*>;
  return *contexts;
}

std::unordered_set<VfBrush*>& Brushes() {
  static auto* brushes = new std::unordered_set<VfBrush*>;
  return *brushes;
}

// A brush handle may also be a system colour index plus one.
bool SystemColourOfBrush(HBRUSH brush, COLORREF* colour) {
  uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value == 0 || value > 31) return false;
  switch (static_cast<int>(value - 1)) {
    case 5:
      *colour = RGB(255, 255, 255);
      break;  // COLOR_WINDOW
    case 8:
    case 18:
      *colour = RGB(0, 0, 0);
      break;  // COLOR_WINDOWTEXT, COLOR_BTNTEXT
    case 16:
      *colour = RGB(160, 160, 160);
      break;  // COLOR_BTNSHADOW
    case 20:
      *colour = RGB(255, 255, 255);
      break;  // COLOR_BTNHIGHLIGHT
    default:
      *colour = RGB(240, 240, 240);
      break;  // COLOR_BTNFACE and the other faces
  }
  return true;
}

bool ColourOfBrush(HBRUSH brush, COLORREF* colour) {
  if (Brushes().count(brush)) {
    *colour = brush->colour;
    return true;
  }
  return SystemColourOfBrush(brush, colour);
}

}  // namespace
}  // namespace vfwin

using vfwin::LiveWindow;

extern "C" {

VFWIN_API HDC GetDC(HWND window) {
  if (window && !LiveWindow(window)) return nullptr;
  HDC context = new VfDeviceContext{window};
  vfwin::DeviceContexts().insert(context);
  return context;
}

VFWIN_API int ReleaseDC(HWND /*window*/, HDC context) {
  if (!vfwin::DeviceContexts().erase(context)) return 0;
  delete context;
  return 1;
}

// The client area is the window's size in pixels, at the origin.
VFWIN_API BOOL GetClientRect(HWND handle, LPRECT rect) {
  VfWindow* window = LiveWindow(handle);
  if (!window || !rect) return FALSE;
  *rect = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
  return TRUE;
}

VFWIN_API int FillRect(HDC context, const RECT* rect, HBRUSH brush) {
  COLORREF colour = 0;
  if (!vfwin::DeviceContexts().count(context) || !rect || !vfwin::ColourOfBrush(brush, &colour)) return 0;
  if (VfWindow* window = LiveWindow(context->window))
    window->lastFill = vfwin::FillRecord{true, colour, *rect};
  return 1;
}

VFWIN_API HBRUSH CreateSolidBrush(COLORREF colour) {
  HBRUSH brush = new VfBrush{colour};
  vfwin::Brushes().insert(brush);
  return brush;
}

VFWIN_API BOOL DeleteObject(HGDIOBJ object) {
  HBRUSH brush = static_cast<HBRUSH>(object);
  if (!vfwin::Brushes().erase(brush)) return FALSE;
  delete brush;
  return TRUE;
}

// Only a dialog's own painting is modelled: invalidating a dialog (or every
// window, with a null handle) makes it due for WM_PAINT.
VFWIN_API BOOL InvalidateRect(HWND handle, const RECT* /*rect*/, BOOL /*erase*/) {
  VfWindow* window = LiveWindow(handle);
  if (handle && !window) return FALSE;
  if (window && window->kind == vfwin::WindowKind::Dialog) window->dialog.paintPending = true;
  if (!handle) vfwin::MarkAllDialogsForPaint();
  return TRUE;
}

VFWIN_API BOOL UpdateWindow(HWND handle) {
  VfWindow* window = LiveWindow(handle);
  if (!window) return FALSE;
  if (window->kind == vfwin::WindowKind::Dialog && window->dialog.paintPending && !window->dialog.ended) {
    window->dialog.paintPending = false;
    vfwin::Dispatch(window, WM_PAINT, 0, 0);
  }
  return TRUE;
}

VFWIN_API BOOL VfControlFillColour(HWND handle, COLORREF* colour) {
  VfWindow* window = LiveWindow(handle);
  if (!window || !window->lastFill.present) return FALSE;
  if (colour) *colour = window->lastFill.colour;
  return TRUE;
}

VFWIN_API BOOL VfControlFillRect(HWND handle, RECT* rect) {
  VfWindow* window = LiveWindow(handle);
  if (!window || !window->lastFill.present) return FALSE;
  if (rect) *rect = window->lastFill.rect;
  return TRUE;
}

VFWIN_API long VfLiveBrushes(void) {
  return static_cast<long>(vfwin::Brushes().size());
}

VFWIN_API long VfLiveDeviceContexts(void) {
  return static_cast<long>(vfwin::DeviceContexts().size());
}

}  // extern "C"
