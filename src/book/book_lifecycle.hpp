#pragma once
// The book at start-up and at exit, and the configuration it takes from the settings.
namespace kestrova {

class BookTable;
class Console;

// Gives the book the configured numeration base (bkNumBase) and hash size (bkHashSz); a value
// the book file cannot hold is reported and replaced by the default (224, 32 bits).
void applyBookSettings(BookTable& book, Console& console, unsigned numBase, unsigned hashSize);

// Start-up: takes the settings and loads "book.obk" with its messages.
void loadBookAtStartUp(BookTable& book, Console& console, unsigned numBase, unsigned hashSize);

// Exit: releases the loaded book.
void releaseBook(BookTable& book);

}  // namespace kestrova
