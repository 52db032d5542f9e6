#pragma once
// Choosing one move of a position's book list for GetAMove.
#include "book/book_entry.hpp"
#include "chess/zobrist.hpp"

namespace kestrova {

enum BookChoice : int { kWeightedByGames = 1, kMostPlayed = 2, kBestEloGain = 3 };

// The index in the list (most played first) of the move the mode chooses, -1 for an unknown
// mode. Weighted choice draws whole percents from the generator.
int chooseBookMove(const BookMoveList& list, int mode, RuntimeRandom& random);

}  // namespace kestrova
