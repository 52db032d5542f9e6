#pragma once
// Playing the half-moves of the current game on the board.
namespace kestrova {

struct ChessCore;
class Game;
class Console;

// Plays the game's move number ply (1..799) on the board and stores the keys after it. Trusts the
// move; a move no decoded game could hold still leaves every board agreeing with the mailbox.
// With the key check on, prints "> zobrist hash keys corrupted !" when the incremental keys differ
// from a full computation.
void makeMove(ChessCore& core, Game& game, int ply, Console& console);

// Builds the game's next move from two squares (a book move) and plays it: a pawn reaching the
// last row becomes a queen, a king step of two squares is castling.
void makeMoveFromSquares(ChessCore& core, Game& game, int from, int to, Console& console);

}  // namespace kestrova
