#include "engine/engine_lifecycle.hpp"

#include "engine/engine_client.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"

namespace kestrova {

namespace {

// Long enough for an engine that loads a network on a busy machine.
constexpr int kRestartWaitMs = 10000;

// "uci", its "uciok", then the options: an engine may take an option only once it has named its
// options. False when the engine stays silent or ends.
bool introduce(EngineClient& engine, platform::Timers& timers) {
  engine.sendToEngine("uci\n");
  if (!waitUciOk(engine, timers, kRestartWaitMs)) return false;
  for (const std::string& option : engine.options()) {
    const std::size_t equals = option.find('=');
    std::string command = "setoption name " + option.substr(0, equals);
    if (equals != std::string::npos) command += " value " + option.substr(equals + 1);
    engine.sendToEngine(command + "\n");
  }
  engine.sendToEngine("setoption name Ponder value false\n");
  return true;
}

}  // namespace

void startConfiguredEngine(EngineClient& engine, std::string_view commandLine, const std::vector<std::string>& options,
                           platform::Timers& timers, Console& console) {
  engine.createEngineClient(commandLine, options);
  if (!engine.startEngine(EngineClient::kNormal)) {
    console.writeText("- no chess engine loaded\n");
    return;
  }
  if (!introduce(engine, timers)) {
    engine.terminateEngine();
    console.print(colour::kError, "- the chess engine (%s) does not answer \"uci\": no chess engine loaded (see %s)\n",
                  engine.commandLine().c_str(), EngineClient::kLogFile);
    return;
  }
  console.print(colour::kSuccess, "- a chess engine (%s) has been successfully loaded !\n",
                engine.commandLine().c_str());
  console.writeText("> you may have to use 'exit' in order to correctly unload the engine\n",
                    colour::kError);
  engine.setEnginePriority(EngineClient::kIdle);
}

bool restartEngine(EngineClient& engine, platform::Timers& timers) {
  stopEngine(engine);
  if (!engine.startEngine(EngineClient::kNormal)) return false;
  if (!introduce(engine, timers) || !waitReady(engine, timers, kRestartWaitMs)) {
    engine.terminateEngine();
    return false;
  }
  engine.setEnginePriority(EngineClient::kIdle);
  return true;
}

void stopEngine(EngineClient& engine) {
  if (engine.processId() >= 0) engine.terminateEngine();
}

}  // namespace kestrova
