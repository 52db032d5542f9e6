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
#include "platform/interrupt.hpp"

namespace kestrova {

std::uint32_t GameLoop::gameNumber() const { return parts_.pgn.gameNumber(); }

GameCounts GameLoop::run(GameVisitor& visitor, GameWorkers* chooser) {
  PgnFile& pgn = parts_.pgn;
  visitor_ = &visitor;
  counts_ = GameCounts{};
  stopped_ = false;
  pgn.rewind();
  for (int read; !stopped_ && (read = pgn.readNextGame(parts_.console)) != PgnFile::kEnd;) {
    // Ctrl-C ends the loop between two games: what the command has done so far stays whole.
    if (platform::interruptRequested()) {
      parts_.console.print(colour::kError, "> interrupted by Ctrl-C after %" PRIu64 " games\n", counts_.read);
      break;
    }
    const std::uint32_t number = pgn.gameNumber();
    if (!visitor.wants(number) || (chooser != nullptr && !chooser->wants(number))) continue;
    if (progressEvery_ != 0 && (counts_.read + 1) % progressEvery_ == 0) {
      parts_.console.progress("%s%" PRIu64 "\r", progressLabel_, counts_.read + 1);
    }
    handleGame(visitor, read);
  }
  visitor_ = nullptr;
  return counts_;
}

void GameLoop::beginGames(GameVisitor& visitor) {
  visitor_ = &visitor;
  counts_ = GameCounts{};
}

void GameLoop::takeGame(int readResult) { handleGame(*visitor_, readResult); }

void GameLoop::handleGame(GameVisitor& visitor, int read) {
  ++counts_.read;
  currentLeftOut_ = false;
  textWhole_ = read != PgnFile::kTooLarge;
  if (read == PgnFile::kTooLarge) {
    leaveOut("larger than the game or line buffer (gBufSz)");
    return;
  }
  setStartPosition(parts_.chess, parts_.game, kStartPosition, &parts_.pgn.header());
  movesLoaded_ = false;
  if (depth_ == GameDepth::kTags) loadGame(parts_.game, parts_.pgn, parts_.printCmt, false);
  else if (!loadAndReplay(&visitor)) return;
  visitor.onGame();
  if (!currentLeftOut_) ++counts_.used;
}

std::uint64_t GameLoop::countGames() {
  PgnFile& pgn = parts_.pgn;
  pgn.rewind();
  std::uint64_t games = 0;
  while (pgn.readNextGame(parts_.console) != PgnFile::kEnd) ++games;
  return games;
}

bool GameLoop::loadAndReplay(GameVisitor* visitor) {
  Game& game = parts_.game;
  movesLoaded_ = true;
  if (loadGame(game, parts_.pgn, parts_.printCmt, true) != LoadResult::kLoaded) {
    leaveOut("more half-moves than a game holds (800 half moves max)");
    return false;
  }
  if (visitor != nullptr) visitor->onGameStart();
  const ReplayResult result = replayGame(parts_.chess, game, parts_.console, visitor);
  if (result.ok()) return true;
  reportIllegal(result);
  return false;
}

bool GameLoop::loadMoves() {
  if (movesLoaded_) return !currentLeftOut_;
  // The board stands at the game's start position, set before its tags were loaded.
  return loadAndReplay(nullptr);
}

void GameLoop::leaveOut(std::string_view reason) {
  if (currentLeftOut_) return;
  char head[40];
  std::snprintf(head, sizeof head, "game %u: ", parts_.pgn.gameNumber());
  leftOutLine_.assign(head);
  leftOutLine_ += reason;
  leftOutLine_ += '\n';
  leftOut(leftOutLine_);
}

void GameLoop::reportIllegal(const ReplayResult& result) {
  const Game& game = parts_.game;
  const int ply = result.ply;
  if (result.status == ReplayResult::kUnreadableMove) {
    report_ = "movetext unreadable at '";
    report_ += game.plies[ply].san;
    report_ += "' after ply " + std::to_string(game.playedHalfMoves(ply) - 1);
    leaveOut(report_);
    return;
  }
  // An illegal move or position is a critical error of the game: named with its move and players.
  report_ = "game " + std::to_string(parts_.pgn.gameNumber());
  report_ += result.status == ReplayResult::kIllegalMove ? ": illegal move " : ": illegal position after ";
  appendMoveNumber(report_, game, ply);
  report_ += game.plies[ply].san;
  report_ += " (ply " + std::to_string(game.playedHalfMoves(ply)) + ")";
  padLine(report_);
  appendPlayers(report_, game.tags);
  report_ += '\n';
  const bool whiteMoved = ply % 2 == 1;
  if ((whiteMoved && game.resultScore != 0) || (!whiteMoved && game.resultScore != 100)) {
    report_ += "    Warning !, " + game.tags.value(whiteMoved ? kTagWhite : kTagBlack) +
               " should have lost due to illegal move\n";
  }
  if (result.status == ReplayResult::kIllegalPosition) {
    printDiagram(parts_.console, parts_.strings, parts_.chess.board, parts_.language);
  }
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
