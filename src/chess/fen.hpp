#pragma once
// Position strings: reading FEN (or the first fields of an EPD line) into the board, and writing it.
#include <span>
#include <string>
#include <string_view>

#include "chess/board.hpp"

namespace kestrova {

// Used by every command for games without a FEN tag, and at start-up.
inline constexpr std::string_view kStartPosition = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -";

// Reads a position string into the board; nothing is rejected (unknown characters are skipped,
// missing fields stay empty, the side stays -1 without a side field, pieces beyond h1 are dropped;
// without clocks the half-move clock is 0 and the move number 1).
void parseFen(Board& board, std::string_view fen);

// The full position string with the given side (0 Black, else White) and the board's clocks,
// ended by ";".
void writeFen(const Board& board, int side, std::string& out);

// The short form: placement, side and the fixed fields "- - 0 0".
void writePlacementFen(const Board& board, int side, std::string& out);
// The same into a fixed text, cut to fit and always terminated.
void writePlacementFen(const Board& board, int side, std::span<char> out);

}  // namespace kestrova
