#pragma once
// The opening book in memory: its Zobrist tables, its entries in ascending key order, and the
// lookups. The program and the vellum library share this reader.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "book/book_entry.hpp"
#include "book/book_number.hpp"
#include "chess/board.hpp"
#include "chess/zobrist.hpp"

namespace kestrova {

class BookReporter;

class BookTable {
 public:
  static constexpr int kTableSize = 768;  // ((piece kind - 1) * 2 + colour) * 64 + square
  static constexpr std::size_t kMaxFileName = 255;
  static constexpr std::size_t kMaxLine = 255;  // longer lines make a book file corrupted
  static constexpr int kDefaultPlies = 28;

  BookTable();
  BookTable(const BookTable&) = delete;
  BookTable& operator=(const BookTable&) = delete;

  static constexpr int tableIndex(int pieceKind, int colour, int square) {
    return ((pieceKind - 1) * 2 + colour) * 64 + square;
  }

  // The program's numeration base (2..224; false and 224 kept for another value) and hash size
  // (32 or 64; false and 32 kept for another value).
  bool setNumerationBase(unsigned base);
  bool setHashSize(unsigned bits);
  unsigned numBase() const { return numeration_.base(); }
  unsigned hashSize() const { return hashSz_; }
  const BookNumeration& numeration() const { return numeration_; }

  // Forgets the book's state (not its entries, see closeBook) and reports the hash size and base.
  void resetBook(BookReporter& reporter);

  // Replaces the loaded book by the file's; on failure (reported) no book is loaded.
  bool loadBook(const std::string& path, BookReporter& reporter);

  // Releases the entries; the book is no longer loaded.
  void closeBook();

  bool isLoaded() const { return bookLoaded_; }
  bool tablesLoaded() const { return tablesLoaded_; }

  // Key and lock of the board with the side to move (1 White; anything else is Black).
  BookKeys computeBookKeys(const Board& board, int side) const;

  // Fills the move list with the position's moves, most played first; returns their number
  // (0, with the list untouched, when the key is not in the book).
  int lookupPosition(std::uint64_t key, std::uint64_t lock);
  const BookMoveList& moveList() const { return list_; }

  // 1-based place of the move in the position's list, 0 when it is not a book move.
  unsigned bookMoveRank(std::uint64_t key, std::uint64_t lock, unsigned from, unsigned to);

  // Index in entries() of the entry with that position and move, 0 when none.
  std::size_t findBookEntry(std::uint64_t key, std::uint64_t lock, unsigned from, unsigned to) const;

  // Slots 0..moves + 1: the book in 1..moves, key-0 end markers around it.
  BookEntry* entries() { return entries_.get(); }
  const BookEntry* entries() const { return entries_.get(); }
  // Gives the table its entries (slots 0..moves + 1) and marks the book loaded.
  void adoptEntries(std::unique_ptr<BookEntry[]> entries, int moves);

  // The book's parameters and its Zobrist tables (stored in the file, so a book stays readable
  // whatever the program's own keys are).
  int moves = 0;
  bool sorted = false;
  bool clean = false;
  std::string fileName = "no_name";
  int minPly = kDefaultPlies;
  int maxPly = kDefaultPlies;
  std::uint64_t sideKey = 0;
  std::array<std::uint64_t, kTableSize> keyTable{};
  std::array<std::uint64_t, kTableSize> lockTable{};

  // Generators of new tables; they run on from book to book within a run.
  std::uint32_t bookRandomState = 1;
  RuntimeRandom runtimeRandom;

 private:
  // Binary search for an entry with the key among 1..moves; 0 when there is none.
  std::size_t findKey(std::uint64_t key) const;
  void sortList(int lo, int hi);

  BookNumeration numeration_;
  unsigned hashSz_ = 32;
  bool tablesLoaded_ = false;
  bool bookLoaded_ = false;
  std::unique_ptr<BookEntry[]> entries_;
  BookMoveList list_;
};

}  // namespace kestrova
