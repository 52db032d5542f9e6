#include "configured_app.hpp"

#include <string>

#include "chess/fen.hpp"
#include "pgn/replay.hpp"
#include "pgn/tag_table.hpp"
#include "platform/config_file.hpp"
#include "shell/settings.hpp"

namespace kestrova::bench {

std::unique_ptr<App> configuredApp() {
  auto app = std::make_unique<App>(Console::capturing(), platform::Input(""));
  platform::ConfigFile config;
  config.read(std::string(KESTROVA_SOURCE_DIR) + "/data/kestrova.ini");
  readSettings(app->settings, config);
  app->pgn.create(app->console, app->settings.gameBufferSize, app->settings.lineBufferSize,
                  app->settings.saveBufferSize);
  setStartPosition(app->chess, app->game, kStartPosition);
  app->chess.keyCheck = true;
  readOutputEnabledTags(app->game.tags, config);
  app->console.takeCaptured();
  return app;
}

}  // namespace kestrova::bench
