// The running call's answers to the Windows hooks; see host_call.h.
#ifdef _WIN32

#include "host_call.h"

#include "../call_context.h"
#include "../call_hooks.h"
#include "../dialog_driver.h"
#include "win_hooks.h"

namespace vfhost::detail {
namespace {

// ESC counts as pressed when the call says so (--esc, Esc in the terminal),
// as in the Linux build; each poll is answered without a round trip to the
// system, which matters to filters that poll millions of times.
SHORT AnswerEscapeState(void*) {
  return EscapePollPressed() ? kKeyDownAndPressed : 0;
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
      hooks.dialog_opened = DriveOpenedDialog;
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
