#pragma once
// One ranked tournament as text or HTML: its title block and, by type, its cross-table or the
// table of the gauntlet's evaluated player.

namespace kestrova {

struct EventGroup;
class RatingRepository;
class TournamentTable;
namespace platform {
class OutputFile;
}

// The head of the HTML page with the list of every event group, each a link to its tournament.
void writeHtmlIndex(const RatingRepository& repository, platform::OutputFile& out);
void writeHtmlEnd(platform::OutputFile& out);

void writeTournamentText(const TournamentTable& table, const RatingRepository& repository, const EventGroup& group,
                         int type, platform::OutputFile& out);

void writeTournamentHtml(const TournamentTable& table, const RatingRepository& repository, const EventGroup& group,
                         int type, platform::OutputFile& out);

}  // namespace kestrova
