#pragma once
// The interactive book browser of showbk.
#include <string>

#include "book/book_parts.hpp"

namespace kestrova {

struct BookEntry;

// Walks through the loaded book from the start position until the user quits (or the input
// ends), listing the book moves of each position with their statistics.
void browseBook(const BookParts& parts);

// Prints the diagram of the current position and its book moves, as one step of the browser;
// returns how many moves the book holds there (the list stays in the book's move list).
int showBookPosition(const BookParts& parts);

// One line of the list, numbered from 1 ("1.e2e4\tn=3\t pc=50 ...").
std::string formatBookMoveLine(int number, const BookEntry& entry);

}  // namespace kestrova
