#include "book/book_key_generation.hpp"

#include "book/book_table.hpp"
#include "chess/zobrist.hpp"

namespace kestrova {

std::uint64_t bookRandom32(std::uint32_t& state) {
  state = state * 1103515245u + 12345u;
  return state;
}

void generateBookTables(BookTable& book) {
  const bool wide = book.hashSize() == 64;
  auto draw = [&book, wide] { return wide ? random64(book.runtimeRandom) : bookRandom32(book.bookRandomState); };
  book.sideKey = draw();
  for (int i = 0; i < BookTable::kTableSize; ++i) {
    book.keyTable[i] = draw();
    book.lockTable[i] = draw();
  }
}

}  // namespace kestrova
