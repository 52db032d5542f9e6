#pragma once
// Playing a half-move on the board.
#include "chess/board.hpp"

namespace kestrova {

struct ChessCore;

// Plays the move on the core's board and stores in it what it took and the keys after it, from
// the keys of the position before it. Trusts the move; a move no decoded game could hold still
// leaves every board agreeing with the mailbox. False only when the key check is on and the
// incremental keys differ from a full computation.
bool makeMove(ChessCore& core, Move& move, const PositionKeys& before);

// The move of a piece between two squares (a book move): a pawn reaching the last row becomes a
// queen, a king step of two squares is castling, a pawn's diagonal step is a capture.
Move moveFromSquares(const Board& board, int from, int to);

}  // namespace kestrova
