#pragma once
// Turning the notation of a half-move (SAN or long algebraic) into a legal move of the position.
#include "chess/attack_tables.hpp"
#include "chess/board.hpp"

namespace kestrova {

enum class MoveCheck {
  kLegal,       // one legal move answers the notation (see below for the king's safety)
  kUnreadable,  // the text is no move's notation
  kIllegal,     // no legal move of the side answers it, or more than one does
};

// Decodes the move's text for the side `colour` against the board and fills the move's origin,
// destination, flags and piece. The piece must stand there and be able to go there; the target
// must be empty or hold an enemy piece (never the king); pawns push onto empty squares, capture an
// enemy piece or en passant, and promote on the last rank and only there; castling needs the right,
// an empty path and no attacked square under the king. Several pieces that fit the notation are
// told apart by the given file or rank and by legality (a pinned piece is no candidate). Whether the
// one move found leaves its own king in check is for the caller to test once it is made (a test
// that costs the same after the move and is made there anyway). The board is left as it was.
MoveCheck decodeSanMove(const AttackTables& tables, const Board& board, int colour, Move& move);

}  // namespace kestrova
