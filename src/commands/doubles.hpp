#pragma once
// Recognising a game by a pair of 64-bit hashes over the keys of its positions, and finding the
// games of a file that occur more than once.
#include <cstdint>
#include <vector>

namespace kestrova {

class Game;
struct GameCounts;
struct GameLoopParts;
namespace platform {
class OutputFile;
}

// Sequence: the keys of every position in move order (same moves). Position: the final position
// and the one at two thirds of the game (move order may differ).
enum class HashMode { kSequence, kPosition };

struct GameHashes {
  std::uint64_t a = 0;
  std::uint64_t b = 0;
};

// The hashes of the game's half-moves 1..n (their keys set by a replay); B carries the result.
GameHashes hashGame(const Game& game, int n, HashMode mode);

// One game of a file for dbl and sub: small, so that a whole file's records fit in memory.
struct GameRecord {
  std::uint64_t hashA = 0;
  std::uint64_t hashB = 0;
  std::uint64_t finalKey = 0;  // primary key after the last half-move hashed
  std::uint32_t number = 0;    // the game's number in its file
  std::int32_t halfMoves = 0;
  std::uint8_t mark = 0;       // kSingle, kFirstDouble or kLaterDouble
};

namespace doublemark {
constexpr std::uint8_t kSingle = 0;
constexpr std::uint8_t kFirstDouble = 1;  // first game of a group of doubles
constexpr std::uint8_t kLaterDouble = 2;  // a later game of such a group
}  // namespace doublemark

// True when the game of `record` is the same game as that of `other` (never for a record whose
// hashes are zero: a game without half-moves).
bool sameGame(const GameRecord& record, const GameRecord& other);

// The record of a game just replayed whole (its half-moves carry their keys); a game without
// half-moves gets zero hashes, which match nothing.
GameRecord recordGame(const Game& game, HashMode mode, std::uint32_t number);

// Finding the doubles, in three steps over the records of a file, which are in file order before
// the first step and after the last:
// orders the records by hash A, then hash B (ties by length, final key and file order, so that
// the same games stand together and the earliest copy first);
void sortByHashes(std::vector<GameRecord>& records);
// marks each run of neighbours that are the same game: the first kFirstDouble, the others
// kLaterDouble;
void markRuns(std::vector<GameRecord>& records);
// puts the records back in file order.
void restoreFileOrder(std::vector<GameRecord>& records);

// dbl's two passes over the open file, on `threads` threads. The first replays every game and
// returns the records of those used, in no particular order (the steps above order them).
std::vector<GameRecord> recordGames(const GameLoopParts& parts, HashMode mode, int threads, GameCounts& counts);

// What the second pass wrote.
struct DoublesWritten {
  int games = 0;
  int laterCopies = 0;
  int firstCopies = 0;
};

// The second pass writes the games the marks choose to `out`, reading none of the others: the
// singles and the first copies, or the later copies (and with `withFirst` the first ones), each
// named by an annotator "Double id = HASH A". `records` are those of the file, marked and in
// file order.
DoublesWritten writeMarkedGames(const GameLoopParts& parts, int threads, const std::vector<GameRecord>& records,
                                platform::OutputFile& out, bool singles, bool withFirst);

}  // namespace kestrova
