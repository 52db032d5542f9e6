#pragma once
// The one game being worked on: its tags, half-moves and comments, and the per-game state the
// replay keeps.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chess/move.hpp"
#include "pgn/comment_store.hpp"
#include "pgn/tag_table.hpp"

namespace kestrova {

// One half-move: the chess fields plus what the comments said about it.
struct PlyRecord : Move {
  int evaluation = 0;  // centipawns from the mover's point of view; beyond +-5000 a mate
  int mate = 0;        // the mate in moves as announced (+n the mover mates, -n it is mated), when evaluationIsMate
  int depth = 0;
  int timeMs = 0;      // thinking time in milliseconds
  std::uint8_t evaluationPresent = 0;
  std::uint8_t evaluationIsMate = 0;
  std::uint8_t timeDecimals = 0;  // decimals the seconds were written with (0..3), to write them back alike
};

// Which castlings the decoder has met in the current game.
struct CastlingMarks {
  bool whiteShort = false;
  bool whiteLong = false;
  bool blackShort = false;
  bool blackLong = false;
};

class Game {
 public:
  static constexpr int kSlots = 800;         // half-moves 1..799; slot 0 before the first move
  static constexpr int kHistoryPlies = 100;  // position texts of the first 99 plies
  static constexpr int kHistoryLength = 80;
  static constexpr std::size_t kFenCapacity = 255;

  Game() : plies(kSlots), comments(kSlots) {
    // Room for the longest text, so that writing a position never allocates.
    previousFen.reserve(kFenCapacity + 1);
    currentFen.reserve(kFenCapacity + 1);
  }

  // The first half-move of the game: 2 when it starts with Black to move, whose ply 1 is then an
  // empty place holding the start keys, so that odd plies are White's in every game.
  int firstPly() const { return blackStarts ? 2 : 1; }
  // The number of the move of a ply as the game counts it: from its FEN's move number.
  int moveNumber(int ply) const { return firstMoveNumber + (ply + 1) / 2 - 1; }
  // The half-moves played up to and including a ply, from the game's start.
  int playedHalfMoves(int ply) const { return ply - (firstPly() - 1); }

  TagTable tags;
  std::uint8_t resultScore = 0;  // White's score in percent
  std::vector<PlyRecord> plies;
  int plyCount = 0;
  int currentPly = 0;
  bool blackStarts = false;
  int firstMoveNumber = 1;
  CommentStore comments;
  // Half-moves whose comments gave an evaluation, a depth, a time.
  int evaluationCount = 0;
  int depthCount = 0;
  int timeCount = 0;

  PositionKeys startKeys;
  CastlingMarks castled;
  std::uint16_t halfMoveClock = 0;
  std::uint16_t previousHalfMoveClock = 0;

  // The position before each of the first 99 plies made from two squares (book commands).
  std::array<std::array<char, kHistoryLength>, kHistoryPlies> positionHistory{};

  // The result token of the movetext ("" when it has none).
  std::string movetextResult;
  // Room for one tag value or comment being read, and for a game being written, kept from game to
  // game.
  std::string tagScratch;
  std::string writeScratch;

  // The position before and after the last replayed half-move (up to 255 characters each): the
  // current position that later commands show, save or send to the engine.
  std::string previousFen;
  std::string currentFen;
};

}  // namespace kestrova
