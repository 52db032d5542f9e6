#pragma once
// What the browser and the library show of a book move besides its stored fields.
namespace kestrova {

struct BookEntry;

// The opponents' average Elo plus the rating difference of the move's score; 0 when the
// opponents' Elo is unknown.
int perf(const BookEntry& entry);

// perf minus the mover's average Elo; 0 when either is unknown.
int eloGain(const BookEntry& entry);

}  // namespace kestrova
