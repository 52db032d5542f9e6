#include "pgn/pgn_commands.hpp"

#include <strings.h>

#include <algorithm>

#include "chess/diagram.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "pgn/movetext.hpp"
#include "pgn/pgn_writer.hpp"
#include "pgn/replay.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {
constexpr const char* kNoFile = "\n> no PGN-file in memory. Please load a pgn file\n";
}

int readGameNumber(App& app, long number) {
  app.pgn.rewind();
  int result = PgnFile::kEnd;
  for (long n = 0; n < number; ++n) {
    result = app.pgn.readNextGame(app.console);
    if (result == PgnFile::kEnd) break;
  }
  return result;
}

int startGame(App& app, bool withMoves) {
  setPositionFromFen(app.chess, app.game, kStartPosition, &app.pgn.header());
  return loadGame(app.game, app.pgn, app.console, app.settings.printCmt, withMoves);
}

int handleOpen(App& app, CommandLine& line) {
  if (line.wantsHelp() || !line.hasWord(1)) {
    showCommandHelp(app, "open");
    return 1;
  }
  const std::string& name = line.word(1);
  if (strcasecmp(name.c_str(), "pgn-out.pgn") == 0) {
    app.console.writeText("\n> you can't use the output file as an input file\n> please rename this file before using it\n",
                          colour::kError);
    return 1;
  }
  if (app.pgn.open(name)) {
    app.console.writeText("\n> PGN file open\n");
  } else {
    app.console.print(colour::kError, "\n> unable to open the file \"%s\"\n", name.c_str());
  }
  return 1;
}

int handleCmem(App& app, CommandLine& line) {
  if (line.wantsHelp() || !line.hasWord(1)) {
    showCommandHelp(app, "cmem");
    return 1;
  }
  const long bytes = std::clamp<long>(line.number(1), 1, CommentStore::kMaxSize);
  const long total = app.game.comments.resize(static_cast<int>(bytes));
  app.console.print(colour::kNormal,
                    "\n> comment memory reallocated (%ld bytes for each move)\n> the total size for all game's "
                    "comments is now : %.1f Kb\n",
                    bytes, total / 1000.0);
  return 1;
}

int handleShow(App& app, CommandLine& line) {
  if (line.wantsHelp() || !line.hasWord(1)) {
    showCommandHelp(app, "show");
    return 1;
  }
  if (readGameNumber(app, line.number(1)) == PgnFile::kEnd) return 1;
  startGame(app, true);
  printGame(app.game, app.console, app.settings.printCmt);
  return 1;
}

int handlePlay(App& app, CommandLine& line) {
  if (line.wantsHelp() || !line.hasWord(1) || !line.hasWord(2)) {
    showCommandHelp(app, "play");
    return 1;
  }
  const long number = line.number(1);
  const long halfMove = line.number(2);
  if (number < 1 || halfMove < 1 || halfMove > 1000) {
    app.console.writeText("\n> arguments are not in the accepted range\n", colour::kError);
    return 1;
  }
  if (!app.pgn.isOpen()) {
    app.console.writeText(kNoFile, colour::kError);
    return 1;
  }
  if (readGameNumber(app, number) == PgnFile::kEnd) {
    app.console.print(colour::kError, "> there is no game %ld in this file\n", number);
    return 1;
  }
  Game& game = app.game;
  startGame(app, true);
  if (replayGame(app, 0)) {
    setPositionFromFen(app.chess, game, kStartPosition, &app.pgn.header());
    const int target = std::max<int>(static_cast<int>(halfMove), game.firstPly());
    game.currentPly = game.firstPly();
    while (game.currentPly <= game.plyCount) {
      const int mover = game.currentPly % 2 == 1 ? kWhite : kBlack;
      writeFen(app.chess.board, mover, app.chess.previousFen);
      makeMove(app.chess, game, game.currentPly, app.console);
      writeFen(app.chess.board, 1 - mover, app.chess.currentFen);
      if (game.currentPly == target) break;
      ++game.currentPly;
    }
    game.currentPly = std::min(game.currentPly, game.plyCount);
  }
  printDiagram(app);
  app.console.print(colour::kNormal, "> game %ld after the %dth halfmove\n", number, game.currentPly);
  return 1;
}

int handleDebug(App& app, CommandLine& line) {
  if (line.wantsHelp() || !line.hasWord(1)) {
    showCommandHelp(app, "debug");
    return 1;
  }
  Game& game = app.game;
  game.debugGame = static_cast<int>(line.number(1));
  bool untilLast = false;
  game.debugStartPly = 0;
  for (std::size_t i = 2; line.hasWord(i); ++i) {
    if (!line.matchWord(i, "after")) continue;
    if (line.matchWord(i + 1, "last")) untilLast = true;
    else game.debugStartPly = static_cast<int>(line.number(i + 1));
    break;
  }
  if (!app.pgn.isOpen()) {
    app.console.writeText(kNoFile, colour::kError);
    return 1;
  }
  app.console.writeText("> processing...\n");
  if (readGameNumber(app, game.debugGame) == PgnFile::kEnd) return 1;
  startGame(app, true);
  if (untilLast) game.debugStartPly = game.plyCount;
  replayGame(app, 0);
  return 1;
}

}  // namespace kestrova
