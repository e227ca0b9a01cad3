// The running call's answers to the platform's questions.
#include "call_hooks.h"

#include <string>

#include "call_context.h"
#include "dialog_driver.h"

namespace vfhost::detail {

int AnswerMessageBox(void*, HWND, const char* text, const char* caption, UINT type) {
  CallContext* call = CurrentCall();
  return call ? call->OnMessageBox(text ? text : "", caption ? caption : "", type) : IDOK;
}

bool EscapePollPressed() {
  CallContext* call = CurrentCall();
  return call && call->OnEscapePoll();
}

void DriveOpenedDialog(void*, HWND dialog, const char*) {
  CallContext* call = CurrentCall();
  if (call && call->dialogDriver()) call->dialogDriver()->DriveOpenedDialog(dialog);
}

void NoteDialogEnding(void*, HWND dialog, const char* templateName, INT_PTR result) {
  CallContext* call = CurrentCall();
  if (!call) return;
  const std::string name = templateName ? templateName : "";
  if (call->dialogDriver()) call->dialogDriver()->NoteDialogEnding(dialog, name);
  call->OnDialogEnded(name, result);
}

BOOL AnswerChooseColour(void*, LPCHOOSECOLORA request) {
  CallContext* call = CurrentCall();
  COLORREF colour = 0;
  if (!call || !call->dialogDriver() || !call->dialogDriver()->TakeColourAnswer(colour)) return FALSE;
  request->rgbResult = colour;
  return TRUE;
}

void NoteHostWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  CallContext* call = CurrentCall();
  if (message == WM_USER && call)
    call->OnProgress(static_cast<int32_t>(wParam), static_cast<int64_t>(lParam));
}

}  // namespace vfhost::detail
