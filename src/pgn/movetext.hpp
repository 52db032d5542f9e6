#pragma once
// Filling the Game from the tag lines and the movetext of the game just read.
#include <string>
#include <string_view>

namespace kestrova {

class Game;
class PgnFile;

enum class LoadResult { kLoaded, kTooManyPlies };

// Fills the tags and resultScore, and with moves the half-moves with their notation, what the
// comments say and the movetext's result token. Any blank separates tokens; comments ("{...}", also
// over several lines, or ";" to the line's end), variations, NAGs and annotation marks may be glued
// to the moves; move numbers ("12.", "12...") may be glued to them too. What follows each half-move
// as written is kept (for the writer) when printCmt is 1. Whether a move's text reads as a move is
// for the replay to say. kTooManyPlies when the game has more half-moves than the game holds.
LoadResult loadGame(Game& game, const PgnFile& pgn, int printCmt, bool withMoves);

// The tag's name and value of a line `[Name "value"]`, the value's escapes (\" and \\) undone.
// False when the line is not of that form.
bool readTagLine(std::string_view line, std::string_view& name, std::string& value);

// White's score in percent from a Result value: 100, 50 or 0.
int resultScoreOf(std::string_view result);

}  // namespace kestrova
