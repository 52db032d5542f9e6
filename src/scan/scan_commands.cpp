#include "scan/scan_commands.hpp"

#include <cstdio>
#include <string>

#include "pgn/output_files.hpp"
#include "platform/output_file.hpp"
#include "rating/rating_repository.hpp"
#include "scan/scan_driver.hpp"
#include "scan/synthesis.hpp"
#include "scan/synthesis_html.hpp"
#include "shell/app.hpp"
#include "tournament/tournament_finder.hpp"

namespace kestrova {

namespace {

// The option's value when the command has words after it and the option is among them.
std::string optionOr(const CommandLine& line, std::string_view option, const char* fallback) {
  if (!line.hasWord(1) || line.findOption(option) == 0) return fallback;
  return std::string(line.optionValue(option));
}

// The configuration a scan reads again: it may not be one of its outputs.
std::string configInput(const App& app) { return app.configFile.empty() ? Settings::kConfigFile : app.configFile; }

// What of the application a scan works with.
ScanParts scanParts(App& app) {
  return {app.loopParts(), configInput(app), app.detections, app.ratings, app.settings.rating,
          app.settings.runElo, app.book, app.timers, app.settings.threads};
}

// Begins the scan's three outputs in the order log, EPD, PGN; false after the message of the
// first that cannot be begun.
bool createScanFiles(App& app, platform::OutputFile& log, const std::string& logName, platform::OutputFile& epd,
                     const std::string& epdName, platform::OutputFile& pgn, const std::string& pgnName) {
  return createOutputFileOrSay(app.console, app.pgn, log, logName) &&
         createOutputFileOrSay(app.console, app.pgn, epd, epdName) &&
         createOutputFileOrSay(app.console, app.pgn, pgn, pgnName);
}

// Completes the three outputs together; each failure is reported. True when all three were written.
bool finishScanFiles(App& app, platform::OutputFile& log, platform::OutputFile& epd, platform::OutputFile& pgn) {
  return finishOutputs(app.console, {&log, &epd, &pgn});
}

}  // namespace

int handleScan(App& app, CommandLine& line) {
  const std::string logName = optionOr(line, "-l=", "log.txt");
  const std::string epdName = optionOr(line, "-e=", "epd-out.epd");
  const std::string pgnName = optionOr(line, "-p=", "pgn-out.pgn");
  const char* ratingList = app.settings.runElo ? "rating.txt" : "";
  // The scan reads its detection settings from the configuration file.
  if (refusesOutputs(app.console, app.pgn, {logName, epdName, pgnName, ratingList}, {configInput(app)})) {
    return 1;
  }
  platform::OutputFile log, epd, pgn;
  if (!createScanFiles(app, log, logName, epd, epdName, pgn, pgnName)) return 1;
  ScanStatistics statistics;
  const bool scanned = runScan(scanParts(app), log, pgn, epd, &statistics);
  releaseRepository(app.ratings);
  if (!scanned) return 1;
  if (finishScanFiles(app, log, epd, pgn)) {
    app.console.print(colour::kSuccess, "see %s file\nsee %s or %s file\n", logName.c_str(), epdName.c_str(),
                      pgnName.c_str());
  }
  if (statistics.ratingListWritten) app.console.writeText("see also rating.txt\n", colour::kSuccess);
  return 1;
}

int handleSyn(App& app, CommandLine& line) {
  const std::string synthesisName = optionOr(line, "-out=", "synthesis.txt");
  // The page beside the text: synthesis.txt gives synthesis.html.
  const std::string pageName =
      (synthesisName.ends_with(".txt") ? synthesisName.substr(0, synthesisName.size() - 4) : synthesisName) + ".html";
  const char* ratingList = app.settings.runElo ? "rating.txt" : "";
  if (refusesOutputs(app.console, app.pgn,
                     {synthesisName, pageName, "log.txt", "epd-out.epd", "pgn-out.pgn", "trnfound.txt", ratingList},
                     {configInput(app)})) {
    return 1;
  }
  platform::OutputFile synthesis, page, log, epd, pgn;
  app.tournaments.reportPairings = line.findOption("-pairs") != 0;
  bool done = false;
  // The synthesis copies the tournaments and the log from their files: each must have been written
  // by this run, or an earlier run's text would pass for this one's.
  if (createOutputFileOrSay(app.console, app.pgn, synthesis, synthesisName) &&
      createScanFiles(app, log, "log.txt", epd, "epd-out.epd", pgn, "pgn-out.pgn") &&
      fillRepository(app.ratings, app.loopParts(), app.timers) &&
      // The cross-tables are joined as text, whatever format ftrn uses.
      findTournaments(app.ratings, app.tournaments, app.pgn, app.console, false, "trnfound.txt") &&
      runScan(scanParts(app), log, pgn, epd) && finishScanFiles(app, log, epd, pgn) &&
      writeSynthesis(app.console, synthesis, Settings::kVersion) &&
      createOutputFileOrSay(app.console, app.pgn, page, pageName) &&
      writeSynthesisHtml(app.loopParts(), app.ratings, "trnfound.txt", ratingList, "log.txt", page)) {
    done = finishOutputs(app.console, {&synthesis, &page});
  }
  // Whatever stopped it, the repository is released.
  releaseRepository(app.ratings);
  if (done) app.console.print(colour::kSuccess, "see %s file\nsee %s file\n", synthesisName.c_str(), pageName.c_str());
  return 1;
}

}  // namespace kestrova
