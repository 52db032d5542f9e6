// The scan of a large generated PGN file with all 31 detections of the shipped configuration,
// with the rating computation off and on, side by side with pgn-extract parsing and checking the
// same file, in the same run:
//   scan_bench [--games N] [--runs R] [--data-dir DIR]
// Every measured run is a child process: the time is the wall clock from fork to wait4, the CPU
// time and the peak memory (ru_maxrss) come from wait4, for our program and the peer alike. Our
// child runs the program's own start-up and the scan command in a scratch working directory holding
// the shipped kestrova.ini (runElo set for the run), with its console on /dev/null and its log, EPD
// and PGN files written as usual. The generated file is cached in the data directory.
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "peers.hpp"
#include "process_measure.hpp"
#include "shell/app.hpp"
#include "shell/command_table.hpp"
#include "shell/lifecycle.hpp"

namespace {

using namespace kestrova;
using namespace kestrova::bench;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A measured child: the program's start-up and "open FILE" + "scan" in a scratch directory. Its
// counts go to standard error: games read, games with critical error, log lines, own peak memory.
int runScanChild(bool runElo, const std::string& pgnPath) {
  char pattern[] = "/tmp/kestrova-scan-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::filesystem::path dir = pattern;
  std::string ini = readFile(KESTROVA_SOURCE_DIR "/data/kestrova.ini");
  const std::size_t key = ini.find("runElo=");
  if (key == std::string::npos) return 1;
  ini[key + 7] = runElo ? '1' : '0';
  std::ofstream(dir / "kestrova.ini", std::ios::binary) << ini;
  std::filesystem::current_path(dir);

  int status = 0;
  {
    App app;
    startUp(app);
    const auto command = [&app](const std::string& line) {
      app.commandLine.raw() = line;
      app.commandLine.split(line);
      dispatchCommand(app);
    };
    command("open " + pgnPath);
    command("scan");
    app.console.flush();
    // The scan's statistics went to the console; the log tells what it found.
    std::uint64_t lines = 0, critical = 0;
    std::ifstream log(dir / "log.txt");
    std::string line;
    while (std::getline(log, line)) {
      ++lines;
      if (line.find(":>illegal position") != std::string::npos) ++critical;
    }
    std::fprintf(stderr, "games %u log-lines %" PRIu64 " illegal %" PRIu64 " rating %d hwm %ld\n", app.pgn.gameNumber(),
                 lines, critical, std::filesystem::exists(dir / "rating.txt") ? 1 : 0, ownPeakKb());
    if (critical != 0) status = 1;
  }
  std::error_code ignored;
  std::filesystem::current_path("/", ignored);
  std::filesystem::remove_all(dir, ignored);
  return status;
}

struct Row : MeasuredRuns {
  std::string detail;  // our child's counts
};

Row makeRow(const std::string& program) {
  Row row;
  row.program = program;
  return row;
}

bool runOurs(const std::string& self, bool runElo, const std::string& path, Row& row) {
  Measure measure;
  if (!measureProgram({self, "--scan", runElo ? "elo-on" : "elo-off", path}, Sink::kDiscard, Sink::kCapture, measure) ||
      !exitedCleanly(measure)) {
    std::fprintf(stderr, "scan_bench: the scan (%s) failed:\n%s", runElo ? "elo-on" : "elo-off", measure.output.c_str());
    row.ok = false;
    return false;
  }
  unsigned games = 0;
  if (std::sscanf(measure.output.c_str(), "games %u", &games) != 1) return false;
  row.games = games;
  row.detail = measure.output;
  if (!row.detail.empty() && row.detail.back() == '\n') row.detail.pop_back();
  row.runs.push_back(measure);
  return true;
}

bool runPeer(const std::string& peerProgram, const std::string& path, std::uint64_t games, Row& row) {
  Measure measure;
  if (!measureProgram({peerProgram, "-s", "-o", "/dev/null", path}, Sink::kDiscard, Sink::kCapture, measure) ||
      !exitedCleanly(measure)) {
    std::fprintf(stderr, "scan_bench: pgn-extract failed on %s\n", path.c_str());
    return false;
  }
  row.games = games;
  row.runs.push_back(measure);
  return true;
}

void printRow(const Row& row, const Row& peer) {
  std::printf("%-34s %s %s\n", row.program.c_str(), measuredColumns(row).c_str(), ratioColumns(row, peer).c_str());
}

struct Options {
  std::uint64_t games = 100000;
  int runs = 3;
  std::string dataDir = KESTROVA_BENCH_DATA;
};

int runTable(const Options& options) {
  const std::string peerProgram = pgnExtractProgram();
  if (peerProgram.empty()) {
    std::fprintf(stderr, "scan_bench: pgn-extract was not found at build time (apt-get install pgn-extract)\n");
    return 1;
  }
  std::filesystem::create_directories(options.dataDir);
  const std::string label = generatedFileName(options.games);
  const std::string path = options.dataDir + "/" + label;
  if (!ensureGeneratedGames(path, options.games)) return 1;
  warmCache(path);
  const std::string self = ownProgramPath();

  Row peer = makeRow("pgn-extract -s -o /dev/null");
  Row off = makeRow("kestrova scan, 31 detections");
  Row on = makeRow("kestrova scan, 31 detections+runElo");
  // Interleaved, so that every program meets the same load of the machine.
  for (int run = 0; run < options.runs; ++run) {
    if (isatty(STDERR_FILENO)) std::fprintf(stderr, "  run %d of %d\r", run + 1, options.runs);
    if (!runOurs(self, false, path, off) || !runPeer(peerProgram, path, off.games, peer) || !runOurs(self, true, path, on)) return 1;
  }

  std::printf("\n%s (%.0f MB), best of %d runs\n\n", label.c_str(), std::filesystem::file_size(path) / 1e6, options.runs);
  std::printf("%-34s %s %7s %7s\n", "program", measuredTitles().c_str(), "ratio", "cpu rt");
  printRow(peer, peer);
  printRow(off, peer);
  printRow(on, peer);
  std::printf("\n%s\n%s\n", ("runElo off: " + off.detail).c_str(), ("runElo on:  " + on.detail).c_str());
  std::printf(
      "\nwall s: best of the runs, games/s from it; cpu s: user + system time of the least-CPU run, g/cpu-s\n"
      "from it; peak MB: largest ru_maxrss of the child (wait4). ratio, cpu rt: against pgn-extract.\n"
      "Target: runElo off at 2x pgn-extract's games per second or more, peak under 50 MB.\n");
  return off.ok && on.ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const bool hasValue = i + 1 < argc;
    if (word == "--scan" && i + 2 < argc) return runScanChild(std::string(argv[i + 1]) == "elo-on", argv[i + 2]);
    if (word == "--games" && hasValue) {
      options.games = std::strtoull(argv[++i], nullptr, 10);
    } else if (word == "--runs" && hasValue) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (word == "--data-dir" && hasValue) {
      options.dataDir = argv[++i];
    } else {
      std::fputs("usage: scan_bench [--games N] [--runs R] [--data-dir DIR]\n", stderr);
      return 2;
    }
  }
  return runTable(options);
}
