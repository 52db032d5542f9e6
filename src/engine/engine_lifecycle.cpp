#include "engine/engine_lifecycle.hpp"

#include "engine/engine_client.hpp"
#include "platform/console.hpp"

namespace kestrova {

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

void stopEngine(EngineClient& engine) {
  if (engine.processId() >= 0) engine.terminateEngine();
}

}  // namespace kestrova
