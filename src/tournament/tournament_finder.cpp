#include "tournament/tournament_finder.hpp"

#include "pgn/output_files.hpp"
#include "pgn/pgn_file.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"
#include "rating/rating_repository.hpp"
#include "tournament/tournament_table.hpp"
#include "tournament/tournament_writer.hpp"

namespace kestrova {

namespace {

void writeTournament(const RatingRepository& repository, TournamentTable& table, const EventGroup& group, bool html,
                     platform::OutputFile& out) {
  ++table.tournamentsHandled;
  // A group that is no tournament is a match, or several: each pairing gets its match report.
  const int type = tournamentType(table);
  rankTable(table, type);
  if (html) writeTournamentHtml(table, repository, group, type, out);
  else writeTournamentText(table, repository, group, type, out);
}

}  // namespace

bool findTournaments(const RatingRepository& repository, TournamentTable& table, const PgnFile& pgn, Console& console,
                     bool html, const std::string& fileName) {
  if (!repository.isFilledFrom(pgn.generation())) {
    console.fail("> data not collected\n");
    return false;
  }
  console.writeText("> filling repository\n", colour::kSuccess);
  const std::string name = !fileName.empty() ? fileName : html ? "trnfound.html" : "trnfound.txt";
  platform::OutputFile out;
  if (!createOutputFileOrSay(console, pgn, out, name)) return false;
  if (html) writeHtmlIndex(repository, out);

  table.reset();
  const RatedGame* previous = nullptr;
  for (const RatedGame& game : repository.games()) {
    if (previous != nullptr && game.group != previous->group) {
      writeTournament(repository, table, repository.groups()[previous->group], html, out);
      table.reset();
    }
    table.addTableGame(game.white, game.black, game.whiteScore, 1, game.round);
    table.addTableGame(game.black, game.white, game.blackScore, 0, game.round);
    previous = &game;
  }
  // A file without games has no last tournament.
  if (previous != nullptr) writeTournament(repository, table, repository.groups()[previous->group], html, out);

  if (html) writeHtmlEnd(out);
  if (!finishOutput(console, out)) return false;
  console.print(colour::kSuccess, "> see %s\n", name.c_str());
  return true;
}

}  // namespace kestrova
