// newbk (min 1, max 30) on the generated 100,000-game file, next to Debian's polyglot building
// its book from the same file (polyglot make-book -pgn FILE -bin OUT -max-ply 30) in the same
// run, and the peak memory of newbk's first pass on 25,000 and 100,000 games, which must not
// grow with the number of games.
//
// Every measured run is a child process of this harness: the time is the wall clock from fork to
// wait4 (manual time), cpu_s the child's user + system time, peak_MB its ru_maxrss. The generated
// files are cached in the build directory's bench-data (shared with pgn_bench).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "book/book_lifecycle.hpp"
#include "book/new_book.hpp"
#include "peers.hpp"
#include "platform/output_file.hpp"
#include "process_measure.hpp"
#include "shell/app.hpp"

namespace {

using namespace kestrova;
using namespace kestrova::bench;

std::string dataDirectory() { return benchDataFolder(); }

// The generated file of that many games, made once; "" when that failed.
std::string generatedFile(std::int64_t games) {
  const std::string path = dataDirectory() + "/" + generatedFileName(static_cast<std::uint64_t>(games));
  return ensureGeneratedGames(path, static_cast<std::uint64_t>(games)) ? path : "";
}

// newbk as the program runs it after start-up (64-bit book, key check on), answering y.
int runNewbk(const std::string& pgn, const std::string& out, bool firstPassOnly) {
  App app(Console::capturing(), platform::Input("y\n"));
  app.settings.bkHashSz = 64;
  app.pgn.create(app.console, app.settings.gameBufferSize, app.settings.lineBufferSize, app.settings.saveBufferSize);
  app.chess.keyCheck = true;
  applyBookSettings(app.book, app.console, app.settings.bkNumBase, app.settings.bkHashSz);
  NewBookRequest request;
  request.minPly = 1;
  request.maxPly = 30;
  request.out = out;
  request.pgn = pgn;
  platform::OutputFile raw;
  if (firstPassOnly) return writeRawBook(app.book, app.loopParts(), app.timers, request, raw) ? 0 : 1;
  buildBook(app.book, app.loopParts(), app.timers, request);
  return app.console.captured().find("- book fully created\n") != std::string::npos ? 0 : 1;
}

void report(benchmark::State& state, const Measure& run, double& peak, double& cpu) {
  if (!exitedCleanly(run)) {
    state.SkipWithError("the child failed");
    return;
  }
  state.SetIterationTime(run.wallSeconds);
  peak = std::max(peak, static_cast<double>(run.peakKb) / 1024.0);
  cpu += run.cpuSeconds;
}

void setCounters(benchmark::State& state, double peak, double cpu) {
  state.counters["games_per_s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.iterations()),
                                                     benchmark::Counter::kIsRate);
  state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations() ? state.iterations() : 1);
  state.counters["peak_MB"] = peak;
}

void BM_Newbk_Kestrova(benchmark::State& state) {
  const std::string pgn = generatedFile(state.range(0));
  if (pgn.empty()) return state.SkipWithError("no generated file");
  const std::string out = dataDirectory() + "/bench-book.obk";
  double peak = 0, cpu = 0;
  for (auto _ : state) report(state, measureFunction([&] { return runNewbk(pgn, out, false); }), peak, cpu);
  setCounters(state, peak, cpu);
  std::remove(out.c_str());
}

void BM_MakeBook_Polyglot(benchmark::State& state) {
  const std::string polyglot = polyglotProgram();
  if (polyglot.empty()) return state.SkipWithError("polyglot not found (apt-get install polyglot)");
  const std::string pgn = generatedFile(state.range(0));
  if (pgn.empty()) return state.SkipWithError("no generated file");
  const std::string out = dataDirectory() + "/bench-polyglot.bin";
  double peak = 0, cpu = 0;
  for (auto _ : state) {
    Measure run;
    measureProgram({polyglot, "make-book", "-pgn", pgn, "-bin", out, "-max-ply", "30"}, Sink::kDiscard, Sink::kDiscard,
                   run);
    report(state, run, peak, cpu);
  }
  setCounters(state, peak, cpu);
  std::remove(out.c_str());
}

// The first pass alone: its peak must be the same for 25,000 and 100,000 games.
void BM_NewbkFirstPass_Kestrova(benchmark::State& state) {
  const std::string pgn = generatedFile(state.range(0));
  if (pgn.empty()) return state.SkipWithError("no generated file");
  const std::string out = dataDirectory() + "/bench-raw.obk";
  double peak = 0, cpu = 0;
  for (auto _ : state) report(state, measureFunction([&] { return runNewbk(pgn, out, true); }), peak, cpu);
  setCounters(state, peak, cpu);
  std::remove(out.c_str());
}

BENCHMARK(BM_Newbk_Kestrova)->Arg(100000)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_MakeBook_Polyglot)->Arg(100000)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_NewbkFirstPass_Kestrova)->Arg(25000)->Arg(100000)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
