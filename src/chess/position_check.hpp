#pragma once
// The plausibility test applied after every half-move of a replay.
#include "chess/attack_tables.hpp"
#include "chess/board.hpp"

namespace kestrova {

enum class PositionFault {
  kNone,
  kKingLeftInCheck,  // the move left the mover's own king attacked: the move was illegal
  kImplausible,      // not two kings, more than 8 pawns a side, or more than one man taken
};

// After a move of `mover` with the given numbers of occupied squares before and after it: the
// mover's king is not attacked, there are exactly two kings, at most 8 pawns a side, and the move
// removed at most one piece.
PositionFault checkPosition(const AttackTables& tables, const Board& board, int mover, int occupiedBefore,
                            int occupiedAfter);

inline bool isPositionSane(const AttackTables& tables, const Board& board, int mover, int occupiedBefore,
                           int occupiedAfter) {
  return checkPosition(tables, board, mover, occupiedBefore, occupiedAfter) == PositionFault::kNone;
}

}  // namespace kestrova
