// The state of one call into a plug-in: its options, the events it sent and
// the answers the host gives to the platform's questions (message boxes, the
// Esc key, the dialog, the colour chooser). One call at a time per thread;
// the platform hooks reach it through CurrentCall().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vfhost/session.h"

namespace vfhost::detail {

class DialogDriver;
class ProgressBar;
class TerminalKeys;

class CallContext {
 public:
  explicit CallContext(const RunOptions& options);
  ~CallContext();
  CallContext(const CallContext&) = delete;
  CallContext& operator=(const CallContext&) = delete;

  void OnProgress(int32_t code, int64_t value);
  // Records the message box and gives the answer of a user who presses Enter.
  int OnMessageBox(const std::string& textCp932, const std::string& captionCp932, unsigned type);
  // The answer to one ESC poll: true when the key counts as pressed.
  bool OnEscapePoll();
  void OnDialogEnded(const std::string& templateName, int64_t result);

  void SetDialogDriver(DialogDriver* driver) { dialogDriver_ = driver; }
  DialogDriver* dialogDriver() const { return dialogDriver_; }

  std::vector<Event>& events() { return events_; }
  long escPolls() const { return escPolls_; }

 private:
  const RunOptions& options_;
  std::vector<Event> events_;
  long escPolls_ = 0;
  DialogDriver* dialogDriver_ = nullptr;
  std::unique_ptr<ProgressBar> progressBar_;
  std::unique_ptr<TerminalKeys> terminalKeys_;
  CallContext* previous_;
};

CallContext* CurrentCall();

// The icon name of a message box type: error, information, warning or none.
std::string MessageIconName(unsigned type);

}  // namespace vfhost::detail
