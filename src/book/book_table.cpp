#include "book/book_table.hpp"

#include <utility>

#include "book/book_reporter.hpp"
#include "platform/console.hpp"

namespace kestrova {

namespace {

// The program's Zobrist keys take this many draws of the run-time generator seeded with 1:
// 7 types x 2 colours x 64 squares x 2 keys, and the side key, five draws per random64.
constexpr int kZobristDraws = (7 * 2 * 64 * 2 + 1) * 5;

RuntimeRandom generatorAfterZobristKeys() {
  RuntimeRandom random(1);
  for (int i = 0; i < kZobristDraws; ++i) random.draw();
  return random;
}

}  // namespace

BookTable::BookTable() : runtimeRandom(generatorAfterZobristKeys()) {}

bool BookTable::setNumerationBase(unsigned base) {
  numeration_.setBase(base);
  return numeration_.base() == base;
}

bool BookTable::setHashSize(unsigned bits) {
  const bool valid = bits == 32 || bits == 64;
  hashSz_ = valid ? bits : 32;
  return valid;
}

void BookTable::resetBook(BookReporter& reporter) {
  numeration_.setBase(numeration_.base());
  list_.count = 0;
  tablesLoaded_ = false;
  bookLoaded_ = false;
  minPly = kDefaultPlies;
  maxPly = kDefaultPlies;
  fileName = "no_name";
  reporter.print(colour::kDefault, "- book's hash size : %u bits\n- book file numeration base : %u\n", hashSz_,
                 numeration_.base());
}

void BookTable::closeBook() {
  entries_.reset();
  bookLoaded_ = false;
  moves = 0;
  list_.count = 0;
}

void BookTable::adoptEntries(std::unique_ptr<BookEntry[]> entries, int count) {
  entries_ = std::move(entries);
  moves = count;
  entries_[0].key = 0;
  entries_[count + 1].key = 0;
  list_.count = 0;
  bookLoaded_ = true;
}

BookKeys BookTable::computeBookKeys(const Board& board, int side) const {
  BookKeys keys;
  for (int colour = 0; colour < 2; ++colour) {
    for (Bitboard bits = board.colours[colour]; bits; bits &= bits - 1) {
      const int square = std::countr_zero(bits);
      const int index = tableIndex(board.mailbox[square], colour, square);
      keys.key ^= keyTable[index];
      keys.lock ^= lockTable[index];
    }
  }
  if (side == kWhite) {
    keys.key ^= sideKey;
    keys.lock ^= sideKey;
  }
  if (hashSz_ == 32) {
    keys.key &= 0xFFFFFFFFu;
    keys.lock &= 0xFFFFFFFFu;
  }
  return keys;
}

std::size_t BookTable::findKey(std::uint64_t key) const {
  // Key 0 marks empty slots, so it is never a position.
  if (!bookLoaded_ || key == 0 || moves < 1) return 0;
  const BookEntry* table = entries_.get();
  std::size_t lo = 1;
  std::size_t hi = static_cast<std::size_t>(moves);
  while (hi - lo >= 2) {
    const std::size_t mid = (lo + hi) / 2;
    if (table[mid].key > key) hi = mid;
    else if (table[mid].key < key) lo = mid;
    else return mid;
  }
  if (table[lo].key == key) return lo;
  if (table[hi].key == key) return hi;
  return 0;
}

int BookTable::lookupPosition(std::uint64_t key, std::uint64_t lock) {
  list_.count = 0;
  const std::size_t found = findKey(key);
  if (found == 0) return 0;
  const BookEntry* table = entries_.get();
  // Gathers a move; beyond the list's room a move replaces the least played one, so the list
  // keeps the most played moves.
  auto gather = [this, lock](const BookEntry& entry) {
    if (entry.lock != lock) return;
    if (list_.count < BookMoveList::kMaxMoves) {
      list_.moves[list_.count++] = entry;
      return;
    }
    int least = 0;
    for (int i = 1; i < list_.count; ++i) {
      if (list_.moves[i].n < list_.moves[least].n) least = i;
    }
    if (entry.n > list_.moves[least].n) list_.moves[least] = entry;
  };
  gather(table[found]);
  for (std::size_t i = found - 1; table[i].key == key; --i) gather(table[i]);
  for (std::size_t i = found + 1; i <= static_cast<std::size_t>(moves) && table[i].key == key; ++i) gather(table[i]);
  list_.moves[list_.count] = BookEntry{};
  if (list_.count >= 2) sortList(0, list_.count - 1);
  return list_.count;
}

// Most played first. This partition order decides where moves with equal counts end up, and
// books are browsed in that order, so it is kept as it is.
void BookTable::sortList(int lo, int hi) {
  auto& m = list_.moves;
  if (lo == hi) return;
  for (;;) {
    const std::uint32_t pivot = m[hi].n;
    int i = lo;
    int j = hi;
    if (i < j) {
      for (;;) {
        while (m[i].n > pivot) ++i;
        if (i >= j) break;
        bool exchanged = false;
        for (;;) {
          if (m[j].n > pivot) {
            std::swap(m[i], m[j]);
            exchanged = true;
            break;
          }
          --j;
          if (i >= j) break;
        }
        if (!exchanged) break;
      }
    }
    std::swap(m[j], m[hi]);
    if (lo != j) sortList(lo, j - 1);
    if (j == hi || j + 1 == hi) return;
    lo = j + 1;
  }
}

unsigned BookTable::bookMoveRank(std::uint64_t key, std::uint64_t lock, unsigned from, unsigned to) {
  if (from > 63 || to > 63) return 0;
  const int count = lookupPosition(key, lock);
  for (int i = 0; i < count; ++i) {
    if (list_.moves[i].from == from && list_.moves[i].to == to) return static_cast<unsigned>(i + 1);
  }
  return 0;
}

std::size_t BookTable::findBookEntry(std::uint64_t key, std::uint64_t lock, unsigned from, unsigned to) const {
  const std::size_t found = findKey(key);
  if (found == 0) return 0;
  const BookEntry* table = entries_.get();
  auto matches = [&](std::size_t i) { return table[i].lock == lock && table[i].from == from && table[i].to == to; };
  if (matches(found)) return found;
  for (std::size_t i = found - 1; table[i].key == key; --i) {
    if (matches(i)) return i;
  }
  for (std::size_t i = found + 1; i <= static_cast<std::size_t>(moves) && table[i].key == key; ++i) {
    if (matches(i)) return i;
  }
  return 0;
}

}  // namespace kestrova
