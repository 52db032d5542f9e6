#pragma once
// Book keys straight from the placement field of a FEN text, without a board.
#include "book/book_entry.hpp"

namespace kestrova {

class BookTable;

// Reads the placement up to a line feed, a blank or the end of the text, then the side ("b" after
// the blank is Black to move; anything else, or no side field, is White). False for a character
// that is neither a piece letter, a digit 1..8 nor "/", or for a piece beyond the 64th square.
bool bookKeysFromFen(const BookTable& book, const char* fen, BookKeys& keys);

}  // namespace kestrova
