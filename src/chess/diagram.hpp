#pragma once
// The framed text diagram of the board.
#include <cstddef>
#include <string>
#include <string_view>

#include "chess/board.hpp"

namespace kestrova {

// Replaces the text with the diagram of the board; letters[type] is the letter shown for a piece
// type (1 king .. 6 pawn) of either colour.
void formatDiagram(const Board& board, std::string_view letters, std::string& text);

// Where the letter of a square stands in the diagram's text (each row: its frame line, the
// opening bar, then three characters a square).
constexpr std::size_t diagramLetterOffset(int square) {
  constexpr std::size_t kRowStart = 48;
  constexpr std::size_t kRowLength = kRowStart + 8 * 3;
  return static_cast<std::size_t>(rowOf(square)) * kRowLength + kRowStart + static_cast<std::size_t>(fileOf(square)) * 3 + 1;
}

}  // namespace kestrova
