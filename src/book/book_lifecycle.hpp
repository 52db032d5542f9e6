#pragma once
// The book at start-up and at exit, and the configuration it takes from the settings.
namespace kestrova {

struct App;

// Gives the book the configured numeration base (bkNumBase) and hash size (bkHashSz); a value
// the book file cannot hold is reported and replaced by the default (224, 32 bits).
void applyBookSettings(App& app);

// Start-up: takes the settings and loads "book.obk" with its messages.
void loadBookAtStartUp(App& app);

// Exit: releases the loaded book.
void releaseBook(App& app);

}  // namespace kestrova
