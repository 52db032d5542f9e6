#pragma once
// The opening book as a polyglot ".bin" file, the format chess interfaces, cutechess-cli and
// fastchess read: 16-byte big-endian entries (key, move, weight, learn 0) in ascending key order,
// the moves of a position by weight, largest first. The weights are polyglot make-book's: a win
// counts 2 for the side that played the move, a draw 1, a loss 0, summed over the games.
#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

class BookTable;
class Console;
struct ChessCore;
namespace platform {
class OutputFile;
}

struct PolyglotEntry {
  std::uint64_t key = 0;
  std::uint16_t move = 0;
  std::uint16_t weight = 0;
  friend bool operator==(const PolyglotEntry&, const PolyglotEntry&) = default;
};

// The games and points of one move of one position.
struct PolyglotTally {
  std::uint16_t move = 0;
  std::uint32_t games = 0;
  std::uint32_t points = 0;
};

// Once a move of a position counts this many games, every move of the position has its games and
// points halved (rounded up), so that the weights keep to 16 bits.
constexpr std::uint32_t kPolyglotGameLimit = 16384;

// One entry in the file's form; also the form of the raw records of newbk's first pass, which
// hold the mover's points of one game as their weight.
void writePolyglotEntry(platform::OutputFile& out, const PolyglotEntry& entry);

// Halves the games and points of every move of the position, rounding up.
void halveTallies(std::vector<PolyglotTally>& tallies);

// Appends the moves of one position to the book: by points, largest first, the earlier tally
// first among equals; a move without points (lost in every game) is left out, as polyglot does.
void addPolyglotPosition(std::uint64_t key, std::vector<PolyglotTally>& tallies, std::vector<PolyglotEntry>& entries);

// Turns the raw records of newbk's first pass (one per book move of each game, in game order) into
// the book and writes it; false (reported) when the records can't be read. The weights are exact:
// the games are tallied in their order, halved as polyglot make-book halves them.
bool writePolyglotFromRaw(Console& console, const std::string& rawPath, platform::OutputFile& out);

// Walks the loaded book from the start position along its moves and writes every position reached
// that has book moves. The weights come from each move's games and percentage (points = n x pc / 50,
// exact below 50 games; a position with a move of 16,384 games or more is halved until none has,
// where make-book halves as the games come). A move that the path's castling rights or en-passant
// square forbid (the book's keys do not tell such positions apart) is left out there. The board is
// left as it was. Returns the number of entries written.
int exportPolyglotBook(BookTable& book, ChessCore& chess, platform::OutputFile& out);

}  // namespace kestrova
