// The running call's answers to the Windows hooks; see host_call.h.
#ifdef _WIN32

#include "host_call.h"

#include "../call_context.h"
#include "../dialog_driver.h"
#include "win_hooks.h"

namespace vfhost::detail {
namespace {

constexpr SHORT kKeyDownAndPressed = static_cast<SHORT>(0x8001);

int AnswerMessageBox(void*, HWND, const char* text, const char* caption, UINT type) {
  CallContext* call = CurrentCall();
  return call ? call->OnMessageBox(text, caption, type) : IDOK;
}

// ESC counts as pressed when the call says so (--esc, Esc in the terminal),
// as in the Linux build; each poll is answered without a round trip to the
// system, which matters to filters that poll millions of times.
SHORT AnswerEscapeState(void*) {
  CallContext* call = CurrentCall();
  return call && call->OnEscapePoll() ? kKeyDownAndPressed : 0;
}

void DriveDialog(void*, HWND dialog, const char*) {
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

}  // namespace

void BeginWindowsCall() {
  vfhost::win::Hooks hooks;
  hooks.message_box = AnswerMessageBox;
  hooks.escape_state = AnswerEscapeState;
  hooks.dialog_ending = NoteDialogEnding;
  CallContext* call = CurrentCall();
  // A dialog without actions stays on the screen for the user, and so do
  // its message boxes and colour chooser.
  if (call && call->dialogDriver()) {
    if (call->dialogDriver()->HasActions()) {
      hooks.dialog_opened = DriveDialog;
      hooks.choose_colour = AnswerChooseColour;
    } else {
      hooks.close_message_boxes = false;
    }
  }
  vfhost::win::BeginCall(hooks);
}

void EndWindowsCall() {
  vfhost::win::EndCall();
}

}  // namespace vfhost::detail

#endif  // _WIN32
