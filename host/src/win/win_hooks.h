// vfhost on real Windows: how the host sees what a plug-in does with the
// system while one of its exports runs. The same questions that our Linux
// platform layer puts to the host (vfwin_host.h's VfHostHooks) are answered
// here for the real USER32 and COMDLG32:
//  - the plug-in's imports of DialogBoxParamA, EndDialog, MessageBoxA,
//    GetAsyncKeyState and ChooseColorA are redirected (import address table)
//    to functions that tell the host and then call the system;
//  - a real dialog is handed to the host once it is shown and painted (the
//    first WM_ENTERIDLE of its modal loop), after an optional PNG snapshot;
//  - a real message box is shown and closed with the host's answer as soon
//    as it opens.
#pragma once

#ifdef _WIN32

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <cstdint>
#include <string>

namespace vfhost::win {

// The host's answers; every member may be null, and the user then answers
// as usual: message boxes and dialogs stay on the screen for the user, ESC
// is the real key, the real colour chooser opens. Texts are code page 932
// bytes.
struct Hooks {
  void* context = nullptr;
  // MessageBoxA was called: the answer (IDOK, IDYES, ...) that MessageBoxA
  // returns; the real box is shown and closed with that button (0: IDOK).
  int (*message_box)(void* context, HWND owner, const char* text, const char* caption, UINT type) = nullptr;
  // False: message boxes are only reported to message_box; the user
  // answers them.
  bool close_message_boxes = true;
  // GetAsyncKeyState(VK_ESCAPE): the value returned to the plug-in.
  SHORT (*escape_state)(void* context) = nullptr;
  // The dialog is on the screen, its WM_INITDIALOG handled. Drive it here
  // with ordinary messages; one still open afterwards gets WM_SYSCOMMAND
  // SC_CLOSE.
  void (*dialog_opened)(void* context, HWND dialog, const char* templateName) = nullptr;
  // The plug-in called EndDialog; the controls can still be read.
  void (*dialog_ending)(void* context, HWND dialog, const char* templateName, INT_PTR result) = nullptr;
  // ChooseColorA: fill request->rgbResult and return TRUE for OK.
  BOOL (*choose_colour)(void* context, LPCHOOSECOLORA request) = nullptr;
};

// The plug-in modules whose imports are redirected during a call: every
// library the host has loaded and not yet freed.
void RememberPluginModule(HMODULE module);
void ForgetPluginModule(HMODULE module);

// From BeginCall to EndCall (one export of a plug-in running) the plug-ins'
// system calls above reach the hooks. One call at a time. Two environment
// variables add what the conformance suite needs:
//   VFHOST_DIALOG_SNAPSHOT=FILE.png  a dialog is captured to FILE.png when
//                                    it is first shown
//   VFHOST_CLOCK_LOG=FILE            the clock (seconds since 1970) at the
//                                    call's start and end, "BEFORE AFTER\n"
void BeginCall(const Hooks& hooks);
void EndCall();

// Whether the plug-in has ended the dialog (EndDialog) during this call.
bool DialogEnded(HWND dialog);

// Writes a picture of the window (frame, caption and children as drawn) to a
// PNG file; false and a message when it cannot.
bool SnapshotWindow(HWND window, const std::string& pngPath, std::string& error);

}  // namespace vfhost::win

#endif  // _WIN32
