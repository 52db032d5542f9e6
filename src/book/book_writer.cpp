#include "book/book_writer.hpp"

#include "book/book_table.hpp"
#include "pgn/output_files.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

char* BookWriter::appendNumber(char* at, unsigned long long value) const {
  at += book_.numeration().encode(value, at);
  *at++ = '\r';
  *at++ = '\n';
  return at;
}

void BookWriter::writeTables() {
  out_.write("\r\n[zTab]\r\n");
  char text[3 * (BookNumeration::kMaxDigits + 2)];
  out_.write(std::string_view(text, appendNumber(text, book_.sideKey) - text));
  for (int i = 0; i < BookTable::kTableSize; ++i) {
    char* end = appendNumber(text, book_.keyTable[i]);
    end = appendNumber(end, book_.lockTable[i]);
    out_.write(std::string_view(text, end - text));
  }
}

void BookWriter::beginMoves() { out_.write("\r\n[moves]\r\n"); }

void BookWriter::writeRecord(const BookEntry& entry) {
  char text[3 * (BookNumeration::kMaxDigits + 2)];
  char* end = text;
  if (book_.hashSize() == 64) {
    end = appendNumber(end, entry.key);
    end = appendNumber(end, entry.lock);
  } else {
    end = appendNumber(end, (entry.lock << 32) + (entry.key & 0xFFFFFFFFu));
  }
  end = appendNumber(end, packMoveData(entry));
  out_.write(std::string_view(text, end - text));
}

void BookWriter::writeParameters(int moves, bool sorted, bool clean) {
  out_.print("\r\n[parameters]\r\nmoves=%d\r\nsorted=%d\r\nclean=%d\r\nnumBase=%u\r\nhashSz=%u\r\n\r\n", moves,
             sorted ? 1 : 0, clean ? 1 : 0, book_.numBase(), book_.hashSize());
}

bool saveBook(BookTable& book, Console& console, const PgnFile& open) {
  if (!book.isLoaded()) {
    console.fail("> no book in memory\n");
    return false;
  }
  platform::OutputFile out;
  if (!createOutputFileOrSay(console, open, out, book.fileName)) return false;
  BookWriter writer(out, book);
  writer.writeTables();
  writer.beginMoves();
  // The entries left are closed up in memory as well, so the book stays searchable after saving.
  BookEntry* entries = book.entries();
  int kept = 0;
  for (int i = 1; i <= book.moves; ++i) {
    if (entries[i].key == 0) continue;
    writer.writeRecord(entries[i]);
    entries[++kept] = entries[i];
  }
  entries[kept + 1].key = 0;
  book.moves = kept;
  writer.writeParameters(book.moves, book.sorted, book.clean);
  return finishOutput(console, out);
}

}  // namespace kestrova
