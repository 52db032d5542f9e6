// select on a WhiteElo criterion, side by side with pgn-extract's tag criteria (-t), on a file of
// the game generator. Both find the same games (checked: same games in the same order); the
// comparison is games read per second ("items_per_second", wall clock) and per CPU second.
//
//   KESTROVA_BENCH_GAMES=N  games in the generated file (default 100000); the file is made once
//                           and kept in the bench data folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "configured_app.hpp"
#include "peers.hpp"
#include "pgn/tag_table.hpp"
#include "process_measure.hpp"
#include "shell/app.hpp"
#include "shell/command_table.hpp"

namespace {

namespace fs = std::filesystem;
using namespace kestrova;
using namespace kestrova::bench;

// The generated file, made on first use.
const fs::path& generatedFile() {
  static const fs::path path = generatedFileFromEnvironment();
  if (path.empty()) throw std::runtime_error("generate_games failed");
  return path;
}

fs::path outputFile(const std::string& name) { return fs::path(benchDataFolder()) / name; }


void BM_SelectWhiteElo(benchmark::State& state) {
  const fs::path& input = generatedFile();
  auto app = configuredApp();
  if (!app->pgn.open(input.string())) {
    state.SkipWithError("cannot open the generated file");
    return;
  }
  const fs::path out = outputFile("select-kestrova-" + std::to_string(state.range(0)) + ".pgn");
  const std::string command = "select WhiteElo>" + std::to_string(state.range(0)) + " -out=" + out.string();
  const double cpuStart = ownCpuSeconds();
  for (auto _ : state) {
    app->commandLine.split(command);
    dispatchCommand(*app);
    app->console.takeCaptured();
  }
  const double games = static_cast<double>(app->pgn.gameNumber());
  state.SetItemsProcessed(static_cast<std::int64_t>(games * state.iterations()));
  state.counters["games_per_cpu_s"] = games * state.iterations() / (ownCpuSeconds() - cpuStart);
  state.counters["found"] = static_cast<double>(gameIdentities(out).size());
}

void BM_PgnExtractWhiteElo(benchmark::State& state) {
  const fs::path& input = generatedFile();
  const std::string program = pgnExtractProgram();
  if (program.empty()) {
    state.SkipWithError("pgn-extract is not installed");
    return;
  }
  const fs::path criteria = outputFile("select-criteria-" + std::to_string(state.range(0)) + ".txt");
  std::ofstream(criteria) << "WhiteElo > \"" << state.range(0) << "\"\n";
  const fs::path out = outputFile("select-pgn-extract-" + std::to_string(state.range(0)) + ".pgn");
  double cpu = 0;
  for (auto _ : state) {
    Measure run;
    const bool ran = measureProgram({program, "-s", "-t", criteria.string(), "-o", out.string(), input.string()}, Sink::kDiscard, Sink::kDiscard, run);
    state.SetIterationTime(run.wallSeconds);
    if (!ran || !exitedCleanly(run)) {
      state.SkipWithError("pgn-extract failed");
      return;
    }
    cpu += run.cpuSeconds;
  }
  // pgn-extract does not say how many games it read: the file's Event lines count them.
  const double games = static_cast<double>(gameIdentities(input).size());
  state.SetItemsProcessed(static_cast<std::int64_t>(games * state.iterations()));
  state.counters["games_per_cpu_s"] = games * state.iterations() / cpu;
  const std::vector<std::string> found = gameIdentities(out);
  state.counters["found"] = static_cast<double>(found.size());
  const fs::path ours = outputFile("select-kestrova-" + std::to_string(state.range(0)) + ".pgn");
  if (fs::exists(ours)) state.counters["same_games_as_select"] = gameIdentities(ours) == found ? 1 : 0;
}

BENCHMARK(BM_SelectWhiteElo)->Arg(2800)->Arg(3400)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PgnExtractWhiteElo)->Arg(2800)->Arg(3400)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
