// The scan of a large generated PGN file with all 31 detections of the shipped configuration,
// with the rating computation off and on, side by side with pgn-extract parsing and checking the
// same file, in the same run:
//   scan_bench [--games N] [--runs R] [--data-dir DIR]
// Every measured run is a child process: the time is the wall clock from fork to wait4, the CPU
// time and the peak memory (ru_maxrss) come from wait4, for our program and the peer alike. Our
// child runs the program's own start-up and the scan command in a scratch working directory holding
// the shipped kestrova.ini (runElo set for the run), with its console on /dev/null and its log, EPD
// and PGN files written as usual. The generated file is cached in the data directory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/app.hpp"
#include "shell/command_table.hpp"
#include "shell/lifecycle.hpp"

namespace {

using namespace kestrova;

struct Measure {
  double wallSeconds = 0;
  double cpuSeconds = 0;
  long peakKb = 0;
  int status = 0;
  std::string errors;  // the child's standard error
};

// Runs a program to its end, standard output to /dev/null (or, for the peer, with standard error
// into the pipe too), standard error into a pipe.
bool measureChild(const std::vector<std::string>& arguments, Measure& measure) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    close(null);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    execv(argv[0], argv.data());
    std::fprintf(stderr, "scan_bench: cannot run %s: %s\n", argv[0], std::strerror(errno));
    _exit(127);
  }
  close(pipeEnds[1]);
  measure.errors.clear();
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeEnds[0], buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    if (measure.errors.size() < (1 << 20)) measure.errors.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeEnds[0]);
  rusage usage{};
  while (wait4(child, &measure.status, 0, &usage) < 0 && errno == EINTR) {
  }
  measure.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  measure.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                       usage.ru_stime.tv_usec / 1e6;
  measure.peakKb = usage.ru_maxrss;
  return true;
}

bool exitedCleanly(const Measure& measure) { return WIFEXITED(measure.status) && WEXITSTATUS(measure.status) == 0; }

std::string selfPath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n <= 0 ? "" : std::string(path, static_cast<std::size_t>(n));
}

// Generates the file once (the same file as the PGN benchmark's: seed 1) under a temporary name.
bool ensureGenerated(const std::string& path, std::uint64_t games) {
  if (std::filesystem::exists(path)) return true;
  std::fprintf(stderr, "generating %s (%" PRIu64 " games)...\n", path.c_str(), games);
  const std::string partial = path + ".partial";
  Measure measure;
  const bool ran = measureChild({KESTROVA_GENERATE_GAMES, partial, "--games", std::to_string(games), "--seed", "1"}, measure);
  if (!ran || !exitedCleanly(measure) || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "scan_bench: generating %s failed\n%s", path.c_str(), measure.errors.c_str());
    return false;
  }
  return true;
}

// Reads the file once so that every timed run finds it in the page cache.
void warmCache(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  std::vector<char> buffer(1 << 16);
  while (read(fd, buffer.data(), buffer.size()) > 0) {
  }
  close(fd);
}

long ownPeakKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

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

struct Row {
  std::string program;
  std::uint64_t games = 0;
  std::vector<Measure> runs;
  std::string detail;  // our child's counts
  bool ok = true;

  double bestWall() const {
    double best = runs.front().wallSeconds;
    for (const Measure& run : runs) best = std::min(best, run.wallSeconds);
    return best;
  }
  double bestCpu() const {
    double best = runs.front().cpuSeconds;
    for (const Measure& run : runs) best = std::min(best, run.cpuSeconds);
    return best;
  }
  long peakKb() const {
    long peak = 0;
    for (const Measure& run : runs) peak = std::max(peak, run.peakKb);
    return peak;
  }
};

bool runOurs(const std::string& self, bool runElo, const std::string& path, Row& row) {
  Measure measure;
  if (!measureChild({self, "--scan", runElo ? "elo-on" : "elo-off", path}, measure) || !exitedCleanly(measure)) {
    std::fprintf(stderr, "scan_bench: the scan (%s) failed:\n%s", runElo ? "elo-on" : "elo-off", measure.errors.c_str());
    row.ok = false;
    return false;
  }
  unsigned games = 0;
  if (std::sscanf(measure.errors.c_str(), "games %u", &games) != 1) return false;
  row.games = games;
  row.detail = measure.errors;
  if (!row.detail.empty() && row.detail.back() == '\n') row.detail.pop_back();
  row.runs.push_back(measure);
  return true;
}

bool runPeer(const std::string& path, std::uint64_t games, Row& row) {
  Measure measure;
  if (!measureChild({KESTROVA_PGN_EXTRACT, "-s", "-o", "/dev/null", path}, measure) || !exitedCleanly(measure)) {
    std::fprintf(stderr, "scan_bench: pgn-extract failed on %s\n", path.c_str());
    return false;
  }
  row.games = games;
  row.runs.push_back(measure);
  return true;
}

void printRow(const Row& row, const Row& peer) {
  const double perSecond = row.games / row.bestWall();
  const double perCpuSecond = row.games / row.bestCpu();
  std::printf("%-34s %7" PRIu64 " %7.2f %7.2f %8.0f %8.0f %7.1f %6.2fx %6.2fx\n", row.program.c_str(), row.games,
              row.bestWall(), row.bestCpu(), perSecond, perCpuSecond, row.peakKb() / 1024.0,
              perSecond / (peer.games / peer.bestWall()), perCpuSecond / (peer.games / peer.bestCpu()));
}

struct Options {
  std::uint64_t games = 100000;
  int runs = 3;
  std::string dataDir = KESTROVA_BENCH_DATA;
};

int runTable(const Options& options) {
  if (std::string(KESTROVA_PGN_EXTRACT).empty() || access(KESTROVA_PGN_EXTRACT, X_OK) != 0) {
    std::fprintf(stderr, "scan_bench: pgn-extract was not found at build time (apt-get install pgn-extract)\n");
    return 1;
  }
  std::filesystem::create_directories(options.dataDir);
  const std::string label = options.games % 1000 == 0 ? "games-" + std::to_string(options.games / 1000) + "k.pgn"
                                                      : "games-" + std::to_string(options.games) + ".pgn";
  const std::string path = options.dataDir + "/" + label;
  if (!ensureGenerated(path, options.games)) return 1;
  warmCache(path);
  const std::string self = selfPath();

  Row peer{"pgn-extract -s -o /dev/null"};
  Row off{"kestrova scan, 31 detections"};
  Row on{"kestrova scan, 31 detections+runElo"};
  // Interleaved, so that every program meets the same load of the machine.
  for (int run = 0; run < options.runs; ++run) {
    if (isatty(STDERR_FILENO)) std::fprintf(stderr, "  run %d of %d\r", run + 1, options.runs);
    if (!runOurs(self, false, path, off) || !runPeer(path, off.games, peer) || !runOurs(self, true, path, on)) return 1;
  }

  std::printf("\n%s (%.0f MB), best of %d runs\n\n", label.c_str(), std::filesystem::file_size(path) / 1e6, options.runs);
  std::printf("%-34s %7s %7s %7s %8s %8s %7s %7s %7s\n", "program", "games", "wall s", "cpu s", "games/s", "g/cpu-s",
              "peak MB", "ratio", "cpu rt");
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
