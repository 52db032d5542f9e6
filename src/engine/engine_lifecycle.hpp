#pragma once
// The engine's part in the program's start-up and exit.
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class Console;
class EngineClient;
namespace platform {
struct Timers;
}

// Starts the engine from its command line (the configured engineFile; empty for none), introduces
// it with "uci", gives it the options ("Name=Value" each, as engineOption lines hold them) and
// lowers it to idle priority, reporting on the console whether an engine was loaded.
void startConfiguredEngine(EngineClient& engine, std::string_view commandLine, const std::vector<std::string>& options,
                           platform::Timers& timers, Console& console);

// Starts the engine again from the command line it was started from, with the same options, after
// it died or was killed, and checks that it answers. False, with no process left, when it cannot
// be started or stays silent.
bool restartEngine(EngineClient& engine, platform::Timers& timers);

// Kills the engine if one is still there; no "quit" is sent.
void stopEngine(EngineClient& engine);

}  // namespace kestrova
