#pragma once
// Joining all PGN files of a directory into one file.
#include <string>

namespace kestrova {

class Console;
class PgnFile;

// Creates the output anew, closes the open PGN file, and copies every "*.pgn" file of the
// directory (in name order, the output itself excepted) into it, each followed by a newline.
bool mergeDirectory(Console& console, PgnFile& pgn, const std::string& directory, const std::string& outputName);

}  // namespace kestrova
