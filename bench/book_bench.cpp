// newbk (min 1, max 30) on the generated 100,000-game file, next to Debian's polyglot building
// its book from the same file (polyglot make-book -pgn FILE -bin OUT -max-ply 30) in the same
// run, and the peak memory of newbk's first pass on 25,000 and 100,000 games, which must not
// grow with the number of games.
//
// Every measured run is a child process of this harness: the time is the wall clock from fork to
// wait4 (manual time), cpu_s the child's user + system time, peak_MB its ru_maxrss. The generated
// files are cached in the build directory's bench-data (shared with pgn_bench).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "book/book_lifecycle.hpp"
#include "book/new_book.hpp"
#include "shell/app.hpp"

namespace {

using namespace kestrova;

struct ChildRun {
  bool ok = false;
  double wallSeconds = 0;
  double cpuSeconds = 0;
  double peakMb = 0;
};

// Runs the body in a child process with its output sent to /dev/null and measures it.
ChildRun measureChild(const std::function<int()>& body) {
  ChildRun run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return run;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    _exit(body());
  }
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                   usage.ru_stime.tv_usec / 1e6;
  run.peakMb = usage.ru_maxrss / 1024.0;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

int execute(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  return 127;
}

bool fileExists(const std::string& path) {
  struct stat info{};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string dataDirectory() {
  mkdir(KESTROVA_BENCH_DATA, 0755);
  return KESTROVA_BENCH_DATA;
}

// The generated file of that many games (the names pgn_bench uses), made once.
std::string generatedFile(std::int64_t games) {
  const std::string label =
      games % 1000 == 0 ? "games-" + std::to_string(games / 1000) + "k.pgn" : "games-" + std::to_string(games) + ".pgn";
  const std::string path = dataDirectory() + "/" + label;
  if (fileExists(path)) return path;
  std::fprintf(stderr, "generating %s...\n", path.c_str());
  const std::string partial = path + ".partial";
  const ChildRun run = measureChild(
      [&] { return execute({KESTROVA_GENERATE_GAMES, partial, "--games", std::to_string(games), "--seed", "1"}); });
  if (!run.ok || std::rename(partial.c_str(), path.c_str()) != 0) return "";
  return path;
}

std::string polyglotPath() {
  for (const char* path : {"/usr/games/polyglot", "/usr/bin/polyglot"}) {
    if (access(path, X_OK) == 0) return path;
  }
  return "";
}

// newbk as the program runs it after start-up (64-bit book, key check on), answering y.
int runNewbk(const std::string& pgn, const std::string& out, bool firstPassOnly) {
  App app(Console::capturing(), platform::Input("y\n"));
  app.settings.bkHashSz = 64;
  app.pgn.create(app.console, app.settings.gameBufferSize, app.settings.lineBufferSize, app.settings.saveBufferSize);
  app.chess.keyCheck = true;
  applyBookSettings(app);
  NewBookRequest request;
  request.minPly = 1;
  request.maxPly = 30;
  request.out = out;
  request.pgn = pgn;
  if (firstPassOnly) return writeRawBook(app, request) ? 0 : 1;
  buildBook(app, request);
  return app.console.captured().find("- book fully created\n") != std::string::npos ? 0 : 1;
}

void report(benchmark::State& state, const ChildRun& run, double& peak, double& cpu) {
  if (!run.ok) {
    state.SkipWithError("the child failed");
    return;
  }
  state.SetIterationTime(run.wallSeconds);
  peak = std::max(peak, run.peakMb);
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
  for (auto _ : state) report(state, measureChild([&] { return runNewbk(pgn, out, false); }), peak, cpu);
  setCounters(state, peak, cpu);
  std::remove(out.c_str());
}

void BM_MakeBook_Polyglot(benchmark::State& state) {
  const std::string polyglot = polyglotPath();
  if (polyglot.empty()) return state.SkipWithError("polyglot not found (apt-get install polyglot)");
  const std::string pgn = generatedFile(state.range(0));
  if (pgn.empty()) return state.SkipWithError("no generated file");
  const std::string out = dataDirectory() + "/bench-polyglot.bin";
  double peak = 0, cpu = 0;
  for (auto _ : state) {
    report(state,
           measureChild([&] { return execute({polyglot, "make-book", "-pgn", pgn, "-bin", out, "-max-ply", "30"}); }),
           peak, cpu);
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
  for (auto _ : state) report(state, measureChild([&] { return runNewbk(pgn, out, true); }), peak, cpu);
  setCounters(state, peak, cpu);
  std::remove(out.c_str());
}

BENCHMARK(BM_Newbk_Kestrova)->Arg(100000)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_MakeBook_Polyglot)->Arg(100000)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_NewbkFirstPass_Kestrova)->Arg(25000)->Arg(100000)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
