#pragma once
// Standard algebraic notation for the generator's moves, written independently of the SAN decoder
// that reads them back.
#include "generator_moves.hpp"

namespace kestrova::bench {

// Writes the SAN of one of the legal moves of a position (disambiguated among them, with "+" or
// "#") into out, which holds at least 12 characters; returns its length.
int writeSan(const GenMoveList& legal, const GenMove& move, bool mate, char* out);

}  // namespace kestrova::bench
