// The side of our platform layer that only a host (vfhost, the tests) and the
// frame's Linux library entry use: where the real system would show windows,
// read the keyboard or the clock, the layer asks the host through these hooks.
#pragma once

#include "vfwin/vfwin.h"

#ifdef __cplusplus
extern "C" {
#endif

// What the layer asks of the host. Every hook may be null; the layer then
// behaves as a user who does nothing (message boxes answer IDOK, ESC is never
// pressed, dialogs are closed with the close box, the colour chooser is
// cancelled).
typedef struct VfHostHooks {
  void* context;
  // MessageBoxA: text and caption are the plug-in's code page 932 bytes.
  int (*message_box)(void* context, HWND owner, const char* text, const char* caption, UINT type);
  // GetAsyncKeyState(VK_ESCAPE): the value the key query returns.
  SHORT (*escape_state)(void* context);
  // A dialog has been created and its WM_INITDIALOG handled. The host drives
  // it here with ordinary messages; a dialog still open when this returns is
  // closed as by the close box (WM_SYSCOMMAND SC_CLOSE).
  void (*dialog_opened)(void* context, HWND dialog, const char* templateName);
  // The dialog has ended (EndDialog) and is about to be destroyed; its
  // controls can still be read.
  void (*dialog_ending)(void* context, HWND dialog, const char* templateName, INT_PTR result);
  // ChooseColorA: fill request->rgbResult and return TRUE for OK.
  BOOL (*choose_colour)(void* context, LPCHOOSECOLORA request);
} VfHostHooks;

VFWIN_API void VfSetHostHooks(const VfHostHooks* hooks);

// A window whose messages (SendMessageA) go to procedure: the host's window
// that receives the progress messages and owns the message boxes.
VFWIN_API HWND VfCreateHostWindow(WNDPROC procedure);

// The clock the plug-ins see (time in seconds since 1970). Pinned by the host
// with --time; unpinned it is the real clock.
VFWIN_API void VfPinTime(int64_t seconds);
VFWIN_API void VfUnpinTime(void);
VFWIN_API int64_t VfCurrentTime(void);

// Failure injection for GlobalAlloc, GlobalLock and HeapAlloc, counted
// together from the last reset: 0 = nothing fails, n > 0 = only the n-th
// allocation request fails, -1 = every request fails.
VFWIN_API void VfSetAllocationFailure(long which);
// Allocation requests since the last VfSetAllocationFailure call, and blocks
// (global and heap) currently allocated and not yet freed.
VFWIN_API long VfAllocationRequests(void);
VFWIN_API long VfLiveAllocations(void);

// Called by the frame's library entry on load: registers the plug-in's
// resource script (code page 932 bytes of its .rc file) and returns the
// instance handle that DialogBoxParamA and CreateUpDownControl take.
VFWIN_API HINSTANCE VfRegisterModule(const char* moduleName, const char* resourceScript, size_t scriptSize);

// Parses a resource script and checks that it holds a dialog template of
// that name. Returns 1 when it does; otherwise 0 and a one-line reason with
// its line number in error (NUL-terminated, cut to errorSize). With a null
// templateName it only checks that the script can be read.
VFWIN_API int VfCheckResourceScript(const char* resourceScript, size_t scriptSize, const char* templateName,
                                    char* error, size_t errorSize);

// The template name and the caption (code page 932) of a dialog window.
// The name is the one written in the resource script; "" for a window that is
// no dialog. The caption is GetWindowTextA of the dialog.
VFWIN_API const char* VfDialogTemplateName(HWND dialog);

// TRUE once EndDialog has been called for the dialog (its procedure then
// receives no more messages), and for a handle that is no live dialog.
VFWIN_API BOOL VfDialogEnded(HWND dialog);

// How the layer models a dialog, where the real system leaves room:
// - Sizes: dialog units become pixels with a base unit of 6 x 13 pixels
//   (x * 6 / 4 and y * 13 / 8, rounded), edge by edge; GetClientRect gives a
//   window's size in those pixels.
// - Painting: a dialog is due for WM_PAINT when it is shown (after
//   WM_INITDIALOG) and after InvalidateRect on it. WM_PAINT is sent by
//   UpdateWindow, or else when the outermost message that the host sends
//   into the dialog returns. Controls paint nothing; FillRect is recorded.
// - The close box: a WM_SYSCOMMAND SC_CLOSE that the procedure leaves
//   unhandled becomes WM_CLOSE, and that becomes WM_COMMAND IDCANCEL, as the
//   system's dialog manager does.
// - Control ids are kept as written in the template (-1 stays -1).

// What a control shows that the standard calls cannot tell: the colour and
// rectangle (client coordinates) of the last FillRect on a device context of
// that window. FALSE when nothing has been filled on it.
VFWIN_API BOOL VfControlFillColour(HWND window, COLORREF* colour);
VFWIN_API BOOL VfControlFillRect(HWND window, RECT* rect);

// Brushes made by CreateSolidBrush and not deleted, and device contexts
// taken with GetDC and not released.
VFWIN_API long VfLiveBrushes(void);
VFWIN_API long VfLiveDeviceContexts(void);

// How often InitCommonControls has been called.
VFWIN_API long VfCommonControlsInitialisations(void);

// Presses an up-down control's arrow |presses| times (up when positive, down
// when negative), as the user's clicks would: each press reads the buddy's
// number (UDS_SETBUDDYINT), moves the position by one toward the maximum (up)
// or the minimum (down), staying at the end of the range or wrapping with
// UDS_WRAP, writes the position into the buddy and sends the parent
// WM_VSCROLL (WM_HSCROLL with UDS_HORZ) with SB_THUMBPOSITION and the
// position, then SB_ENDSCROLL. A disabled control takes no press. Returns
// the final position.
VFWIN_API int VfPressUpDown(HWND upDown, int presses);

#ifdef __cplusplus
}
#endif
