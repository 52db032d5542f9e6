#include "engine/engine_lifecycle.hpp"

#include "engine/engine_client.hpp"
#include "platform/console.hpp"

namespace kestrova {

namespace {

// Long enough for an engine that loads a network on a busy machine.
constexpr int kRestartWaitMs = 10000;

}  // namespace

void startConfiguredEngine(EngineClient& engine, std::string_view path, Console& console) {
  engine.createEngineClient(path);
  if (!engine.startEngine(EngineClient::kNormal)) {
    console.writeText("- no chess engine loaded\n");
    return;
  }
  engine.sendToEngine("uci\n");
  engine.waitForEngine(100);
  console.print(colour::kSuccess, "- a chess engine (%s) has been successfully loaded !\n",
                engine.path().c_str());
  console.writeText("> you may have to use 'exit' in order to correctly unload the engine\n",
                    colour::kError);
  engine.setEnginePriority(EngineClient::kIdle);
}

bool restartEngine(EngineClient& engine, platform::Timers& timers) {
  stopEngine(engine);
  if (!engine.startEngine(EngineClient::kNormal)) return false;
  engine.sendToEngine("uci\n");
  if (!waitReady(engine, timers, kRestartWaitMs)) {
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
