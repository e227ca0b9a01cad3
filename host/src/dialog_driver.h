// Drives a plug-in's open dialog with the messages a user's clicks send, and
// reads its controls when it ends. Only ordinary Win32 calls on the dialog
// handle, so the same code drives our platform layer's dialogs and the real
// system's.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "frame/win_api.h"
#include "vfhost/session.h"

namespace vfhost::detail {

class DialogDriver {
 public:
  explicit DialogDriver(std::vector<DialogAction> actions) : actions_(std::move(actions)) {}

  // Performs the actions not yet done, in order, until the dialog ends; a
  // dialog still open after the last one is closed with the close box. An
  // action that cannot be performed ends the driving: the dialog is closed
  // and the reason kept in errors().
  void DriveOpenedDialog(HWND dialog);
  // The dialog is ending: its controls are read into state().
  void NoteDialogEnding(HWND dialog, const std::string& templateName);
  // The answer for the colour chooser, queued by --choose-colour; false
  // (cancel) when none is waiting.
  bool TakeColourAnswer(COLORREF& colour);
  bool HasActions() const { return !actions_.empty(); }

  const std::optional<DialogState>& state() const { return state_; }
  const std::vector<std::string>& errors() const { return errors_; }

 private:
  std::string Perform(HWND dialog, const DialogAction& action);
  std::string PressUpDown(HWND dialog, const DialogAction& action);
  bool Ended(HWND dialog) const;

  std::vector<DialogAction> actions_;
  size_t next_ = 0;
  HWND endedDialog_ = nullptr;
  std::deque<COLORREF> colourAnswers_;
  std::optional<DialogState> state_;
  std::vector<std::string> errors_;
};

// The controls of a dialog: class names lowercased (msctls_updown32 as
// "updown"), texts in UTF-8, in the order of the dialog's child windows.
DialogState ReadDialogState(HWND dialog, const std::string& templateName);

}  // namespace vfhost::detail
