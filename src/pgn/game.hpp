#pragma once
// The one game being worked on: its half-moves and the per-game state the replay keeps.
// (Tags, comments and the movetext loader are added by the PGN store.)
#include <array>
#include <cstdint>
#include <vector>

#include "chess/move.hpp"

namespace kestrova {

// One half-move: the chess fields plus what the comments said about it.
struct PlyRecord : Move {
  int evaluation = 0;  // centipawns from the mover's point of view; beyond +-5000 a mate
  int depth = 0;
  int time = 0;        // seconds
  std::uint8_t evaluationPresent = 0;
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

  Game() : plies(kSlots) {}

  std::vector<PlyRecord> plies;
  int plyCount = 0;
  int currentPly = 0;

  PositionKeys startKeys;
  CastlingMarks castled;
  std::uint16_t halfMoveClock = 0;
  std::uint16_t previousHalfMoveClock = 0;
  std::uint16_t maxHalfMoveClock = 0;

  // The position before each of the first 99 plies made from two squares (book commands).
  std::array<std::array<char, kHistoryLength>, kHistoryPlies> positionHistory{};
};

}  // namespace kestrova
