#pragma once
// Cutting the games of the filled rating repository into tournaments and writing them.
#include <string>

namespace kestrova {

class Console;
class PgnFile;
class RatingRepository;
class TournamentTable;

// Writes every tournament of the repository's event groups to the file (empty: "trnfound.html"
// or "trnfound.txt"), as HTML or as text, ranking each in the table. False (after the message)
// when the repository was not filled from the open file or the file cannot be created.
bool findTournaments(const RatingRepository& repository, TournamentTable& table, const PgnFile& pgn, Console& console,
                     bool html, const std::string& fileName);

}  // namespace kestrova
