#pragma once
// Position strings: reading FEN (or the first fields of an EPD line) into the board, and writing it.
#include <span>
#include <string>
#include <string_view>

#include "chess/board.hpp"

namespace kestrova {

struct ChessCore;
class Game;
struct HeaderLines;

// Used by every command for games without a FEN tag, and at start-up.
inline constexpr std::string_view kStartPosition = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -";

// Reads a position string into the board; nothing is rejected (unknown characters are skipped,
// missing fields stay empty, the side stays -1 without a side field, pieces beyond h1 are dropped).
void parseFen(Board& board, std::string_view fen);

// The position of the first "[FEN " header line; 1 and the value in out when it is longer than
// 5 characters, otherwise 0 and out unchanged.
int findFenTag(const HeaderLines& header, std::string& out);

// Starts a game: clears its current ply, castling marks and move clocks, sets the board from the
// game's FEN tag if the header has one (otherwise from fen), computes the start keys and copies
// the string into previousFen and currentFen. Always 1.
int setPositionFromFen(ChessCore& core, Game& game, std::string_view fen, const HeaderLines* header = nullptr);

// The full position string with the given side (0 Black, else White) and the clocks as "0 0;".
void writeFen(const Board& board, int side, std::string& out);

// The short form: placement, side and the fixed fields "- - 0 0".
void writePlacementFen(const Board& board, int side, std::string& out);
// The same into a fixed text, cut to fit and always terminated.
void writePlacementFen(const Board& board, int side, std::span<char> out);

}  // namespace kestrova
