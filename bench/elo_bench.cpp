// elo on a file of the game generator (100,000 games unless KESTROVA_BENCH_GAMES says otherwise),
// with the default configuration (minNbGm 20, maxIterations 200). Next to it, the reading that
// elo starts with (every game read and its tags loaded) and the rating work alone on a filled
// repository, so that the cost of the ratings shows beside the cost of reading the file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "configured_app.hpp"
#include "peers.hpp"
#include "pgn/game_loop.hpp"
#include "platform/output_file.hpp"
#include "process_measure.hpp"
#include "rating/rating_computation.hpp"
#include "rating/rating_repository.hpp"
#include "shell/app.hpp"
#include "shell/command_table.hpp"

namespace {

namespace fs = std::filesystem;
using namespace kestrova;
using namespace kestrova::bench;
using Clock = std::chrono::steady_clock;

// The generated file, made on first use.
const fs::path& generatedFile() {
  static const fs::path path = generatedFileFromEnvironment();
  if (path.empty()) throw std::runtime_error("generate_games failed");
  return path;
}

// The program as start-up sets it up, with the generated file open.
std::unique_ptr<App> appWithGeneratedFile() {
  auto app = configuredApp();
  if (!app->pgn.open(generatedFile().string())) throw std::runtime_error("cannot open the generated file");
  return app;
}

// What elo reads before it rates: every game through the game loop, its tags loaded.
std::uint64_t readAllGames(App& app) {
  struct Counting : GameVisitor {
    void onGame() override {}
  } visitor;
  const GameCounts counts = GameLoop(app.loopParts(), GameDepth::kTags).run(visitor);
  app.console.takeCaptured();
  return counts.used;
}

double seconds(Clock::duration elapsed) { return std::chrono::duration<double>(elapsed).count(); }

void BM_ReadGames(benchmark::State& state) {
  auto app = appWithGeneratedFile();
  std::uint64_t games = 0;
  for (auto _ : state) games = readAllGames(*app);
  state.SetItemsProcessed(static_cast<std::int64_t>(games * state.iterations()));
}

void BM_FillRepository(benchmark::State& state) {
  auto app = appWithGeneratedFile();
  for (auto _ : state) {
    if (!fillRepository(app->ratings, app->loopParts(), app->timers)) state.SkipWithError("fill failed");
    app->console.takeCaptured();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(app->ratings.gamesRead * state.iterations()));
  state.counters["players"] = static_cast<double>(app->ratings.playerCount());
  state.counters["groups"] = static_cast<double>(app->ratings.groups().size());
}

// Clustering, rating every cluster, sorting and writing the list, on a repository filled once.
void BM_RateFilledRepository(benchmark::State& state) {
  auto app = appWithGeneratedFile();
  if (!fillRepository(app->ratings, app->loopParts(), app->timers)) {
    state.SkipWithError("fill failed");
    return;
  }
  const std::string list = (fs::path(KESTROVA_BENCH_DATA) / "elo-bench-list.txt").string();
  for (auto _ : state) {
    clusterPlayers(app->ratings, app->console);
    for (int cluster : app->ratings.clusters()) rateCluster(app->ratings, app->settings.rating, cluster, app->console);
    sortByRating(app->ratings);
    platform::OutputFile out;
    out.create(list);
    for (int cluster : app->ratings.clusters()) writeRatingList(app->ratings, app->settings.rating, cluster, out, app->console);
    out.commit();
    app->console.takeCaptured();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(app->ratings.games().size() * state.iterations()));
  state.counters["clusters"] = static_cast<double>(app->ratings.clusters().size());
}

// The whole command. Its cost beyond reading the file is its time minus that of one reading
// pass (the fastest of three, measured just before), in wall and in CPU seconds.
void BM_EloCommand(benchmark::State& state) {
  auto app = appWithGeneratedFile();
  std::uint64_t games = 0;
  double readSeconds = 1e300;
  double readCpuSeconds = 1e300;
  for (int pass = 0; pass < 3; ++pass) {
    const Clock::time_point start = Clock::now();
    const double cpuStart = ownCpuSeconds();
    games = readAllGames(*app);
    readCpuSeconds = std::min(readCpuSeconds, ownCpuSeconds() - cpuStart);
    readSeconds = std::min(readSeconds, seconds(Clock::now() - start));
  }
  const std::string command = "elo -out=" + (fs::path(KESTROVA_BENCH_DATA) / "elo-bench-rating.txt").string();
  double eloSeconds = 0;
  double eloCpuSeconds = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const double cpuStart = ownCpuSeconds();
    app->commandLine.split(command);
    dispatchCommand(*app);
    eloCpuSeconds += ownCpuSeconds() - cpuStart;
    eloSeconds += seconds(Clock::now() - start);
    if (app->console.takeCaptured().find("> rating list saved in") == std::string::npos) {
      state.SkipWithError("elo wrote no list");
    }
  }
  const auto runs = static_cast<double>(state.iterations());
  state.SetItemsProcessed(static_cast<std::int64_t>(games * state.iterations()));
  state.counters["read_s"] = readSeconds;
  state.counters["beyond_reading_s"] = eloSeconds / runs - readSeconds;
  state.counters["read_cpu_s"] = readCpuSeconds;
  state.counters["beyond_reading_cpu_s"] = eloCpuSeconds / runs - readCpuSeconds;
}

BENCHMARK(BM_ReadGames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FillRepository)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RateFilledRepository)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EloCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
