#pragma once
// The one PGN writer: the Game as tag lines and movetext, to a file or to the console.
namespace kestrova {

class Console;
class Game;
class PgnFile;
namespace platform {
class OutputFile;
}

// Rebuilds the PGN file's header and game buffers from the Game (enabled, non-empty tags; the
// moves with what printCmt asks after each) and writes them. Always 1.
int writePgn(Game& game, PgnFile& pgn, platform::OutputFile& out, int printCmt);

// Shows the Game on the console: every tag line, then the moves without line breaks.
void printGame(const Game& game, Console& console, int printCmt);

}  // namespace kestrova
