#pragma once
// Asking, without waiting, whether the user wants a long walk to stop: the escape key of a
// terminal on standard input, or Ctrl-C.
#include <signal.h>
#include <termios.h>

namespace kestrova::platform {

// What a long loop polls between steps; tests give their own.
class EscapePoll {
 public:
  virtual ~EscapePoll() = default;
  // Begins watching (the terminal changes mode); questions read through the input come after end().
  virtual void begin() {}
  virtual void end() {}
  // True when a stop was asked for since the last call. Never blocks.
  virtual bool pressed() = 0;
};

// Between begin() and end(): a terminal on standard input is in non-canonical mode without echo
// and without signal keys, so ESC and Ctrl-C arrive as bytes and Ctrl-C never reaches the engine
// (which shares the terminal's process group); SIGINT from elsewhere is held pending instead of
// ending the program, and counts as the same request. end() (or destruction) restores both.
class EscapeKey final : public EscapePoll {
 public:
  EscapeKey() = default;
  ~EscapeKey() override { end(); }
  EscapeKey(const EscapeKey&) = delete;
  EscapeKey& operator=(const EscapeKey&) = delete;

  void begin() override;
  void end() override;
  bool pressed() override;

 private:
  bool active_ = false;
  bool terminal_ = false;
  termios saved_{};
  sigset_t previousMask_{};
};

}  // namespace kestrova::platform
