#pragma once
// Ctrl-C stops the running command, not the program: the signal is only noted, and the long loops
// (the game loop, an engine's analysis) ask whether it came.
namespace kestrova::platform {

// Notes SIGINT instead of ending the program, and ignores SIGPIPE for good (a reader that went away
// is seen as a failed write, so that files being written are still finished).
void catchInterrupts();

// True once Ctrl-C (SIGINT) came since the last clearInterrupt().
bool interruptRequested();
void clearInterrupt();

// Notes an interrupt as Ctrl-C does (for an interrupt noticed some other way, and for tests).
void requestInterrupt();

}  // namespace kestrova::platform
