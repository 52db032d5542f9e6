#include "tournament/tournament_commands.hpp"

#include <string>

#include "pgn/output_files.hpp"
#include "rating/rating_repository.hpp"
#include "shell/app.hpp"
#include "tournament/tournament_finder.hpp"

namespace kestrova {

int handleFtrn(App& app, CommandLine& line) {
  // The format chosen here stays for the next ftrn.
  if (line.findOption("-fmt=")) app.settings.prfFileFmt = line.optionValue("-fmt=") == "html" ? 1 : 0;
  std::string base = "trnfound";
  if (line.findOption("-out=") && !line.optionValue("-out=").empty()) base = line.optionValue("-out=");
  app.tournaments.reportPairings = line.findOption("-pairs") != 0;
  // The finder replaces the file it writes; a file named like the bare base name is the user's.
  const bool html = app.settings.prfFileFmt == 1;
  const std::string name = base + (html ? ".html" : ".txt");
  // Refused before the games are read, not after.
  if (refusesAsOutput(app.console, app.pgn, name)) return 1;
  // A fill that failed leaves the data uncollected, which the finder reports.
  fillRepository(app.ratings, app.loopParts(), app.timers);
  findTournaments(app.ratings, app.tournaments, app.pgn, app.console, html, name);
  releaseRepository(app.ratings);
  return 1;
}

}  // namespace kestrova
