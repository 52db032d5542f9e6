#include "pgn/game_loop.hpp"

#include <cinttypes>
#include <cstdio>

#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "pgn/board_view.hpp"
#include "pgn/game.hpp"
#include "pgn/movetext.hpp"
#include "pgn/pgn_file.hpp"
#include "pgn/report_text.hpp"
#include "platform/console.hpp"

namespace kestrova {

std::uint32_t GameLoop::gameNumber() const { return parts_.pgn.gameNumber(); }

GameCounts GameLoop::run(GameVisitor& visitor) {
  PgnFile& pgn = parts_.pgn;
  Game& game = parts_.game;
  visitor_ = &visitor;
  counts_ = GameCounts{};
  stopped_ = false;
  pgn.rewind();
  for (int read; !stopped_ && (read = pgn.readNextGame(parts_.console)) != PgnFile::kEnd;) {
    if (!visitor.wants(pgn.gameNumber())) continue;
    ++counts_.read;
    currentLeftOut_ = false;
    if (progressEvery_ != 0 && counts_.read % progressEvery_ == 0) {
      parts_.console.print(colour::kNormal, "%s%" PRIu64 "\r", progressLabel_, counts_.read);
    }
    if (read == PgnFile::kTooLarge) {
      leaveOut("larger than the game or line buffer");
      continue;
    }
    if (read == PgnFile::kSkip) {
      leaveOut("moves list not loadable");
      continue;
    }
    setStartPosition(parts_.chess, game, kStartPosition, &pgn.header());
    movesLoaded_ = depth_ != GameDepth::kTags;
    if (!loadGame(game, pgn, parts_.printCmt, movesLoaded_)) {
      leaveOut("more half-moves than a game holds (800 half moves max)");
      continue;
    }
    if (depth_ == GameDepth::kReplay && !replay(visitor)) continue;
    visitor.onGame();
    if (!currentLeftOut_) ++counts_.used;
  }
  visitor_ = nullptr;
  return counts_;
}

std::uint64_t GameLoop::countGames() {
  PgnFile& pgn = parts_.pgn;
  pgn.rewind();
  std::uint64_t games = 0;
  while (pgn.readNextGame(parts_.console) != PgnFile::kEnd) ++games;
  return games;
}

bool GameLoop::replay(GameVisitor& visitor) {
  Game& game = parts_.game;
  visitor.onGameStart();
  const ReplayResult result = replayGame(parts_.chess, game, parts_.console, &visitor);
  if (result.status == ReplayResult::kUnreadableMove) {
    char reason[64];
    std::snprintf(reason, sizeof reason, "can't read the move \"%s\" (half-move %d)", game.plies[result.ply].san,
                  result.ply);
    leaveOut(reason);
    return false;
  }
  if (result.status == ReplayResult::kIllegalPosition) {
    reportIllegalPosition(result.ply);
    return false;
  }
  return true;
}

bool GameLoop::loadMoves() {
  if (movesLoaded_) return true;
  movesLoaded_ = true;
  if (loadGame(parts_.game, parts_.pgn, parts_.printCmt, true)) return true;
  leaveOut("more half-moves than a game holds (800 half moves max)");
  return false;
}

void GameLoop::leaveOut(std::string_view reason) {
  if (currentLeftOut_) return;
  report_.clear();
  char head[40];
  std::snprintf(head, sizeof head, "> %u: game left out: ", parts_.pgn.gameNumber());
  report_ += head;
  report_ += reason;
  report_ += '\n';
  leftOut(report_);
}

void GameLoop::reportIllegalPosition(int ply) {
  const Game& game = parts_.game;
  report_ = std::to_string(parts_.pgn.gameNumber()) + ":>illegal position found after ";
  appendMoveNumber(report_, ply);
  report_ += game.plies[ply].san;
  report_ += " !";
  padLine(report_);
  appendPlayers(report_, game.tags);
  report_ += '\n';
  const bool whiteMoved = ply % 2 == 1;
  if ((whiteMoved && game.resultScore != 0) || (!whiteMoved && game.resultScore != 100)) {
    report_ += "    Warning !, " + game.tags.value(whiteMoved ? kTagWhite : kTagBlack) +
               " should have lost due to illegal move\n";
  }
  printDiagram(parts_.console, parts_.strings, parts_.chess.board, parts_.language);
  leftOut(report_);
}

void GameLoop::leftOut(std::string_view report) {
  currentLeftOut_ = true;
  ++counts_.leftOut;
  parts_.console.writeText(report, colour::kError);
  if (visitor_ != nullptr) visitor_->onLeftOut(report);
}

void printGameCounts(Console& console, const GameCounts& counts) {
  console.print(counts.leftOut > 0 ? colour::kError : colour::kNormal,
                "> %" PRIu64 " games read, %" PRIu64 " used, %" PRIu64 " left out\n", counts.read, counts.used,
                counts.leftOut);
}

}  // namespace kestrova
