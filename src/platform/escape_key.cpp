#include "platform/escape_key.hpp"

#include <unistd.h>

#include <ctime>

namespace kestrova::platform {

namespace {

constexpr unsigned char kEscape = 0x1b;
constexpr unsigned char kCtrlC = 0x03;

sigset_t interruptSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  return set;
}

// Takes a pending SIGINT, if any, without waiting.
bool takePendingInterrupt() {
  const sigset_t set = interruptSet();
  const timespec zero{0, 0};
  bool taken = false;
  while (sigtimedwait(&set, nullptr, &zero) == SIGINT) taken = true;
  return taken;
}

}  // namespace

void EscapeKey::begin() {
  if (active_) return;
  active_ = true;
  const sigset_t set = interruptSet();
  sigprocmask(SIG_BLOCK, &set, &previousMask_);
  terminal_ = isatty(STDIN_FILENO) == 1 && tcgetattr(STDIN_FILENO, &saved_) == 0;
  if (terminal_) {
    termios raw = saved_;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG));
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    terminal_ = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
  }
}

void EscapeKey::end() {
  if (!active_) return;
  active_ = false;
  if (terminal_) tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
  terminal_ = false;
  // A Ctrl-C that came while watching was an answer, not a request to end the program.
  takePendingInterrupt();
  sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
}

bool EscapeKey::pressed() {
  if (!active_) return false;
  bool asked = takePendingInterrupt();
  if (!terminal_) return asked;
  unsigned char bytes[64];
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      if (bytes[i] == kCtrlC) asked = true;
      // An arrow or function key also starts with ESC, followed at once by '[' or 'O'.
      if (bytes[i] == kEscape && (i + 1 == n || (bytes[i + 1] != '[' && bytes[i + 1] != 'O'))) asked = true;
    }
  }
  return asked;
}

}  // namespace kestrova::platform
