// The terminal side of `vfhost run`: raw, non-blocking key reading for the
// Esc key (POSIX terminals) and the progress bar.
#include "terminal.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#endif

namespace vfhost::detail {

#ifdef _WIN32

// On Windows the plug-ins ask the system for the Esc key themselves.
TerminalKeys::TerminalKeys(bool) {}
TerminalKeys::~TerminalKeys() {}
bool TerminalKeys::EscapeTyped() {
  return false;
}
bool StandardErrorIsTerminal() {
  return _isatty(2) != 0;
}
bool StandardInputIsTerminal() {
  return _isatty(0) != 0;
}

#else

namespace {

struct termios gSavedSettings;
volatile sig_atomic_t gRawMode = 0;

void RestoreTerminal() {
  if (gRawMode) {
    tcsetattr(STDIN_FILENO, TCSANOW, &gSavedSettings);
    gRawMode = 0;
  }
}

void RestoreAndReraise(int signalNumber) {
  RestoreTerminal();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

void InstallRestorers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  std::atexit(RestoreTerminal);
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE})
    std::signal(signalNumber, RestoreAndReraise);
}

}  // namespace

TerminalKeys::TerminalKeys(bool enable) {
  if (!enable || !isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &gSavedSettings) != 0) return;
  InstallRestorers();
  struct termios raw = gSavedSettings;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return;
  gRawMode = 1;
  active_ = true;
}

TerminalKeys::~TerminalKeys() {
  if (active_) RestoreTerminal();
}

bool TerminalKeys::EscapeTyped() {
  if (!active_) return false;
  bool escape = false;
  struct pollfd input = {STDIN_FILENO, POLLIN, 0};
  while (poll(&input, 1, 0) > 0 && (input.revents & POLLIN)) {
    char keys[64];
    const ssize_t count = read(STDIN_FILENO, keys, sizeof keys);
    if (count <= 0) break;
    // An arrow or function key also starts with ESC; only a lone ESC byte
    // in a read is the Esc key itself.
    for (ssize_t i = 0; i < count; ++i)
      if (keys[i] == 0x1B && (i + 1 == count || (keys[i + 1] != '[' && keys[i + 1] != 'O'))) escape = true;
  }
  return escape;
}

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) != 0;
}
bool StandardInputIsTerminal() {
  return isatty(STDIN_FILENO) != 0;
}

#endif

void ProgressBar::Update(int32_t code, int64_t value) {
  if (!enabled_) return;
  constexpr int32_t kProgressEnd = 0, kPercent = 3, kPercent2 = 8;
  if (code == kProgressEnd) {
    Clear();
    return;
  }
  if (code != kPercent && code != kPercent2) return;
  const int64_t percent = value < 0 ? 0 : value > 100 ? 100 : value;
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  constexpr int kWidth = 40;
  const int filled = static_cast<int>(percent * kWidth / 100);
  const std::string bar = std::string(static_cast<size_t>(filled), '#') + std::string(kWidth - filled, '.');
  std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), static_cast<int>(percent));
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressBar::Clear() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r%*s\r", 48, "");
  std::fflush(stderr);
  drawn_ = false;
  lastPercent_ = -1;
}

}  // namespace vfhost::detail
