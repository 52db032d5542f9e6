#include "scan/scan_driver.hpp"

#include <cinttypes>

#include "chess/fen.hpp"
#include "pgn/game_loop.hpp"
#include "platform/config_file.hpp"
#include "platform/output_file.hpp"
#include "rating/rating_computation.hpp"
#include "rating/rating_repository.hpp"
#include "scan/report_writer.hpp"
#include "scan/rule_driver.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

constexpr std::uint64_t kProgressEvery = 128;
// A game counts as commented when more than this many of its half-moves carry the data.
constexpr int kEnoughData = 4;

// Computes the ratings of every player of the file into the rating repository, for BestPerf,
// and writes "rating.txt". The repository is emptied first, so that games a command collected
// before the scan (syn fills it for the tournament finder) are not counted twice.
void computeScanRatings(App& app) {
  releaseRepository(app.ratings);
  computeRatings(app, "rating.txt");
}

// Unbinds the streams, which the caller closes after the scan.
void unbindStreams(DetectionSettings& d) { d.log = d.epd = d.pgn = nullptr; }

void printStatistics(App& app, const ScanStatistics& s) {
  Console& console = app.console;
  console.writeText("\n");
  console.print(colour::kNormal,
                "%" PRIu64 " games read in %.2fs\n%" PRIu64 " games with enough evaluation data\n%" PRIu64
                " games with enough depth data\n%" PRIu64 " games with enough time data\n",
                s.gamesRead, s.elapsedSeconds, s.gamesWithEvaluations, s.gamesWithDepths, s.gamesWithTimes);
  console.print(s.criticalErrors > 0 ? colour::kError : colour::kNormal, "%" PRIu64 " games with critical error\n",
                s.criticalErrors);
  if (s.gamesWithEvaluations == 0 && s.gamesWithDepths == 0 && s.gamesWithTimes == 0) {
    console.writeText("> Warning ! No commented game found\n", colour::kError);
  }
  console.writeText("\n");
  console.writeText("\a");
}

}  // namespace

bool runScan(App& app, platform::OutputFile& log, platform::OutputFile& pgn, platform::OutputFile& epd,
             ScanStatistics* statistics) {
  app.console.writeText("> processing...\n");
  // The detection lines are read again, so that an edited configuration counts.
  platform::ConfigFile config;
  if (!config.read(Settings::kConfigFile)) {
    app.console.writeText("> can not open \"kestrova.ini\"\n", colour::kError);
    return false;
  }
  loadDetectionSettings(app.detections, config);
  if (app.settings.runElo) computeScanRatings(app);

  app.console.writeText("> scanning now for detections\n", colour::kSuccess);
  const std::int64_t startMs = app.timers.nowMs();
  struct Scanning : GameVisitor {
    Scanning(App& app, platform::OutputFile& log, platform::OutputFile& pgn, platform::OutputFile& epd)
        : app(app), log(log), pgn(pgn), epd(epd) {}
    void onGameStart() override {
      const Game& game = app.game;
      beginGameDetections(app.detections, &log, &pgn, &epd);
      if (game.evaluationCount > kEnoughData) ++s.gamesWithEvaluations;
      if (game.depthCount > kEnoughData) ++s.gamesWithDepths;
      if (game.timeCount > kEnoughData) ++s.gamesWithTimes;
    }
    bool onPly(int ply, const Board& before) override {
      // The rules report the position before or after the move.
      const int mover = ply % 2 == 1 ? kWhite : kBlack;
      writeFen(before, mover, app.game.previousFen);
      writeFen(app.chess.board, 1 - mover, app.game.currentFen);
      runMoveRules(app, ply);
      return true;
    }
    void onGame() override { runGameEndRules(app, app.game.plyCount); }
    void onLeftOut(std::string_view report) override {
      ++s.criticalErrors;
      log.write(report);
    }
    App& app;
    platform::OutputFile& log;
    platform::OutputFile& pgn;
    platform::OutputFile& epd;
    ScanStatistics s;
  } visitor(app, log, pgn, epd);
  GameLoop loop(app.loopParts(), GameDepth::kReplay);
  loop.showProgress("> scanning game ", kProgressEvery);
  const GameCounts counts = loop.run(visitor);
  ScanStatistics& s = visitor.s;
  s.gamesRead = counts.read;
  s.elapsedSeconds = static_cast<double>(app.timers.nowMs() - startMs) / 1000.0;
  unbindStreams(app.detections);
  printStatistics(app, s);
  printGameCounts(app.console, counts);
  if (statistics != nullptr) *statistics = s;
  return true;
}

}  // namespace kestrova
