#pragma once
// Engine-driven commands: askng and vfilt.
#include <string>
#include <string_view>

namespace kestrova {

struct App;
class CommandLine;

// Shows the current position and lets the engine think about it, displaying its variations.
int handleAskng(App& app, CommandLine& line);

// Has the engine evaluate one position of every game of the open file and sorts the games into
// the output file (value inside the window) and "vfilt.pgn" (outside it, or not analysed).
int handleVfilt(App& app, CommandLine& line);

// The Annotator text vfilt gives a game. A tag value holds 69 characters; when the numbers make
// the text longer, the filter window (the same for every game of a run) is left out so that the
// status always stays whole.
std::string filterStatus(unsigned gameNumber, int depth, int value, int lowerBound, int upperBound,
                         bool accepted);

// The Annotator text of a game vfilt could not have analysed, with the reason, within a tag value.
std::string notAnalysedStatus(unsigned gameNumber, std::string_view reason);

}  // namespace kestrova
