#pragma once
// Building a new opening book from PGN games: a first pass streams one raw record per book move
// into the file, a second reloads it, sorts it, merges the doubles and saves it.
#include <string>

#include "chess/board.hpp"

namespace kestrova {

struct GameLoopParts;
struct Move;
class BookTable;
class Console;
class PgnFile;
namespace platform {
class OutputFile;
struct Timers;
}

struct NewBookRequest {
  int minPly = 1;
  int maxPly = 1;
  std::string out = "book.obk";
  std::string pgn;  // one PGN file; empty for every "*.pgn" of the directory "pgn_book"
  std::string bin;  // the same book as a polyglot ".bin" file as well; empty for none
  int threads = 1;  // replaying the games
};

// Runs the generation (after the user's confirmation): the two passes below. The games are read
// through the loop's parts, whose PGN file ends up holding the last input file.
void buildBook(BookTable& book, const GameLoopParts& games, platform::Timers& timers, const NewBookRequest& request);

// The first pass: closes the loaded book, begins `raw` for the output with fresh tables and
// streams one raw record per book move of the input games into its temporary file, holding
// nothing but the current game. With a ".bin" asked for and `rawPolyglot` given, the polyglot key,
// move and points of each record go to that file's temporary as well. False (reported) when an
// output is refused, an input cannot be read or a file cannot be written; the targets are
// untouched either way.
bool writeRawBook(BookTable& book, const GameLoopParts& games, platform::Timers& timers,
                  const NewBookRequest& request, platform::OutputFile& raw,
                  platform::OutputFile* rawPolyglot = nullptr);

// The second pass: makes the ".bin" of the polyglot records when asked, then reloads the raw file
// in one allocation, sorts it, merges the doubles, saves it as the output and closes the book.
// The outputs are replaced only by the saved books, the ".bin" only once the book is saved.
void finishBook(BookTable& book, Console& console, const PgnFile& open, platform::Timers& timers,
                const NewBookRequest& request, const std::string& rawPath, const std::string& rawPolyglotPath = "");

// The first two half-moves of a line must be ordinary openings: a pawn one or two squares ahead
// from its home row, or a knight to the edge or centre file. Only the squares are looked at.
bool isStandardFirstMove(int from, int to, int colour);

// A king move (castling included), a check, a capture or a promotion.
bool isActiveMove(const Move& move);

// What the stop rule looks at before half-move `ply` is added to a line.
struct LinePosition {
  int ply = 1;
  int plyCount = 0;
  int minPly = 1;
  int maxPly = 1;
  bool moveIsActive = false;      // half-move ply
  bool previousIsActive = false;  // half-move ply - 1
  const Board* board = nullptr;   // the position before half-move ply
};

// True when the line ends before the half-move: past the game or maxPly; otherwise never before
// minPly, and then at the first quiet position with the minor pieces out and both kings moved.
bool stopsLine(const LinePosition& at);

// Sorts entries 1..moves by key (then lock, origin and destination, so that doubles are
// neighbours) and merges each run of equal (position, move) entries into its first: n games,
// pc from the points held in cmt, average Elos. The others get key 0. Returns their number.
void sortBookEntries(BookTable& book);
int mergeDoubles(BookTable& book);

}  // namespace kestrova
