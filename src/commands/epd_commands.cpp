#include "commands/epd_commands.hpp"

#include <string>

#include "commands/epd_dedup.hpp"
#include "commands/epd_diagrams.hpp"
#include "commands/fen_statistics.hpp"
#include "pgn/output_files.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

constexpr const char* kSavedPositions = "epdsave.epd";
constexpr const char* kDedupInput = "inputepd.epd";
constexpr const char* kDedupOutput = "outputepd.epd";

}  // namespace

int handleEpdsv(App& app, CommandLine& line) {
  // Each position goes to the file as one whole line at once, so that none is lost at exit and
  // none runs into the next.
  const std::string entry = app.game.previousFen + "game " + "Current position" + "\n";
  if (refusesAsOutput(app.console, app.pgn, kSavedPositions)) return 1;
  platform::OutputFile out;
  if (!beginOutputOrSay(app.console, out, kSavedPositions, true)) return 1;
  out.write(entry);
  finishOutput(app.console, out);
  return 1;
}

int handleFenstat(App& app, CommandLine& line) {
  runFenStatistics(app.loopParts(), app.settings.threads, app.timers);
  return 1;
}

int handleFepd(App& app, CommandLine& line) {
  searchEpdPositions(app.loopParts(), app.timers, line.word(1));
  return 1;
}

int handleDdepd(App& app, CommandLine& line) {
  const std::string in = line.findOption("-in=") ? std::string(line.optionValue("-in=")) : kDedupInput;
  const std::string out = outputOption(line, kDedupOutput);
  if (removeRepeatedPositions(app.console, app.pgn, *app.chess.zobrist, in, out)) {
    app.console.print(colour::kSuccess, "- operation complete\n- please see the %s file\n", out.c_str());
  } else {
    app.console.fail("- can't start or terminate the process !\n");
  }
  return 1;
}

}  // namespace kestrova
