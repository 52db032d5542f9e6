#pragma once
// Turning the SAN text of a half-move into its squares, piece and flags.
#include "chess/attack_tables.hpp"
#include "chess/board.hpp"

namespace kestrova {

// Decodes the move's SAN text for the side `colour` against the board and fills the move's
// origin, destination, flags and piece. True when the origin holds a piece of that colour and the
// decoded type. The board is left as it was.
bool decodeSanMove(const AttackTables& tables, const Board& board, int colour, Move& move);

}  // namespace kestrova
