#include "configured_app.hpp"

#include <string>

#include "chess/fen.hpp"
#include "pgn/tag_table.hpp"
#include "shell/settings.hpp"

namespace kestrova::bench {

std::unique_ptr<App> configuredApp() {
  auto app = std::make_unique<App>(Console::capturing(), platform::Input(""));
  const std::string config = std::string(KESTROVA_SOURCE_DIR) + "/data/kestrova.ini";
  readSettings(app->settings, app->console, config.c_str());
  app->pgn.create(app->console, app->settings.gameBufferSize, app->settings.lineBufferSize,
                  app->settings.saveBufferSize);
  setPositionFromFen(app->chess, app->game, kStartPosition);
  app->chess.keyCheck = true;
  readOutputEnabledTags(app->game.tags, app->console, config.c_str());
  app->console.takeCaptured();
  return app;
}

}  // namespace kestrova::bench
