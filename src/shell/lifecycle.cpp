#include "shell/lifecycle.hpp"

#include "book/book_lifecycle.hpp"
#include "chess/attack_tables.hpp"
#include "chess/fen.hpp"
#include "chess/zobrist.hpp"
#include "engine/engine_lifecycle.hpp"
#include "pgn/tag_table.hpp"
#include "platform/config_file.hpp"
#include "scan/detection_settings.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

// The framed banner with the program name and version and three coloured cells.
void printBanner(App& app) {
  StringManager& sm = app.strings;
  sm.clearText();
  std::string& text = sm.text();
  text = "+---------------------+\n| ";
  const std::size_t nameStart = text.size();
  text += "kestrova ";
  text += Settings::kVersion;
  text += ' ';
  sm.addRun(colour::kBanner, nameStart, text.size() - 1);
  const int cells[] = {144, 240, 192};
  for (int cell : cells) {
    sm.addRun(cell, text.size(), text.size());
    text += ' ';
  }
  while (text.size() < 24 + 22) text += ' ';
  text += "|\n+---------------------+\n";
  sm.addRunEnd();
  app.console.writeText(text, colour::kBright, sm.runs().data());
}

}  // namespace

void startUp(App& app) {
  app.history.load();
  printBanner(app);
  app.settings = Settings{};
  // One reading of the configuration serves its three passes: settings, detections, output tags.
  platform::ConfigFile config;
  app.configFile = findConfigFile();
  const bool configRead = config.read(app.configFile);
  if (!configRead) {
    app.console.writeText(
        "> no \"kestrova.ini\" in the working directory, in ~/.config/kestrova or installed: the defaults are used\n",
        colour::kError);
  }
  for (const std::string& problem : readSettings(app.settings, config)) app.console.writeText(problem, colour::kError);
  app.console.writeText("\n\n[SYSTEM]\n", colour::kTitle);
  if (configRead) app.console.print(colour::kNormal, "- configuration read from \"%s\"\n", app.configFile.c_str());
  if (app.history.isForeign()) {
    app.console.writeText("- the file \"r\" is no command history: it is left alone, and commands are not kept\n",
                          colour::kError);
  }
  app.chess.zobrist = generateZobristKeys(1);
  app.chess.attacks = buildAttackTables();
  app.console.writeText("- bitboards initialized\n", colour::kNormal);
  app.strings.announce(app.console);
  // The Game exists with the application object; the PGN file's buffers are sized here.
  app.pgn.create(app.console, app.settings.gameBufferSize, app.settings.lineBufferSize,
                 app.settings.saveBufferSize);
  setStartPosition(app.chess, app.game, kStartPosition);
  loadDetectionSettings(app.detections, config);
  app.tournaments.reset();
  loadBookAtStartUp(app.book, app.console, app.settings.bkNumBase, app.settings.bkHashSz);
  app.console.print(colour::kNormal, "- commentary size per move : %d bytes\n", app.game.comments.size());
  // Moves made from here on are checked against a full key computation.
  app.chess.keyCheck = true;
  readOutputEnabledTags(app.game.tags, config);
  startConfiguredEngine(app.engine, app.settings.engineFile, app.settings.engineOptions, app.timers, app.console);
  app.console.writeText("\n[INFO]\n", colour::kTitle);
  app.console.writeText(
      "- type 'help' for informations on Kestrova's commands\n"
      "- type ' /?' or ' /help' just after a command to show its syntax\n"
      "- for more legibility, please widen the terminal to 120 columns or more\n\n");
  app.console.flush();
}

void shutDown(App& app) {
  stopEngine(app.engine);
  releaseBook(app.book);
  app.console.writeText("- A bientot ;o)...\n\n", colour::kSuccess);
  app.console.flush();
  app.finished = true;
}

}  // namespace kestrova
