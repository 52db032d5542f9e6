#pragma once
// Fresh Zobrist tables for a new book.
#include <cstdint>

namespace kestrova {

class BookTable;

// The 32-bit generator of 32-bit books: x = x * 1103515245 + 12345 (mod 2^32), the new state
// being the value.
std::uint64_t bookRandom32(std::uint32_t& state);

// Draws the side key, then the key and the lock value of every table index in ascending order:
// random64 values of the run-time generator for a 64-bit book, bookRandom32 values otherwise.
// Both generators run on from the table's state, so the books of a run differ but every machine
// makes the same ones.
void generateBookTables(BookTable& book);

}  // namespace kestrova
