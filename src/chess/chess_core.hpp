#pragma once
// The chess core's process-wide state: the immutable tables, the single current position, the
// texts of the last replayed position and the key-check switch.
#include <memory>
#include <string>

#include "chess/attack_tables.hpp"
#include "chess/board.hpp"
#include "chess/zobrist.hpp"

namespace kestrova {

struct ChessCore {
  static constexpr std::size_t kFenCapacity = 255;

  // Builds the tables (keys from seed 1), so that a core is usable before start-up has run.
  ChessCore();

  std::unique_ptr<const ZobristTables> zobrist;
  std::unique_ptr<const AttackTables> attacks;
  Board board;
  // Compares the incremental keys with a full computation after every move; off until start-up
  // has finished.
  bool keyCheck = false;
  // The position before and after the last replayed half-move (up to 255 characters each).
  std::string previousFen;
  std::string currentFen;
};

}  // namespace kestrova
