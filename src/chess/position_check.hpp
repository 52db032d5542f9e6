#pragma once
// The plausibility test applied after every half-move of a replay.
#include "chess/attack_tables.hpp"
#include "chess/board.hpp"

namespace kestrova {

struct App;

// After ply (odd: White moved) with the given numbers of occupied squares before and after it:
// the mover's king is not attacked, there are exactly two kings, at most 8 pawns a side, and the
// move removed at most one piece.
bool isPositionSane(const AttackTables& tables, const Board& board, int ply, int occupiedBefore, int occupiedAfter);

// The same on the current board; on failure prints the board diagram. The caller reports.
bool checkPositionSane(App& app, int ply, int occupiedBefore, int occupiedAfter);

}  // namespace kestrova
