#pragma once
// Removing repeated positions from an EPD file: the ddepd command and the book analysis share it.
#include <string>

namespace kestrova {

class Console;
class PgnFile;
struct ZobristTables;

// Copies the lines of `in` to `out` unchanged, leaving out every line whose position (placement
// and side to move; castling rights and en passant do not count) repeats an earlier line; prints
// the processing notice, the reason of a failure and the counts. The closing notice ("- operation
// complete" or the failure line) is the caller's. False when a file cannot be opened or created.
// Positions are told apart by the keys of `zobrist`; `open` is the PGN file that must not be the output.
bool removeRepeatedPositions(Console& console, const PgnFile& open, const ZobristTables& zobrist,
                             const std::string& in, const std::string& out);

}  // namespace kestrova
