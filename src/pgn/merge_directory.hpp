#pragma once
// Joining all PGN files of a directory into one file.
#include <string>

namespace kestrova {

struct App;

// Creates the output anew, closes the open PGN file, and copies every "*.pgn" file of the
// directory (in name order, the output itself excepted) into it, each followed by a newline.
bool mergeDirectory(App& app, const std::string& directory, const std::string& outputName);

}  // namespace kestrova
