#pragma once
// The program's two stopwatches and its sleep call.
#include <cstdint>

namespace kestrova::platform {

// The process timer measures whole seconds of the wall clock (the "process time" of reports);
// the engine timer measures milliseconds of a monotonic clock, so a clock change cannot
// stretch or cut an engine's thinking time. One record, owned by the application object.
struct Timers {
  void restartProcessTimer();
  // Whole seconds since the last restart; the reading is kept in lastElapsedSeconds.
  int elapsedSeconds();

  void restartEngineTimer();
  // The monotonic clock in milliseconds.
  std::int64_t nowMs() const;
  // Milliseconds since the last restart of the engine timer.
  std::int64_t engineElapsedMs() const { return nowMs() - engineStartMs; }

  std::int64_t processStartSeconds = 0;
  int lastElapsedSeconds = 0;
  std::int64_t engineStartMs = 0;
};

// Sleeps for the given milliseconds (nothing for zero or less).
void sleepMs(int ms);

}  // namespace kestrova::platform
