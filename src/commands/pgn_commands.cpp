#include "commands/pgn_commands.hpp"

#include <strings.h>

#include <algorithm>

#include "pgn/board_view.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/numbers.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

// One game of the open file, taken to the depth asked: the games before it are passed over
// unread, and the loop ends with it.
class OneGame : public GameVisitor {
 public:
  OneGame(GameLoop& loop, long number) : loop_(loop), number_(number) {}
  bool wants(std::uint32_t gameNumber) override { return gameNumber == number_; }
  void onGame() override {
    found = true;
    loop_.stop();
  }
  void onLeftOut(std::string_view) override { loop_.stop(); }
  bool found = false;

 private:
  GameLoop& loop_;
  long number_;
};

void printBoard(App& app) { printDiagram(app.console, app.strings, app.chess.board, app.settings.lang); }

}  // namespace

int handleOpen(App& app, CommandLine& line) {
  const std::string& name = line.word(1);
  if (strcasecmp(name.c_str(), "pgn-out.pgn") == 0) {
    app.console.fail("\n> you can't use the output file as an input file\n> please rename this file before using it\n");
    return 1;
  }
  if (app.pgn.open(name)) {
    app.console.writeText("\n> PGN file open\n");
  } else if (!app.pgn.notRegularFile().empty()) {
    app.console.fail("\n> \"%s\" is not a regular file\n", app.pgn.notRegularFile().c_str());
  } else {
    app.console.fail("\n> unable to open the file \"%s\"\n", name.c_str());
  }
  return 1;
}

int handleCmem(App& app, CommandLine& line) {
  const long bytes = std::clamp<long>(line.number(1), 1, CommentStore::kMaxSize);
  const long total = app.game.comments.resize(static_cast<int>(bytes));
  app.console.print(colour::kNormal,
                    "\n> comment memory reallocated (%ld bytes for each move)\n> the total size for all game's "
                    "comments is now : %.1f Kb\n",
                    bytes, total / 1000.0);
  return 1;
}

int handleShow(App& app, CommandLine& line) {
  GameLoop loop(app.loopParts(), GameDepth::kReplay);
  OneGame visitor(loop, line.number(1));
  loop.run(visitor);
  if (visitor.found) printGame(app.game, app.console, app.settings.printCmt);
  return 1;
}

int handlePlay(App& app, CommandLine& line) {
  const long number = line.number(1);
  const long halfMove = line.number(2);
  if (number < 1 || halfMove < 1 || halfMove > 1000) {
    app.console.fail("\n> arguments are not in the accepted range\n");
    return 1;
  }
  // The replay stops once the asked half-move has been made.
  struct PlayTo : OneGame {
    PlayTo(GameLoop& loop, long number, Game& game, long halfMove)
        : OneGame(loop, number), game(game), halfMove(halfMove) {}
    // The half-moves count from the game's start, also when Black moves first.
    void onGameStart() override { target = static_cast<int>(halfMove) + game.firstPly() - 1; }
    bool onPly(int ply, const Board&) override { return ply != target; }
    Game& game;
    long halfMove;
    int target = 0;
  };
  GameLoop loop(app.loopParts(), GameDepth::kReplay);
  PlayTo visitor(loop, number, app.game, halfMove);
  const GameCounts counts = loop.run(visitor);
  if (counts.read == 0) app.console.fail("> there is no game %ld in this file\n", number);
  // A game left out has been named with the reason; it has no position to show.
  if (!visitor.found) return 1;
  Game& game = app.game;
  game.currentPly = std::min(game.currentPly, game.plyCount);
  printBoard(app);
  const int played = std::max(0, game.playedHalfMoves(game.currentPly));
  app.console.print(colour::kNormal, "> game %ld after the %d%s halfmove\n", number, played, ordinalSuffix(played));
  return 1;
}

int handleDebug(App& app, CommandLine& line) {
  // Steps through the game's moves from the start ply, showing each one and the board.
  struct Stepping : OneGame {
    Stepping(GameLoop& loop, long number, App& app) : OneGame(loop, number), app(app) {}
    // The half-moves count from the game's start, also when Black moves first.
    void onGameStart() override { startPly = untilLast ? app.game.plyCount : after + app.game.firstPly() - 1; }
    bool onPly(int ply, const Board&) override {
      if (ply < startPly) return true;
      app.console.print(colour::kNormal, "- played move : %s [%d]\n", app.game.plies[ply].san,
                        app.game.playedHalfMoves(ply));
      printBoard(app);
      app.console.writeText("- press 'enter' key twice to continue or 'x' to stop :");
      app.console.flush();
      const int answer = app.input.readAnswer();
      return answer != 'x' && answer != EOF;
    }
    App& app;
    bool untilLast = false;
    int after = 0;
    int startPly = 0;
  };
  GameLoop loop(app.loopParts(), GameDepth::kReplay);
  Stepping visitor(loop, line.number(1), app);
  for (std::size_t i = 2; line.hasWord(i); ++i) {
    if (!line.matchWord(i, "after")) continue;
    if (line.matchWord(i + 1, "last")) visitor.untilLast = true;
    else visitor.after = static_cast<int>(line.number(i + 1));
    break;
  }
  app.console.writeText("> processing...\n");
  loop.run(visitor);
  return 1;
}

int handleBoard(App& app, CommandLine& line) {
  printBoard(app);
  return 1;
}

}  // namespace kestrova
