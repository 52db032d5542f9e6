#include "pgn/replay.hpp"

#include <algorithm>

#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "chess/position_check.hpp"
#include "chess/san.hpp"
#include "chess/zobrist.hpp"
#include "pgn/game.hpp"
#include "pgn/header_lines.hpp"
#include "platform/console.hpp"

namespace kestrova {

namespace {

constexpr int moverOfPly(int ply) { return ply % 2 == 1 ? kWhite : kBlack; }

// Decodes and makes the game's half-move `ply` with the keys and clocks that follow it. A move
// that cannot be read or is not legal is not made.
ReplayResult::Status playPly(ChessCore& core, Game& game, Console& console, int ply) {
  PlyRecord& move = game.plies[ply];
  const int mover = moverOfPly(ply);
  const MoveCheck check = decodeSanMove(*core.attacks, core.board, mover, move);
  if (check == MoveCheck::kUnreadable) return ReplayResult::kUnreadableMove;
  if (check == MoveCheck::kIllegal) return ReplayResult::kIllegalMove;
  const PositionKeys& before = ply == 1 ? game.startKeys : game.plies[ply - 1].keys;
  if (!makeMove(core, move, before)) console.writeText("> zobrist hash keys corrupted !\n", colour::kError);
  if (move.flags & moveflag::kShortCastle) (mover == kWhite ? game.castled.whiteShort : game.castled.blackShort) = true;
  if (move.flags & moveflag::kLongCastle) (mover == kWhite ? game.castled.whiteLong : game.castled.blackLong) = true;
  game.previousHalfMoveClock = game.halfMoveClock;
  if ((move.flags & moveflag::kCapture) || move.piece == kPawn) game.halfMoveClock = 0;
  else ++game.halfMoveClock;
  return ReplayResult::kComplete;
}

}  // namespace

int findFenTag(const HeaderLines& header, std::string& out) {
  // Only the lines of this game: the slots beyond the count still hold an earlier game's tags.
  for (int i = 0; i < header.count; ++i) {
    const std::string& line = header.lines[static_cast<std::size_t>(i)];
    const std::size_t tag = line.find("[FEN ");
    if (tag == std::string::npos) continue;
    // The value lies after "[FEN " and its quote, up to the closing quote.
    const std::size_t start = std::min(line.size(), tag + 6);
    std::size_t end = line.rfind('"');
    if (end == std::string::npos || end < start) {
      end = line.size();
      while (end > start && (line[end - 1] == '\n' || line[end - 1] == '\r')) --end;
    }
    if (end - start <= 5) return 0;
    out.assign(line, start, end - start);
    return 1;
  }
  return 0;
}

void setStartPosition(ChessCore& core, Game& game, std::string_view fen, const HeaderLines* header) {
  game.currentPly = 0;
  game.castled = CastlingMarks{};
  game.halfMoveClock = 0;
  game.previousHalfMoveClock = 0;
  // The tag's text goes into currentFen first, which has room for it without allocating.
  if (header && findFenTag(*header, game.currentFen)) fen = game.currentFen;
  parseFen(core.board, fen);
  game.blackStarts = core.board.side == kBlack;
  game.firstMoveNumber = core.board.fullMoveNumber;
  game.startKeys = computePositionKeys(*core.zobrist, core.board, core.board.side);
  const std::string_view kept = fen.substr(0, Game::kFenCapacity);
  game.previousFen.assign(kept);
  if (kept.data() != game.currentFen.data()) game.currentFen.assign(kept);
  else game.currentFen.resize(kept.size());
}

ReplayResult replayGame(ChessCore& core, Game& game, Console& console, ReplayVisitor* visitor) {
  // The position texts cost more than the move itself: the replay keeps the board before the
  // last move made and writes both texts once, when it ends.
  Board before;
  int lastMade = 0;
  auto finish = [&](ReplayResult::Status status, int ply) {
    if (lastMade > 0) {
      const int mover = moverOfPly(lastMade);
      writeFen(before, mover, game.previousFen);
      writeFen(core.board, 1 - mover, game.currentFen);
    }
    return ReplayResult{status, ply};
  };
  for (game.currentPly = game.firstPly(); game.currentPly <= game.plyCount; ++game.currentPly) {
    const int ply = game.currentPly;
    before = core.board;
    const ReplayResult::Status played = playPly(core, game, console, ply);
    if (played != ReplayResult::kComplete) return finish(played, ply);
    lastMade = ply;
    const int menBefore = popCount(before.occupied);
    const int menAfter = popCount(core.board.occupied);
    switch (checkPosition(*core.attacks, core.board, moverOfPly(ply), menBefore, menAfter)) {
      case PositionFault::kNone: break;
      case PositionFault::kKingLeftInCheck: return finish(ReplayResult::kIllegalMove, ply);
      case PositionFault::kImplausible: return finish(ReplayResult::kIllegalPosition, ply);
    }
    if (visitor != nullptr && !visitor->onPly(ply, before)) return finish(ReplayResult::kStopped, ply);
  }
  return finish(ReplayResult::kComplete, game.plyCount);
}

int replayTo(ChessCore& core, Game& game, Console& console, int target) {
  Board before;
  for (game.currentPly = game.firstPly(); game.currentPly <= game.plyCount; ++game.currentPly) {
    const int ply = game.currentPly;
    // A game that starts with Black to move has no ply 1: its start position is before ply 2.
    if (ply == target || (target > 0 && target < game.firstPly())) return target;
    before = core.board;
    if (playPly(core, game, console, ply) != ReplayResult::kComplete) return 0;
    writeFen(before, moverOfPly(ply), game.previousFen);
    writeFen(core.board, 1 - moverOfPly(ply), game.currentFen);
  }
  return game.currentPly;
}

bool playMoveFromSquares(ChessCore& core, Game& game, Console& console, int from, int to) {
  const int ply = game.currentPly + 1;
  if (ply >= Game::kSlots || from < 0 || from > 63 || to < 0 || to > 63) return false;
  game.currentPly = ply;
  Board& board = core.board;
  if (ply < Game::kHistoryPlies) writePlacementFen(board, board.colourOn(from), game.positionHistory[ply]);
  PlyRecord& record = game.plies[ply];
  static_cast<Move&>(record) = moveFromSquares(board, from, to);
  const PositionKeys& before = ply == 1 ? game.startKeys : game.plies[ply - 1].keys;
  if (!makeMove(core, record, before)) console.writeText("> zobrist hash keys corrupted !\n", colour::kError);
  return true;
}

int takeBack(ChessCore& core, Game& game, Console& console) {
  if (game.currentPly < 1) {
    console.writeText("\n> start position\n", colour::kError);
    return 0;
  }
  if (game.currentPly < Game::kHistoryPlies) {
    parseFen(core.board, game.positionHistory[game.currentPly].data());
    --game.currentPly;
    return 1;
  }
  console.writeText("\n> too many moves. Can't take back\n", colour::kError);
  return 0;
}

}  // namespace kestrova
