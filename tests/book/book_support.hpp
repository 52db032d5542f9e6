#pragma once
// Books built in memory or written by hand for the book tests.
#include <memory>
#include <string>
#include <vector>

#include "book/book_entry.hpp"
#include "book/book_reporter.hpp"
#include "book/book_table.hpp"

namespace kestrova::test {

// Collects the book reader's messages.
class TextReporter final : public BookReporter {
 public:
  void write(int, std::string_view text) override { text_.append(text); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

inline BookEntry entry(std::uint64_t key, std::uint64_t lock, int from, int to, std::uint32_t n) {
  BookEntry e;
  e.key = key;
  e.lock = lock;
  e.from = static_cast<std::uint8_t>(from);
  e.to = static_cast<std::uint8_t>(to);
  e.n = n;
  return e;
}

// Gives the table these entries (already in key order) as its loaded book.
inline void adopt(BookTable& book, const std::vector<BookEntry>& entries) {
  std::unique_ptr<BookEntry[]> table(new BookEntry[entries.size() + 2]);
  for (std::size_t i = 0; i < entries.size(); ++i) table[i + 1] = entries[i];
  book.adoptEntries(std::move(table), static_cast<int>(entries.size()));
}

// A book file written by hand: every table value 0 (one digit 0: a blank in base 224).
inline std::string zeroTablesSection(char zero = ' ') {
  std::string text = "\r\n[zTab]\r\n";
  for (int i = 0; i < 1 + 2 * 768; ++i) text += std::string(1, zero) + "\r\n";
  return text;
}

inline std::string parametersSection(const std::string& moves, int numBase = 224, int hashSz = 64) {
  return "\r\n[parameters]\r\n" + moves + "\r\nsorted=1\r\nclean=1\r\nnumBase=" + std::to_string(numBase) +
         "\r\nhashSz=" + std::to_string(hashSz) + "\r\n\r\n";
}

}  // namespace kestrova::test
