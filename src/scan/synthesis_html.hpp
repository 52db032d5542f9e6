#pragma once
// "synthesis.html": the synthesis as a page to look at rather than read. The tournaments and the
// rating list as written, and for each game the scan reported on, its report lines and a chart of
// the engines' evaluations, depths and times per half-move, each report marked at its half-move.
// Inline SVG written here: no script, no library, no network.
#include <string_view>

namespace kestrova {

struct GameLoopParts;
class RatingRepository;
namespace platform {
class OutputFile;
}

// Reads the tournaments, the rating list (when there is one) and the scan's log from their files,
// and the reported games again from the open file, one at a time: the log is in game order, so the
// page is written in constant memory. The ratings chart is drawn from the rated repository.
// False, after the message, when a file cannot be read.
bool writeSynthesisHtml(const GameLoopParts& games, const RatingRepository& ratings, std::string_view tournamentsFile,
                        std::string_view ratingFile, std::string_view logFile, platform::OutputFile& out);

}  // namespace kestrova
