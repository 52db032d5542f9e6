#pragma once
// The pieces of a report line that names a game's move: the move number of a ply, the players and
// result, and the column the players start at.
#include <string>

namespace kestrova {

class Game;
class TagTable;

// Pads a line shorter than 56 characters with blanks to 57; longer lines stay as they are.
void padLine(std::string& line);

// "12." before an odd ply (White's move), "12..." before an even one: the move number of a ply,
// counted from the game's FEN.
void appendMoveNumber(std::string& line, const Game& game, int ply);

// "[White-Black, Result]" of the game.
void appendPlayers(std::string& line, const TagTable& tags);

}  // namespace kestrova
