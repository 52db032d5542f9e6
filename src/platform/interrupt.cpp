#include "platform/interrupt.hpp"

#include <signal.h>

namespace kestrova::platform {

namespace {

// The one piece of state a signal handler may touch.
volatile sig_atomic_t interrupted = 0;

void noteInterrupt(int) { interrupted = 1; }

}  // namespace

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = noteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

bool interruptRequested() { return interrupted != 0; }

void clearInterrupt() { interrupted = 0; }

void requestInterrupt() { interrupted = 1; }

}  // namespace kestrova::platform
