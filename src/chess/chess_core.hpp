#pragma once
// The chess core's process-wide state: the immutable tables, the single current position and the
// key-check switch.
#include <memory>

#include "chess/attack_tables.hpp"
#include "chess/board.hpp"
#include "chess/zobrist.hpp"

namespace kestrova {

struct ChessCore {
  // Builds the tables (keys from seed 1), so that a core is usable before start-up has run.
  ChessCore();

  // Shared by the cores of worker threads: built once, never changed.
  std::shared_ptr<const ZobristTables> zobrist;
  std::shared_ptr<const AttackTables> attacks;
  Board board;
  // Compares the incremental keys with a full computation after every move; off until start-up
  // has finished.
  bool keyCheck = false;
};

}  // namespace kestrova
