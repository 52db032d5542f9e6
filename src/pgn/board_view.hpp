#pragma once
// The board diagram on the console, each piece letter in its side's colour.
namespace kestrova {

class Console;
class StringManager;
struct Board;

// Prints the diagram of the board with the piece letters of the language (White's in colour 15,
// Black's in colour 12; without colour Black's in lower case), built in the string manager's text
// buffer.
void printDiagram(Console& console, StringManager& strings, const Board& board, int language);

}  // namespace kestrova
