#pragma once
// The engine's part in the program's start-up and exit.
#include <string_view>

namespace kestrova {

class Console;
class EngineClient;
namespace platform {
struct Timers;
}

// Starts the engine at the path (the configured engineFile; empty for none), introduces it with
// "uci" and lowers it to idle priority, reporting on the console whether an engine was loaded.
// Its answers to "uci" stay in the pipe for the next exchange.
void startConfiguredEngine(EngineClient& engine, std::string_view path, Console& console);

// Starts the engine again at the path it was started from, after it died or was killed, and
// checks that it answers. False, with no process left, when it cannot be started or stays silent.
bool restartEngine(EngineClient& engine, platform::Timers& timers);

// Kills the engine if one is still there; no "quit" is sent.
void stopEngine(EngineClient& engine);

}  // namespace kestrova
