#pragma once
// One (position, move) record of the opening book, and its packed form in the book file.
#include <array>
#include <cstdint>

namespace kestrova {

struct BookEntry {
  static constexpr std::uint32_t kMaxGames = 1048575;  // the 20 bits of the packed count
  static constexpr int kMaxElo = 4094;                 // the packed halves keep 11 bits

  std::uint64_t key = 0;   // position key; 0 marks an empty or deleted entry
  std::uint64_t lock = 0;  // second, independent hash of the same position
  std::uint8_t from = 0;   // 0..63 from a8
  std::uint8_t to = 0;     // a promotion piece is not recorded
  std::uint8_t cmt = 0;    // evaluation class 0..7; the mover's points while a book is generated
  std::uint8_t pc = 0;     // percentage scored by the side that played the move
  std::uint32_t n = 0;     // games in which the move was played
  std::uint16_t oppElo = 0;  // average Elo of the opponents, 0 = unknown
  std::uint16_t myElo = 0;   // average Elo of the side that played the move, 0 = unknown
};
static_assert(sizeof(BookEntry) == 32, "entries are fixed 32-byte records");

// The two hashes that identify a position in a book.
struct BookKeys {
  std::uint64_t key = 0;
  std::uint64_t lock = 0;
  friend bool operator==(const BookKeys&, const BookKeys&) = default;
};

// The book moves of the position last looked up, most played first, ended by an entry whose key
// is 0.
struct BookMoveList {
  static constexpr int kMaxMoves = 99;

  std::array<BookEntry, kMaxMoves + 1> moves{};
  int count = 0;
};

// The move fields in 64 bits, from the lowest: from 6, to 6, cmt 3, n 20, pc 7, oppElo / 2 11,
// myElo / 2 11. Each field is cut to its width, so a value out of range cannot spill into its
// neighbours; halving makes an odd Elo come back one lower.
std::uint64_t packMoveData(const BookEntry& entry);
// Sets the move fields of the entry (not its key and lock).
void unpackMoveData(std::uint64_t data, BookEntry& entry);

}  // namespace kestrova
