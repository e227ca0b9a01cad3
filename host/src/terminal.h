// What `vfhost run` does on a terminal: the progress bar on standard error
// and the Esc key read from standard input.
#pragma once

#include <cstdint>

namespace vfhost::detail {

// Reads keys from standard input while it is a terminal, in raw mode without
// echo and without blocking; the terminal's settings are restored when the
// object ends, at exit and on the usual fatal signals.
class TerminalKeys {
 public:
  explicit TerminalKeys(bool enable);
  ~TerminalKeys();
  TerminalKeys(const TerminalKeys&) = delete;
  TerminalKeys& operator=(const TerminalKeys&) = delete;

  bool active() const { return active_; }
  // True when Esc has been typed since the previous question.
  bool EscapeTyped();

 private:
  bool active_ = false;
};

// A one-line bar on standard error, drawn from the progress messages.
class ProgressBar {
 public:
  explicit ProgressBar(bool enable) : enabled_(enable) {}
  ~ProgressBar() { Clear(); }
  void Update(int32_t code, int64_t value);
  // Removes the bar (before a message is printed, and at the end).
  void Clear();

 private:
  bool enabled_;
  bool drawn_ = false;
  int64_t lastPercent_ = -1;
};

bool StandardErrorIsTerminal();
bool StandardInputIsTerminal();

}  // namespace vfhost::detail
