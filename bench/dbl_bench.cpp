// dbl side by side with pgn-extract -D, on a file of the game generator with 2,000 exact copies
// of earlier games shuffled in. Both must find the same games: dbl's doubles are checked against
// the generator's copies list (exactly the copies, by game number), against the count of games
// pgn-extract -D leaves out, and against the duplicates pgn-extract -d writes (same games in the
// same order). The comparison is games read per second
// ("items_per_second", wall clock) and per CPU second.
//
//   KESTROVA_BENCH_GAMES=N   original games of the generated file (default 100000)
//   KESTROVA_BENCH_COPIES=K  copies shuffled in (default 2000)
// The file is made once and kept in the bench data folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "commands/doubles.hpp"
#include "configured_app.hpp"
#include "peers.hpp"
#include "pgn/game_loop.hpp"
#include "process_measure.hpp"
#include "shell/app.hpp"
#include "shell/command_table.hpp"

namespace {

namespace fs = std::filesystem;
using namespace kestrova;
using namespace kestrova::bench;

struct GeneratedFile {
  fs::path games;
  fs::path copiesList;
};

// The generated file with its copies list, made on first use.
const GeneratedFile& generatedFile() {
  static const GeneratedFile file = [] {
    const long games = numberFromEnvironment("KESTROVA_BENCH_GAMES", 100000);
    const long copies = numberFromEnvironment("KESTROVA_BENCH_COPIES", 2000);
    const fs::path folder = benchDataFolder();
    const std::string stem = "games-" + std::to_string(games) + "-copies-" + std::to_string(copies);
    GeneratedFile made{folder / (stem + ".pgn"), folder / (stem + "-list.txt")};
    if (!ensureGeneratedGames(made.games.string(), static_cast<std::uint64_t>(games),
                              static_cast<std::uint64_t>(copies), made.copiesList.string())) {
      throw std::runtime_error("generate_games failed");
    }
    return made;
  }();
  return file;
}

fs::path outputFile(const std::string& name) { return fs::path(benchDataFolder()) / name; }

// The game numbers of the copies, from the generator's "copy original" lines, ascending.
std::vector<std::uint32_t> copyNumbers(const fs::path& list) {
  std::ifstream in(list);
  std::vector<std::uint32_t> copies;
  std::uint32_t copy = 0, original = 0;
  while (in >> copy >> original) copies.push_back(copy);
  std::sort(copies.begin(), copies.end());
  return copies;
}

// The games dbl marks as later copies, found with the same records, sort and grouping as the
// command: 1 when they are exactly the generator's copies.
double marksExactlyTheCopies(App& app, HashMode mode) {
  struct Recording : GameVisitor {
    Recording(const App& app, HashMode mode) : app(app), mode(mode) {}
    void onGame() override { records.push_back(recordGame(app.game, mode, app.pgn.gameNumber())); }
    const App& app;
    HashMode mode;
    std::vector<GameRecord> records;
  } recording(app, mode);
  GameLoop(app.loopParts(), GameDepth::kReplay).run(recording);
  app.console.takeCaptured();
  std::vector<GameRecord>& records = recording.records;
  sortByHashes(records);
  markRuns(records);
  restoreFileOrder(records);
  std::vector<std::uint32_t> later;
  for (const GameRecord& record : records) {
    if (record.mark == doublemark::kLaterDouble) later.push_back(record.number);
  }
  return later == copyNumbers(generatedFile().copiesList) ? 1 : 0;
}

void BM_Dbl(benchmark::State& state) {
  const bool absolute = state.range(0) != 0;
  const fs::path& input = generatedFile().games;
  auto app = configuredApp();
  if (!app->pgn.open(input.string())) {
    state.SkipWithError("cannot open the generated file");
    return;
  }
  const fs::path out = outputFile(std::string("dbl-kestrova") + (absolute ? "-abs" : "") + ".pgn");
  const std::string command = std::string("dbl ") + (absolute ? "-abs " : "") + "-out=" + out.string();
  const double cpuStart = ownCpuSeconds();
  for (auto _ : state) {
    app->commandLine.split(command);
    dispatchCommand(*app);
    app->console.takeCaptured();
  }
  const double cpu = ownCpuSeconds() - cpuStart;
  const double games = static_cast<double>(gameIdentities(input).size());
  state.SetItemsProcessed(static_cast<std::int64_t>(games * state.iterations()));
  state.counters["games_per_cpu_s"] = games * state.iterations() / cpu;
  const std::vector<std::string> found = gameIdentities(out);
  state.counters["found"] = static_cast<double>(found.size());
  state.counters["copies"] = static_cast<double>(copyNumbers(generatedFile().copiesList).size());
  state.counters["exactly_the_copies"] = marksExactlyTheCopies(*app, absolute ? HashMode::kSequence : HashMode::kPosition);
  const fs::path peer = outputFile("dbl-pgn-extract-duplicates.pgn");
  if (fs::exists(peer)) state.counters["same_games_as_pgn_extract"] = gameIdentities(peer) == found ? 1 : 0;
}

// pgn-extract -D writes the file without its duplicates (-d, which writes the duplicates, may not
// go with -D): the games it found are the games it left out. A second run with -d gives them.
void BM_PgnExtractDuplicates(benchmark::State& state) {
  const bool listDuplicates = state.range(0) != 0;
  const fs::path& input = generatedFile().games;
  const std::string program = pgnExtractProgram();
  if (program.empty()) {
    state.SkipWithError("pgn-extract is not installed");
    return;
  }
  const fs::path duplicates = outputFile("dbl-pgn-extract-duplicates.pgn");
  const fs::path singles = outputFile("dbl-pgn-extract-singles.pgn");
  double cpu = 0;
  for (auto _ : state) {
    Measure run;
    const bool ran = measureProgram({program, "-s", listDuplicates ? "-d" + duplicates.string() : std::string("-D"),
                                   "-o", singles.string(), input.string()}, Sink::kDiscard, Sink::kDiscard, run);
    state.SetIterationTime(run.wallSeconds);
    if (!ran || !exitedCleanly(run)) {
      state.SkipWithError("pgn-extract failed");
      return;
    }
    cpu += run.cpuSeconds;
  }
  const double games = static_cast<double>(gameIdentities(input).size());
  state.SetItemsProcessed(static_cast<std::int64_t>(games * state.iterations()));
  state.counters["games_per_cpu_s"] = games * state.iterations() / cpu;
  state.counters["found"] = games - static_cast<double>(gameIdentities(singles).size());
  const fs::path ours = outputFile("dbl-kestrova.pgn");
  if (listDuplicates && fs::exists(ours)) {
    state.counters["same_games_as_dbl"] = gameIdentities(ours) == gameIdentities(duplicates) ? 1 : 0;
  }
}

// pgn-extract first, so that each of the two finds the other's output to compare with.
BENCHMARK(BM_PgnExtractDuplicates)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Dbl)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
