#pragma once
// Filling the Game from the tag lines and the movetext of the game just read.
#include <string_view>

namespace kestrova {

class Game;
class PgnFile;

// Fills the tags and resultScore, and with moves the half-moves with their SAN text and what
// the comments say. Comment texts are kept when printCmt is 1. Returns 0 when the game has more
// half-moves than the game holds (the first ones stay loaded), else 1.
int loadGame(Game& game, const PgnFile& pgn, int printCmt, bool withMoves);

// White's score in percent from a Result value: 100, 50 or 0.
int resultScoreOf(std::string_view result);

}  // namespace kestrova
