#pragma once
// Writing the book file: its three sections with CR LF line ends, record by record.
#include <string_view>

namespace kestrova {

struct BookEntry;
class BookTable;
class Console;
class PgnFile;
namespace platform {
class OutputFile;
}

class BookWriter {
 public:
  // Writes in the table's numeration base and hash size.
  BookWriter(platform::OutputFile& out, const BookTable& book) : out_(out), book_(book) {}

  // The "[zTab]" section: the side key, then the key and lock value of every table index.
  void writeTables();
  // Opens the "[moves]" section.
  void beginMoves();
  // One record: key, lock, packed data (with a 32-bit hash the key and lock share one line).
  void writeRecord(const BookEntry& entry);
  // The "[parameters]" section with the table's numeration base and hash size.
  void writeParameters(int moves, bool sorted, bool clean);

 private:
  // Appends a book number and a line end to the text being built.
  char* appendNumber(char* at, unsigned long long value) const;

  platform::OutputFile& out_;
  const BookTable& book_;
};

// Writes the loaded book back to its file, leaving out the entries whose key is 0 (and counting
// them off `moves`). Reports and returns false without a book or when the file can't be created
// (the open PGN file is never overwritten).
bool saveBook(BookTable& book, Console& console, const PgnFile& open);

}  // namespace kestrova
