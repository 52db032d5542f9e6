#pragma once
// The one PGN writer: the Game as tag lines and movetext, to a file or to the console.
#include <string_view>

namespace kestrova {

class Console;
class Game;
class PgnFile;
namespace platform {
class OutputFile;
}

// Writes the game as it was read: the tag lines of the PGN file's header in their order (a known
// tag with the Game's value when the output list enables it, any other tag as read, then the known
// tags a command added), the moves numbered from the game's FEN, with what printCmt asks after
// each (1: what followed the move as written, 2: the engine's evaluation comment), and the result.
// Always 1.
int writePgn(Game& game, PgnFile& pgn, platform::OutputFile& out, int printCmt);

// Writes the game as the PGN file holds it, for a game that was not loaded or replayed whole: its
// text untouched but for the known tag, given the value in place of its line (or after the last
// line when it has none).
void writeAsRead(const PgnFile& pgn, int tag, std::string_view value, platform::OutputFile& out);

// Shows the Game on the console: every known tag line, then the moves without line breaks.
void printGame(const Game& game, Console& console, int printCmt);

// The result a written game ends with: its Result tag, else the movetext's result token, else "*".
std::string_view gameResult(const Game& game);

}  // namespace kestrova
