#include "tournament/tournament_commands.hpp"

#include <string>

#include "rating/rating_repository.hpp"
#include "shell/app.hpp"
#include "tournament/tournament_finder.hpp"

namespace kestrova {

int handleFtrn(App& app, CommandLine& line) {
  // The format chosen here stays for the next ftrn.
  if (line.findOption("-fmt=")) app.settings.prfFileFmt = line.optionValue("-fmt=") == "html" ? 1 : 0;
  std::string base = "trnfound";
  if (line.findOption("-out=") && !line.optionValue("-out=").empty()) base = line.optionValue("-out=");
  // The finder deletes the file it writes; a file named like the bare base name is the user's.
  fillRepository(app.ratings, app.loopParts(), app.timers);
  const bool html = app.settings.prfFileFmt == 1;
  findTournaments(app.ratings, app.tournaments, app.pgn, app.console, html, base + (html ? ".html" : ".txt"));
  releaseRepository(app.ratings);
  return 1;
}

}  // namespace kestrova
