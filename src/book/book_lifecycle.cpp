#include "book/book_lifecycle.hpp"

#include "book/book_table.hpp"
#include "book/console_book_reporter.hpp"

namespace kestrova {

void applyBookSettings(BookTable& book, Console& console, unsigned numBase, unsigned hashSize) {
  if (!book.setNumerationBase(numBase)) {
    console.print(colour::kError, "> bkNumBase=%u is not a book numeration base (2 to 224): 224 used\n", numBase);
  }
  if (!book.setHashSize(hashSize)) {
    console.print(colour::kError, "> bkHashSz=%u is not a book hash size (32 or 64): 32 used\n", hashSize);
  }
}

void loadBookAtStartUp(BookTable& book, Console& console, unsigned numBase, unsigned hashSize) {
  applyBookSettings(book, console, numBase, hashSize);
  ConsoleBookReporter reporter(console);
  book.loadBook("book.obk", reporter);
}

void releaseBook(BookTable& book) { book.closeBook(); }

}  // namespace kestrova
