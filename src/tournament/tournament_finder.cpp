#include "tournament/tournament_finder.hpp"

#include "pgn/output_files.hpp"
#include "platform/output_file.hpp"
#include "rating/rating_repository.hpp"
#include "shell/app.hpp"
#include "tournament/tournament_table.hpp"
#include "tournament/tournament_writer.hpp"

namespace kestrova {

namespace {

void writeTournament(App& app, const EventGroup& group, bool html, platform::OutputFile& out) {
  TournamentTable& table = app.tournaments;
  ++table.tournamentsHandled;
  const int type = tournamentType(table);
  if (type == kNoTournament) return;
  rankTable(table);
  if (html) writeTournamentHtml(table, app.ratings, group, type, out);
  else writeTournamentText(table, app.ratings, group, type, out);
}

}  // namespace

bool findTournaments(App& app, const std::string& fileName) {
  const RatingRepository& repository = app.ratings;
  if (!repository.isFilledFrom(app.pgn.generation())) {
    app.console.writeText("> data not collected\n", colour::kError);
    return false;
  }
  app.console.writeText("> filling repository\n", colour::kSuccess);
  const bool html = app.settings.prfFileFmt == 1;
  const std::string name = !fileName.empty() ? fileName : html ? "trnfound.html" : "trnfound.txt";
  platform::OutputFile out;
  if (!createOutputFile(app.console, app.pgn, out, name)) {
    app.console.writeText("> can't create trnfound file\n", colour::kError);
    return false;
  }
  if (html) writeHtmlIndex(repository, out);

  TournamentTable& table = app.tournaments;
  table.reset();
  const RatedGame* previous = nullptr;
  for (const RatedGame& game : repository.games()) {
    if (previous != nullptr && game.group != previous->group) {
      writeTournament(app, repository.groups()[previous->group], html, out);
      table.reset();
    }
    table.addTableGame(game.white, game.black, game.whiteScore, 1);
    table.addTableGame(game.black, game.white, game.blackScore, 0);
    previous = &game;
  }
  // A file without games has no last tournament.
  if (previous != nullptr) writeTournament(app, repository.groups()[previous->group], html, out);

  if (html) writeHtmlEnd(out);
  app.console.print(colour::kSuccess, "> see %s\n", name.c_str());
  out.close();
  return true;
}

}  // namespace kestrova
