#pragma once
// The plausibility test applied after every half-move of a replay.
#include "chess/attack_tables.hpp"
#include "chess/board.hpp"

namespace kestrova {

// After a move of `mover` with the given numbers of occupied squares before and after it: the
// mover's king is not attacked, there are exactly two kings, at most 8 pawns a side, and the move
// removed at most one piece.
bool isPositionSane(const AttackTables& tables, const Board& board, int mover, int occupiedBefore, int occupiedAfter);

}  // namespace kestrova
