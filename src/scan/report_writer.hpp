#pragma once
// The report lines of the scan: padding, and the report of an illegal position met in a replay.
#include <string>

namespace kestrova {

struct App;

// Pads a line shorter than 56 characters with blanks to 57; longer lines stay as they are.
void padLine(std::string& line);

// "12." before an odd ply (White's move), "12..." before an even one: the move number of a ply.
void appendMoveNumber(std::string& line, int ply);

// Tests the position after a half-move; when it is not plausible, reports it on the console and
// in the scan log (when one is bound) and returns false.
bool reportIllegalPosition(App& app, int ply, int menBefore, int menAfter);

}  // namespace kestrova
