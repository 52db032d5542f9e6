#pragma once
// Turning the SAN text of a half-move into its squares, piece and flags.
namespace kestrova {

struct ChessCore;
class Game;

// Decodes the SAN text of the game's move number ply against the current board (odd plies are
// White's) and fills the move's origin, destination, flags and piece. Returns 1 when the origin
// holds a piece of the mover's colour and the decoded type; otherwise 0, and the game's ply count
// drops by one. The board is left as it was.
int decodeSanMove(ChessCore& core, Game& game, int ply);

}  // namespace kestrova
