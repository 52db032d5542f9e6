#include "scan/scan_commands.hpp"

#include <cstdio>
#include <string>

#include "pgn/output_files.hpp"
#include "platform/files.hpp"
#include "platform/output_file.hpp"
#include "rating/rating_repository.hpp"
#include "scan/scan_driver.hpp"
#include "scan/synthesis.hpp"
#include "shell/app.hpp"
#include "tournament/tournament_finder.hpp"

namespace kestrova {

namespace {

// The option's value when the command has words after it and the option is among them.
std::string optionOr(const CommandLine& line, std::string_view option, const char* fallback) {
  if (!line.hasWord(1) || line.findOption(option) == 0) return fallback;
  return std::string(line.optionValue(option));
}

// What of the application a scan works with.
ScanParts scanParts(App& app) {
  return {app.loopParts(), Settings::kConfigFile, app.detections, app.ratings, app.settings.rating,
          app.settings.runElo, app.book, app.timers};
}

// Creates the scan's three outputs in the order log, EPD, PGN; false after the message of the
// first that cannot be created.
bool createScanFiles(App& app, platform::OutputFile& log, const std::string& logName, platform::OutputFile& epd,
                     const std::string& epdName, platform::OutputFile& pgn, const std::string& pgnName) {
  if (!createOutputFile(app.console, app.pgn, log, logName)) {
    app.console.writeText("> cannot create a log file\n", colour::kError);
    return false;
  }
  if (!createOutputFile(app.console, app.pgn, epd, epdName)) {
    app.console.writeText("> cannot create an epd file\n", colour::kError);
    return false;
  }
  if (!createOutputFile(app.console, app.pgn, pgn, pgnName)) {
    app.console.writeText("> cannot create a pgn file\n", colour::kError);
    return false;
  }
  return true;
}

}  // namespace

int handleScan(App& app, CommandLine& line) {
  const std::string logName = optionOr(line, "-l=", "log.txt");
  const std::string epdName = optionOr(line, "-e=", "epd-out.epd");
  const std::string pgnName = optionOr(line, "-p=", "pgn-out.pgn");
  platform::OutputFile log, epd, pgn;
  if (!createScanFiles(app, log, logName, epd, epdName, pgn, pgnName)) return 1;
  runScan(scanParts(app), log, pgn, epd);
  releaseRepository(app.ratings);
  log.close();
  epd.close();
  pgn.close();
  app.console.print(colour::kSuccess, "see %s file\nsee %s or %s file\n", logName.c_str(), epdName.c_str(),
                    pgnName.c_str());
  if (app.settings.runElo) app.console.writeText("see also rating.txt\n", colour::kSuccess);
  return 1;
}

int handleSyn(App& app, CommandLine& line) {
  const std::string synthesisName = optionOr(line, "-out=", "synthesis.txt");
  // The scan files are deleted as they are created; the finder's file is deleted now, so that a
  // failed run leaves no old cross-tables behind (never the file being read).
  if (!platform::sameFile("trnfound.txt", app.pgn.name())) std::remove("trnfound.txt");

  platform::OutputFile synthesis, log, epd, pgn;
  bool done = false;
  if (!createOutputFile(app.console, app.pgn, synthesis, synthesisName)) {
    app.console.writeText("\n> Kestrova can't create the synthesis file\n", colour::kError);
  } else if (createScanFiles(app, log, "log.txt", epd, "epd-out.epd", pgn, "pgn-out.pgn") &&
             fillRepository(app.ratings, app.loopParts(), app.timers)) {
    // The cross-tables are joined as text, whatever format ftrn uses.
    findTournaments(app.ratings, app.tournaments, app.pgn, app.console, false, "trnfound.txt");
    if (runScan(scanParts(app), log, pgn, epd)) {
      log.close();
      epd.close();
      pgn.close();
      writeSynthesis(app.console, synthesis, Settings::kVersion);
      done = true;
    }
  }
  // Whatever stopped it, the repository is released.
  synthesis.close();
  releaseRepository(app.ratings);
  if (done) app.console.print(colour::kSuccess, "see %s file\n", synthesisName.c_str());
  return 1;
}

}  // namespace kestrova
