#pragma once
// Cutting the games of the filled rating repository into tournaments and writing them.
#include <string>

namespace kestrova {

struct App;

// Writes every tournament of the repository's event groups to the file (empty: "trnfound.html"
// or "trnfound.txt"), as HTML when prfFileFmt is 1, else as text. False (after the message) when
// the repository was not filled from the open file or the file cannot be created.
bool findTournaments(App& app, const std::string& fileName);

}  // namespace kestrova
