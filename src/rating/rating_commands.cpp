#include "rating/rating_commands.hpp"

#include <cstdio>
#include <string>

#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/output_file.hpp"
#include "rating/rating_computation.hpp"
#include "rating/rating_repository.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

std::string outputName(const CommandLine& line, const char* defaultName) {
  return line.findOption("-out=") ? std::string(line.optionValue("-out=")) : defaultName;
}

// The computed rating into the Elo tag; a player without a rating keeps the game's own value.
void giveRating(App& app, int nameTag, int eloTag) {
  const PlayerRating* player = findPlayer(app.ratings, app.game.tags.value(nameTag));
  if (player == nullptr || player->countedGames == 0) return;
  app.game.tags.setValue(eloTag, std::to_string(player->rating));
}

}  // namespace

int handleElo(App& app, CommandLine& line) {
  const std::string name = outputName(line, "rating.txt");
  if (refusesAsOutput(app.console, app.pgn, name)) return 1;
  if (!computeRatings(app.ratings, app.settings.rating, app.loopParts(), app.timers, name) && !app.console.failed()) {
    app.console.fail("> no rating list written\n");
  }
  return 1;
}

int handleGivelo(App& app, CommandLine& line) {
  const std::string name = outputName(line, "pgn-out.pgn");
  // The rating list is an output too: the two may not be one file.
  if (refusesOutputs(app.console, app.pgn, {name, "rating.txt"})) return 1;
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, name)) return 1;
  app.console.writeText("\n> processing...\n");
  // Without ratings the games would be copied unchanged: stop with the computation's message.
  if (!computeRatings(app.ratings, app.settings.rating, app.loopParts(), app.timers, "rating.txt")) {
    if (!app.console.failed()) app.console.fail("> no rating list written: no game written\n");
    releaseRepository(app.ratings);
    return 1;
  }
  struct Giving : GameVisitor {
    Giving(App& app, platform::OutputFile& out) : app(app), out(out) {}
    void onGame() override {
      giveRating(app, kTagWhite, kTagWhiteElo);
      giveRating(app, kTagBlack, kTagBlackElo);
      writePgn(app.game, app.pgn, out, app.settings.printCmt);
    }
    App& app;
    platform::OutputFile& out;
  } visitor(app, out);
  GameLoop loop(app.loopParts(), GameDepth::kReplay);
  loop.showProgress("> scanning game ", 512);
  printGameCounts(app.console, loop.run(visitor));
  releaseRepository(app.ratings);
  if (finishOutput(app.console, out)) app.console.print(colour::kSuccess, "see %s file\n", name.c_str());
  return 1;
}

}  // namespace kestrova
