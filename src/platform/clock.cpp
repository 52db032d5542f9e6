#include "platform/clock.hpp"

#include <chrono>
#include <thread>

namespace kestrova::platform {

namespace {
std::int64_t wallSeconds() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}
}  // namespace

void Timers::restartProcessTimer() { processStartSeconds = wallSeconds(); }

int Timers::elapsedSeconds() {
  lastElapsedSeconds = static_cast<int>(wallSeconds() - processStartSeconds);
  return lastElapsedSeconds;
}

void Timers::restartEngineTimer() { engineStartMs = nowMs(); }

std::int64_t Timers::nowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace kestrova::platform
