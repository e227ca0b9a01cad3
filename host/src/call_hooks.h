// The running call's answers to the platform's questions, in the form both
// hook tables take (our Linux layer's VfHostHooks and the Windows build's
// redirected system calls). Each reaches CurrentCall() and does nothing
// (or answers as a user who does nothing) when no call is running.
#pragma once

#include "frame/win_api.h"

namespace vfhost::detail {

// GetAsyncKeyState's value for a key that is down and was pressed since the
// previous query.
constexpr SHORT kKeyDownAndPressed = static_cast<SHORT>(0x8001);

int AnswerMessageBox(void* context, HWND owner, const char* text, const char* caption, UINT type);
// Whether the call counts this ESC poll as a press (and counts the poll).
bool EscapePollPressed();
void DriveOpenedDialog(void* context, HWND dialog, const char* templateName);
void NoteDialogEnding(void* context, HWND dialog, const char* templateName, INT_PTR result);
BOOL AnswerChooseColour(void* context, LPCHOOSECOLORA request);
// The host window's procedure: progress messages (WM_USER) to the call.
void NoteHostWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vfhost::detail
