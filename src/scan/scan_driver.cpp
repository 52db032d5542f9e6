#include "scan/scan_driver.hpp"

#include <cinttypes>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "pgn/game.hpp"
#include "pgn/pgn_file.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/clock.hpp"
#include "platform/config_file.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"
#include "rating/rating_computation.hpp"
#include "rating/rating_repository.hpp"
#include "scan/rule_context.hpp"
#include "scan/rule_driver.hpp"
#include "scan/scan_run.hpp"

namespace kestrova {

namespace {

constexpr std::uint64_t kProgressEvery = 128;
// A game counts as commented when more than this many of its half-moves carry the data.
constexpr int kEnoughData = 4;

// Computes the ratings of every player of the file into the rating repository, for BestPerf,
// and writes "rating.txt". The repository is emptied first, so that games a command collected
// before the scan (syn fills it for the tournament finder) are not counted twice. True when the
// list was written.
bool computeScanRatings(const ScanParts& parts) {
  releaseRepository(parts.ratings);
  bool written = false;
  computeRatings(parts.ratings, parts.ratingSettings, parts.games, parts.timers, "rating.txt", &written);
  return written;
}

void printStatistics(Console& console, const ScanStatistics& s, const GameCounts& counts) {
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
  printGameCounts(console, counts);
  console.writeText("\n");
  console.bell();
}

// Runs the rules over every replayed game and sends the games a report marked to the PGN output.
class Scanning : public GameVisitor {
 public:
  Scanning(const GameLoopParts& games, const RuleContext& context) : games_(games), context_(context) {}

  void onGameStart() override {
    const Game& game = games_.game;
    context_.run.beginGame(game);
    context_.gameNumber = games_.pgn.gameNumber();
    context_.movetext = games_.pgn.gameBuffer();
    if (game.evaluationCount > kEnoughData) ++statistics.gamesWithEvaluations;
    if (game.depthCount > kEnoughData) ++statistics.gamesWithDepths;
    if (game.timeCount > kEnoughData) ++statistics.gamesWithTimes;
  }

  bool onPly(int ply, const Board& before) override {
    context_.before = &before;
    runMoveRules(context_, ply);
    return true;
  }

  void onGame() override {
    context_.before = nullptr;
    runGameEndRules(context_, games_.game.plyCount);
    if (context_.run.keepGame) writePgn(games_.game, games_.pgn, context_.run.pgn, games_.printCmt);
  }

  void onLeftOut(std::string_view report) override {
    ++statistics.criticalErrors;
    context_.run.log.write(report);
  }

  ScanStatistics statistics;

 private:
  const GameLoopParts& games_;
  RuleContext context_;
};

// A worker's scan: its own reports' state and rules' context, on the worker's game and board.
struct ScanWorker {
  ScanWorker(const ScanParts& parts, const GameLoopParts& games, std::span<platform::OutputFile* const> outputs,
             const RatingRepository* ratings, std::mutex& bookLock)
      : run(games.console, games.strings, games.language, *outputs[0], *outputs[1], *outputs[2]),
        visitor(games, RuleContext{parts.detections, run, games.game, *games.chess.attacks, games.chess.board, ratings,
                                   parts.book, nullptr, {}, 0, &bookLock}) {}
  ScanRun run;
  Scanning visitor;
};

class ScanWorkers : public GameWorkers {
 public:
  ScanWorkers(const ScanParts& parts, const RatingRepository* ratings) : parts_(parts), ratings_(ratings) {}

  GameVisitor& addWorker(GameLoop&, const GameLoopParts& games, std::span<platform::OutputFile* const> outputs) override {
    workers_.push_back(std::make_unique<ScanWorker>(parts_, games, outputs, ratings_, bookLock_));
    return workers_.back()->visitor;
  }

  // The statistics of every worker: sums, whatever games each worker had.
  ScanStatistics statistics() const {
    ScanStatistics s;
    for (const auto& worker : workers_) {
      const ScanStatistics& w = worker->visitor.statistics;
      s.gamesWithEvaluations += w.gamesWithEvaluations;
      s.gamesWithDepths += w.gamesWithDepths;
      s.gamesWithTimes += w.gamesWithTimes;
      s.criticalErrors += w.criticalErrors;
    }
    return s;
  }

 private:
  const ScanParts& parts_;
  const RatingRepository* ratings_;
  std::mutex bookLock_;
  std::vector<std::unique_ptr<ScanWorker>> workers_;
};

}  // namespace

bool runScan(const ScanParts& parts, platform::OutputFile& log, platform::OutputFile& pgn, platform::OutputFile& epd,
             ScanStatistics* statistics) {
  const GameLoopParts& games = parts.games;
  Console& console = games.console;
  console.writeText("> processing...\n");
  // The detection lines are read again, so that an edited configuration counts.
  platform::ConfigFile config;
  if (!config.read(parts.configFile)) {
    console.fail("> can not open \"%s\": the scan reads its detections there\n",
                 parts.configFile.empty() ? "kestrova.ini" : parts.configFile.c_str());
    return false;
  }
  loadDetectionSettings(parts.detections, config);
  const bool ratingListWritten = parts.runElo && computeScanRatings(parts);

  console.writeText("> scanning now for detections\n", colour::kSuccess);
  const std::int64_t startMs = parts.timers.nowMs();
  const RatingRepository* ratings = parts.ratings.isFilledFrom(games.pgn.generation()) ? &parts.ratings : nullptr;
  ScanWorkers workers(parts, ratings);
  platform::OutputFile* const outputs[] = {&log, &epd, &pgn};
  const GameCounts counts =
      runGameWorkers(games, GameDepth::kReplay, parts.threads, workers, outputs, "> scanning game ", kProgressEvery);
  ScanStatistics s = workers.statistics();
  s.gamesRead = counts.read;
  s.elapsedSeconds = static_cast<double>(parts.timers.nowMs() - startMs) / 1000.0;
  s.ratingListWritten = ratingListWritten;
  printStatistics(console, s, counts);
  if (statistics != nullptr) *statistics = s;
  return true;
}

}  // namespace kestrova
