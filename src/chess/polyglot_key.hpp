#pragma once
// Positions and moves as polyglot opening books (".bin", read by chess interfaces, cutechess-cli
// and fastchess) name them: the published Zobrist key over pieces, castling rights, a capturable
// en-passant file and the side to move, and the 16-bit move code.
#include <cstdint>

#include "chess/board.hpp"

namespace kestrova {

// The key of the board with the side to move (1 White, anything else Black). Allocates nothing.
std::uint64_t polyglotKey(const Board& board, int side);

// To-square in bits 0-5, from-square in 6-11 (a1 = 0 .. h8 = 63), the promoted piece in 12-14
// (0 none, 1 knight .. 4 queen); castling is the king's move onto its own rook (e1h1, e8a8).
std::uint16_t polyglotMove(const Move& move);

}  // namespace kestrova
