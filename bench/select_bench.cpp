// select on a WhiteElo criterion, side by side with pgn-extract's tag criteria (-t), on a file of
// the game generator. Both find the same games (checked: same games in the same order); the
// comparison is games read per second ("items_per_second", wall clock) and per CPU second.
//
//   KESTROVA_BENCH_GAMES=N  games in the generated file (default 100000); the file is made once
//                           and kept in the bench data folder.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "pgn/tag_table.hpp"
#include "shell/app.hpp"
#include "shell/command_table.hpp"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace kestrova;

[[maybe_unused]] fs::path programFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

fs::path dataFolder() {
#ifdef KESTROVA_BENCH_DATA
  return KESTROVA_BENCH_DATA;
#else
  return programFolder() / "bench-data";
#endif
}

std::string generatorProgram() {
#ifdef KESTROVA_GENERATE_GAMES
  return KESTROVA_GENERATE_GAMES;
#else
  return (programFolder() / "generate_games").string();
#endif
}

std::string pgnExtractProgram() {
#ifdef KESTROVA_PGN_EXTRACT
  const std::string configured = KESTROVA_PGN_EXTRACT;
  if (!configured.empty() && configured.find("NOTFOUND") == std::string::npos) return configured;
#endif
  return "/usr/games/pgn-extract";
}

long generatedGames() {
  const char* text = std::getenv("KESTROVA_BENCH_GAMES");
  const long games = text != nullptr ? std::atol(text) : 0;
  return games > 0 ? games : 100000;
}

struct ChildRun {
  int status = -1;
  double cpuSeconds = 0;
};

// Runs a program with its standard output and error sent to /dev/null; its CPU time from wait4.
ChildRun runChild(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  ChildRun run;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    rusage usage{};
    if (wait4(pid, &run.status, 0, &usage) == pid) {
      run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

// The generated file, made on first use (under a temporary name, so that an interrupted run or
// another benchmark making the same file never leaves half a file behind).
const fs::path& generatedFile() {
  static const fs::path path = [] {
    const long games = generatedGames();
    fs::create_directories(dataFolder());
    const fs::path file = dataFolder() / ("games-" + std::to_string(games) + ".pgn");
    if (fs::exists(file)) return file;
    const fs::path partial = file.string() + ".part-" + std::to_string(getpid());
    std::fprintf(stderr, "generating %ld games into %s ...\n", games, file.c_str());
    const ChildRun run = runChild({generatorProgram(), partial.string(), "--games", std::to_string(games)});
    if (run.status != 0) throw std::runtime_error("generate_games failed");
    fs::rename(partial, file);
    return file;
  }();
  return path;
}

fs::path outputFile(const std::string& name) { return dataFolder() / name; }

// The identity of each game of a PGN file, in file order: its Event, Round, White and Black lines.
std::vector<std::string> gameIdentities(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> games;
  std::string line, id;
  while (std::getline(in, line)) {
    if (line.rfind("[Event ", 0) == 0) id = line;
    else if (line.rfind("[Round ", 0) == 0 || line.rfind("[White ", 0) == 0) id += line;
    else if (line.rfind("[Black ", 0) == 0) games.push_back(id + line);
  }
  return games;
}

double processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The program as the user runs it: settings and output tags of the default configuration.
std::unique_ptr<App> configuredApp() {
  auto app = std::make_unique<App>(Console::capturing(), platform::Input(""));
  const std::string config = std::string(KESTROVA_SOURCE_DIR) + "/data/kestrova.ini";
  readSettings(app->settings, app->console, config.c_str());
  app->pgn.create(app->console, app->settings.gameBufferSize, app->settings.lineBufferSize,
                  app->settings.saveBufferSize);
  readOutputEnabledTags(app->game.tags, app->console, config.c_str());
  return app;
}

void BM_SelectWhiteElo(benchmark::State& state) {
  const fs::path& input = generatedFile();
  auto app = configuredApp();
  if (!app->pgn.open(input.string())) {
    state.SkipWithError("cannot open the generated file");
    return;
  }
  const fs::path out = outputFile("select-kestrova-" + std::to_string(state.range(0)) + ".pgn");
  const std::string command = "select WhiteElo>" + std::to_string(state.range(0)) + " -out=" + out.string();
  const double cpuStart = processCpuSeconds();
  for (auto _ : state) {
    app->commandLine.split(command);
    dispatchCommand(*app);
    app->console.takeCaptured();
  }
  const double games = static_cast<double>(app->pgn.gameNumber());
  state.SetItemsProcessed(static_cast<std::int64_t>(games * state.iterations()));
  state.counters["games_per_cpu_s"] = games * state.iterations() / (processCpuSeconds() - cpuStart);
  state.counters["found"] = static_cast<double>(gameIdentities(out).size());
}

void BM_PgnExtractWhiteElo(benchmark::State& state) {
  const fs::path& input = generatedFile();
  const std::string program = pgnExtractProgram();
  if (!fs::exists(program)) {
    state.SkipWithError("pgn-extract is not installed");
    return;
  }
  const fs::path criteria = outputFile("select-criteria-" + std::to_string(state.range(0)) + ".txt");
  std::ofstream(criteria) << "WhiteElo > \"" << state.range(0) << "\"\n";
  const fs::path out = outputFile("select-pgn-extract-" + std::to_string(state.range(0)) + ".pgn");
  double cpu = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const ChildRun run = runChild({program, "-s", "-t", criteria.string(), "-o", out.string(), input.string()});
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (run.status != 0) {
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
