#include "rating/rating_commands.hpp"

#include <cstdio>
#include <string>

#include "pgn/output_files.hpp"
#include "pgn/pgn_commands.hpp"
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
  if (line.wantsHelp()) {
    showCommandHelp(app, "elo");
    return 1;
  }
  const std::string name = outputName(line, "rating.txt");
  if (refusesAsOutput(app, name)) return 1;
  // An old list must not outlive a failed computation.
  std::remove(name.c_str());
  computeRatings(app, name);
  return 1;
}

int handleGivelo(App& app, CommandLine& line) {
  if (line.wantsHelp()) {
    showCommandHelp(app, "givelo");
    return 1;
  }
  const std::string name = outputName(line, "pgn-out.pgn");
  platform::OutputFile out;
  if (!createOutputFile(app, out, name)) {
    app.console.print(colour::kError, "> can't create the file \"%s\"\n", name.c_str());
    return 1;
  }
  app.console.writeText("\n> processing...\n");
  // Without ratings the games would be copied unchanged: stop with the computation's message.
  if (!computeRatings(app, "rating.txt")) {
    releaseRepository(app.ratings);
    return 1;
  }
  app.pgn.rewind();
  unsigned long long count = 0;
  int result;
  while ((result = app.pgn.readNextGame(app.console)) != PgnFile::kEnd) {
    // The fill has reported such games; a game the reader cannot take is not written half-read.
    if (result != PgnFile::kGame) continue;
    startGame(app, true);
    giveRating(app, kTagWhite, kTagWhiteElo);
    giveRating(app, kTagBlack, kTagBlackElo);
    writePgn(app.game, app.pgn, out, app.settings.printCmt);
    if (++count % 512 == 0) app.console.print(colour::kNormal, "%s%llu\r", "> scanning game ", count);
  }
  app.console.print(colour::kSuccess, "see %s file\n", name.c_str());
  releaseRepository(app.ratings);
  out.close();
  return 1;
}

}  // namespace kestrova
