#pragma once
// Books made in memory for the book tests.
#include <algorithm>
#include <sstream>

#include "book/book_key_generation.hpp"
#include "chess/fen.hpp"
#include "pgn/replay.hpp"
#include "support/test_app.hpp"

namespace kestrova::test {

inline BookEntry entry(std::uint64_t key, std::uint64_t lock, int from, int to, std::uint32_t n, int cmt = 0) {
  BookEntry e;
  e.key = key, e.lock = lock, e.n = n, e.cmt = static_cast<std::uint8_t>(cmt);
  e.from = static_cast<std::uint8_t>(from), e.to = static_cast<std::uint8_t>(to);
  return e;
}

// Gives the table these entries, in key order, as its loaded book.
inline void adopt(BookTable& book, std::vector<BookEntry> entries) {
  std::stable_sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.key < b.key; });
  std::unique_ptr<BookEntry[]> table(new BookEntry[entries.size() + 2]);
  std::copy(entries.begin(), entries.end(), table.get() + 1);
  book.adoptEntries(std::move(table), static_cast<int>(entries.size()));
}

inline int square(std::string_view name) { return (8 - (name[1] - '0')) * 8 + (name[0] - 'a'); }

// Plays the moves ("e2e4 e7e5") from the start position; the book keys of the position reached.
inline BookKeys playLine(App& app, const std::string& moves) {
  setStartPosition(app.chess, app.game, kStartPosition);
  std::istringstream words(moves);
  for (std::string m; words >> m;) playMoveFromSquares(app.chess, app.game, app.console, square(m), square(&m[2]));
  return app.book.computeBookKeys(app.chess.board, app.chess.board.side);
}

// A book of fresh tables holding each move after its line with its games and class.
struct BookLine {
  const char *before, *move;
  std::uint32_t n;
  int cmt = 0;
};
inline void makeBook(App& app, const std::vector<BookLine>& lines) {
  generateBookTables(app.book);
  std::vector<BookEntry> entries;
  for (const BookLine& line : lines) {
    const BookKeys keys = playLine(app, line.before);
    entries.push_back(entry(keys.key, keys.lock, square(line.move), square(line.move + 2), line.n, line.cmt));
  }
  adopt(app.book, entries);
  setStartPosition(app.chess, app.game, kStartPosition);
}

// The entry of the move after the line (the end marker when the book has none).
inline BookEntry& bookEntry(App& app, const std::string& before, const std::string& move) {
  const BookKeys keys = playLine(app, before);
  return app.book.entries()[app.book.findBookEntry(keys.key, keys.lock, square(move), square(move.substr(2)))];
}

}  // namespace kestrova::test
