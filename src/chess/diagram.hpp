#pragma once
// The framed text diagram of the board, with one colour run per piece letter.
#include <string_view>

#include "chess/board.hpp"

namespace kestrova {

struct App;
class StringManager;

// Builds the diagram in the string manager's text buffer and fills its colour runs (White's
// letters 15, Black's 12); the text stays valid until the buffer is next built.
std::string_view formatDiagram(StringManager& strings, const Board& board, int language);

// Prints the diagram of the current board in the display language.
void printDiagram(App& app);

}  // namespace kestrova
