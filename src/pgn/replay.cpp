#include "pgn/replay.hpp"

#include "chess/diagram.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "chess/san.hpp"
#include "scan/report_writer.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

// Decodes the current ply; reports an unreadable move.
bool decodeCurrent(App& app) {
  Game& game = app.game;
  const int ply = game.currentPly;
  if (decodeSanMove(app.chess, game, ply)) return true;
  app.console.print(colour::kError,
                    "> can't read the string %s. Check this move or the previous ones. Game skipped\n",
                    game.plies[ply].san);
  return false;
}

// Makes the current ply with the position texts before and after it.
void makeCurrent(App& app) {
  Game& game = app.game;
  const int ply = game.currentPly;
  const int mover = ply % 2 == 1 ? kWhite : kBlack;
  writeFen(app.chess.board, mover, app.chess.previousFen);
  makeMove(app.chess, game, ply, app.console);
  writeFen(app.chess.board, 1 - mover, app.chess.currentFen);
}

// Debug stepping at this ply: shows the move and the board and waits. Returns false when the
// user stops the stepping (or the input ends).
bool stepOver(App& app) {
  Game& game = app.game;
  app.console.print(colour::kNormal, "- played move : %s [%d]\n", game.plies[game.currentPly].san, game.currentPly);
  printDiagram(app);
  app.console.writeText("- press 'enter' key twice to continue or 'x' to stop :");
  app.console.flush();
  const int answer = app.input.readAnswer();
  return answer != 'x' && answer != EOF;
}

}  // namespace

int replayGame(App& app, int hookFlags, ReplayHooks* hooks) {
  Game& game = app.game;
  // The position texts cost more than the move itself. The scan's rules read them after every
  // ply; otherwise only their final value counts (the EPD search compares keys), so the replay
  // keeps the board before the last move made and writes both texts once, when it ends.
  const bool textsEveryPly = hooks != nullptr && (hookFlags & replay::kMoveRules) != 0;
  Board before;
  int lastMade = 0;
  auto finish = [&](int result) {
    if (!textsEveryPly && lastMade > 0) {
      const int mover = lastMade % 2 == 1 ? kWhite : kBlack;
      writeFen(before, mover, app.chess.previousFen);
      writeFen(app.chess.board, 1 - mover, app.chess.currentFen);
      lastMade = 0;
    }
    return result;
  };
  game.currentPly = game.firstPly();
  while (game.currentPly <= game.plyCount) {
    const int ply = game.currentPly;
    if (!decodeCurrent(app)) return finish(0);
    const int menBefore = popCount(app.chess.board.occupied);
    if (textsEveryPly) {
      makeCurrent(app);
    } else {
      before = app.chess.board;
      makeMove(app.chess, game, ply, app.console);
      lastMade = ply;
    }
    const int menAfter = popCount(app.chess.board.occupied);
    const PlyRecord& move = game.plies[ply];
    game.previousHalfMoveClock = game.halfMoveClock;
    if ((move.flags & moveflag::kCapture) || move.piece == kPawn) game.halfMoveClock = 0;
    else ++game.halfMoveClock;
    if (game.halfMoveClock > game.maxHalfMoveClock) game.maxHalfMoveClock = game.halfMoveClock;
    if (!reportIllegalPosition(app, ply, menBefore, menAfter)) return finish(0);
    if (game.debugGame == static_cast<int>(app.pgn.gameNumber()) && ply >= game.debugStartPly) {
      if (!stepOver(app)) return finish(1);
    } else if (hooks != nullptr) {
      if (hookFlags & replay::kEpdSearch) hooks->matchEpdAfterPly(app, ply);
      if (hookFlags & replay::kMoveRules) hooks->runMoveRules(app, ply);
    }
    ++game.currentPly;
  }
  finish(1);
  if ((hookFlags & replay::kGameEndRules) && hooks != nullptr) hooks->runGameEndRules(app, game.plyCount);
  return 1;
}

int replayTo(App& app, int target) {
  Game& game = app.game;
  game.currentPly = game.firstPly();
  while (game.currentPly <= game.plyCount) {
    // A game that starts with Black to move has no ply 1: its start position is before ply 2.
    if (game.currentPly == target || (target > 0 && target < game.firstPly())) return target;
    if (!decodeCurrent(app)) return 0;
    makeCurrent(app);
    ++game.currentPly;
  }
  return game.currentPly;
}

int takeBack(App& app) {
  Game& game = app.game;
  if (game.currentPly < 1) {
    app.console.writeText("\n> start position\n", colour::kError);
    return 0;
  }
  if (game.currentPly < Game::kHistoryPlies) {
    parseFen(app.chess.board, game.positionHistory[game.currentPly].data());
    --game.currentPly;
    return 1;
  }
  app.console.writeText("\n> too many moves. Can't take back\n", colour::kError);
  return 0;
}

}  // namespace kestrova
