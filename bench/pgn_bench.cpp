// Reading, loading and replaying every game of a large generated PGN file with the program's game
// loop, side by side with pgn-extract parsing and checking the same file, in the same run:
//   pgn_bench [--games N] [--runs R] [--data-dir DIR] [--no-double]   the comparison table
//   pgn_bench --check FILE                                             count games that fail
// Every measured run is a child process of this small harness: the time is the wall clock from
// fork to wait4, the peak memory the child's ru_maxrss from wait4, for our program and the peer
// alike. The generated files are cached in the data directory (build dir/bench-data).
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "configured_app.hpp"
#include "peers.hpp"
#include "pgn/game_loop.hpp"
#include "process_measure.hpp"

namespace {

using namespace kestrova;
using namespace kestrova::bench;

// What a child does with every game, cumulatively.
enum class Work { kRead, kLoad, kReplay, kReplayWithoutKeyCheck };

const char* workName(Work work) {
  switch (work) {
    case Work::kRead: return "read";
    case Work::kLoad: return "load";
    case Work::kReplay: return "replay";
    case Work::kReplayWithoutKeyCheck: return "replay-nokeys";
  }
  return "";
}

bool parseWork(const std::string& name, Work& work) {
  for (Work w : {Work::kRead, Work::kLoad, Work::kReplay, Work::kReplayWithoutKeyCheck}) {
    if (name == workName(w)) {
      work = w;
      return true;
    }
  }
  return false;
}

struct WorkCounts {
  std::uint64_t games = 0;
  std::uint64_t plies = 0;
  std::uint64_t failures = 0;         // not read as a game, not loaded, or not replayed
  std::uint64_t plyCountMismatches = 0;  // loaded half-moves differ from the PlyCount tag
  std::uint64_t gamesWithMessages = 0;
};

// The program's own loop over the open file (GameLoop), set up as start-up sets it up with the
// bundled configuration, without the engine and the book.
bool runWork(Work work, const char* path, WorkCounts& counts, int reportLimit) {
  std::unique_ptr<App> app = configuredApp();
  app->chess.keyCheck = work != Work::kReplayWithoutKeyCheck;
  if (!app->pgn.open(path)) {
    std::fprintf(stderr, "pgn_bench: cannot open %s\n", path);
    return false;
  }
  const GameDepth depth = work == Work::kRead   ? GameDepth::kTags
                          : work == Work::kLoad ? GameDepth::kReplay
                                                : GameDepth::kReplay;
  struct Counting : GameVisitor {
    Counting(App& app, GameDepth depth, WorkCounts& counts, int reportLimit)
        : app(app), depth(depth), counts(counts), reportLimit(reportLimit) {}
    void onGame() override {
      if (depth != GameDepth::kTags) {
        // Half-moves played: a game that starts with Black to move has an empty ply 1.
        const int halfMoves = app.game.plyCount - app.game.firstPly() + 1;
        counts.plies += static_cast<std::uint64_t>(halfMoves);
        if (std::atoi(app.game.tags.value(kTagPlyCount).c_str()) != halfMoves) ++counts.plyCountMismatches;
      }
      takeMessages();
    }
    void onLeftOut(std::string_view) override { takeMessages(); }
    // Whatever the game made the program print: its report when left out, a key-check failure.
    void takeMessages() {
      if (app.console.captured().empty()) return;
      ++counts.gamesWithMessages;
      const std::string text = app.console.takeCaptured();
      if (reported++ < reportLimit) std::fprintf(stderr, "game %u: %s", app.pgn.gameNumber(), text.c_str());
    }
    App& app;
    GameDepth depth;
    WorkCounts& counts;
    int reportLimit;
    int reported = 0;
  } visitor(*app, depth, counts, reportLimit);
  const GameCounts games = GameLoop(app->loopParts(), depth).run(visitor);
  counts.games = games.read;
  counts.failures = games.leftOut;
  return true;
}

// ------------------------------------------------------------------------------------------------
// The harness.

double fileMegabytes(const std::string& path) {
  struct stat info{};
  return stat(path.c_str(), &info) == 0 ? info.st_size / 1e6 : 0;
}

bool parseCounts(const std::string& output, WorkCounts& counts, long& hwmKb) {
  unsigned long long games, plies, failures, mismatches, messages;
  const int fields = std::sscanf(output.c_str(), "games %llu plies %llu failures %llu mismatches %llu messages %llu hwm %ld",
                                 &games, &plies, &failures, &mismatches, &messages, &hwmKb);
  if (fields != 6) return false;
  counts = {games, plies, failures, mismatches, messages};
  return true;
}

// pgn-extract prints its running game count even when silent; anything else is a complaint.
bool peerComplained(const std::string& output) {
  std::size_t i = 0;
  while (i < output.size()) {
    if (output.compare(i, 7, "Games: ") == 0) {
      i += 7;
      while (i < output.size() && output[i] >= '0' && output[i] <= '9') ++i;
    } else if (output[i] == '\n' || output[i] == '\r' || output[i] == ' ') {
      ++i;
    } else {
      return true;
    }
  }
  return false;
}

struct Row : MeasuredRuns {
  std::string file;
  long hwmKb = -1;  // our child's own VmHWM, without the harness's share
};

Row makeRow(const std::string& file, const std::string& program) {
  Row row;
  row.file = file;
  row.program = program;
  return row;
}

bool runOurs(const std::string& self, Work work, const std::string& path, Row& row) {
  Measure measure;
  if (!measureProgram({self, "--work", workName(work), path}, Sink::kCapture, Sink::kInherit, measure) ||
      !exitedCleanly(measure)) {
    std::fprintf(stderr, "pgn_bench: the %s run on %s failed\n", workName(work), path.c_str());
    return false;
  }
  WorkCounts counts;
  long hwmKb = 0;
  if (!parseCounts(measure.output, counts, hwmKb)) return false;
  row.games = counts.games;
  row.hwmKb = std::max(row.hwmKb, hwmKb);
  if (counts.failures != 0 || counts.gamesWithMessages != 0 || (work != Work::kRead && counts.plyCountMismatches != 0)) {
    std::fprintf(stderr, "pgn_bench: %s: %llu failures, %llu games with messages, %llu PlyCount mismatches\n",
                 workName(work), static_cast<unsigned long long>(counts.failures),
                 static_cast<unsigned long long>(counts.gamesWithMessages),
                 static_cast<unsigned long long>(counts.plyCountMismatches));
    row.ok = false;
  }
  row.runs.push_back(measure);
  return true;
}

bool runPeer(const std::string& peerProgram, const std::string& path, std::uint64_t games, Row& row) {
  Measure measure;
  if (!measureProgram({peerProgram, "-s", "-o", "/dev/null", path}, Sink::kCapture, Sink::kCapture, measure) ||
      !exitedCleanly(measure)) {
    std::fprintf(stderr, "pgn_bench: pgn-extract failed on %s\n", path.c_str());
    return false;
  }
  if (peerComplained(measure.output)) {
    std::fprintf(stderr, "pgn_bench: pgn-extract reported:\n%.2000s\n", measure.output.c_str());
    row.ok = false;
  }
  row.games = games;
  row.runs.push_back(measure);
  return true;
}

void printRow(const Row& row, const Row* peer) {
  char hwm[16] = "-";
  if (row.hwmKb >= 0) std::snprintf(hwm, sizeof hwm, "%.1f", row.hwmKb / 1024.0);
  const std::string ratios = peer != nullptr ? ratioColumns(row, *peer) : std::string(15, ' ');
  std::printf("%-15s %-31s %s %7s %s%s\n", row.file.c_str(), row.program.c_str(), measuredColumns(row).c_str(), hwm,
              ratios.c_str(), row.ok ? "" : "  (errors, see above)");
}

struct Options {
  std::uint64_t games = 100000;
  int runs = 3;
  bool doubleFile = true;
  std::string dataDir = KESTROVA_BENCH_DATA;
};

int runTable(const Options& options) {
  const std::string self = ownProgramPath();
  const std::string peerProgram = pgnExtractProgram();
  if (peerProgram.empty()) {
    std::fprintf(stderr, "pgn_bench: pgn-extract was not found at build time (apt-get install pgn-extract)\n");
    return 1;
  }
  mkdir(options.dataDir.c_str(), 0755);

  std::vector<std::uint64_t> sizes = {options.games};
  if (options.doubleFile) sizes.push_back(2 * options.games);
  std::vector<Row> rows;
  std::vector<int> peerIndex;  // the peer row each row compares with
  for (std::size_t s = 0; s < sizes.size(); ++s) {
    const std::uint64_t games = sizes[s];
    const std::string label = generatedFileName(games);
    const std::string path = options.dataDir + "/" + label;
    if (!ensureGeneratedGames(path, games)) return 1;
    warmCache(path);
    std::fprintf(stderr, "%s: %.0f MB\n", label.c_str(), fileMegabytes(path));
    // The main comparison, interleaved so that both programs meet the same load of the machine.
    Row ours = makeRow(label, "kestrova read+load+replay");
    Row peer = makeRow(label, "pgn-extract -s -o /dev/null");
    const int runs = s == 0 ? options.runs : 1;
    for (int run = 0; run < runs; ++run) {
      if (isatty(STDERR_FILENO)) std::fprintf(stderr, "  run %d of %d\r", run + 1, runs);
      if (!runOurs(self, Work::kReplay, path, ours) || !runPeer(peerProgram, path, ours.games, peer)) return 1;
    }
    const int peerRow = static_cast<int>(rows.size()) + 1;
    rows.push_back(ours);
    peerIndex.push_back(peerRow);
    rows.push_back(peer);
    peerIndex.push_back(-1);
    if (s == 0) {
      // Where the time goes: the same loop stopped after reading, after loading, and replayed
      // without the key check.
      for (auto [work, name] : {std::pair{Work::kRead, "  kestrova read only"}, std::pair{Work::kLoad, "  kestrova read+load"},
                                std::pair{Work::kReplayWithoutKeyCheck, "  kestrova replay, no key check"}}) {
        Row part = makeRow(label, name);
        for (int run = 0; run < runs; ++run) {
          if (!runOurs(self, work, path, part)) return 1;
        }
        rows.push_back(part);
        peerIndex.push_back(peerRow);
      }
    }
  }

  rusage self_usage{};
  getrusage(RUSAGE_SELF, &self_usage);
  std::printf("\n%-15s %-31s %s %7s %7s %7s\n", "file", "program", measuredTitles().c_str(), "HWM MB", "ratio",
              "cpu rt");
  for (std::size_t i = 0; i < rows.size(); ++i) printRow(rows[i], peerIndex[i] >= 0 ? &rows[peerIndex[i]] : nullptr);
  std::printf(
      "\nwall s: best of %d runs (1 for the larger file), games/s from it; cpu s: user + system time of the\n"
      "least-CPU run, g/cpu-s from it. peak MB: largest ru_maxrss of the child from wait4 (the harness itself\n"
      "peaks at %.1f MB); HWM MB: our child's own VmHWM from /proc/self/status.\n"
      "ratio, cpu rt: games/s and games per CPU second against pgn-extract on the same file.\n"
      "Target: ratio 3x or more, peak under 20 MB.\n",
      options.runs, self_usage.ru_maxrss / 1024.0);
  for (const Row& row : rows) {
    if (!row.ok) return 1;
  }
  return 0;
}

int runCheck(const char* path) {
  WorkCounts counts;
  if (!runWork(Work::kReplay, path, counts, 20)) return 1;
  std::printf("%s: %llu games, %llu half-moves; %llu failed, %llu with messages, %llu PlyCount mismatches\n", path,
              static_cast<unsigned long long>(counts.games), static_cast<unsigned long long>(counts.plies),
              static_cast<unsigned long long>(counts.failures), static_cast<unsigned long long>(counts.gamesWithMessages),
              static_cast<unsigned long long>(counts.plyCountMismatches));
  return counts.failures == 0 && counts.gamesWithMessages == 0 && counts.plyCountMismatches == 0 ? 0 : 1;
}

void printUsage() {
  std::fputs(
      "usage: pgn_bench [--games N] [--runs R] [--data-dir DIR] [--no-double]\n"
      "       pgn_bench --check FILE\n"
      "  times reading, loading and replaying every game of a generated file of N games (default\n"
      "  100000) and of one twice as large, next to pgn-extract -s -o /dev/null on the same files\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const bool hasValue = i + 1 < argc;
    if (word == "--work" && i + 2 < argc) {
      // A measured child: one pass over the file, its counts on standard output.
      Work work;
      if (!parseWork(argv[i + 1], work)) return 2;
      WorkCounts counts;
      if (!runWork(work, argv[i + 2], counts, 5)) return 1;
      std::printf("games %llu plies %llu failures %llu mismatches %llu messages %llu hwm %ld\n",
                  static_cast<unsigned long long>(counts.games), static_cast<unsigned long long>(counts.plies),
                  static_cast<unsigned long long>(counts.failures),
                  static_cast<unsigned long long>(counts.plyCountMismatches),
                  static_cast<unsigned long long>(counts.gamesWithMessages), ownPeakKb());
      return 0;
    }
    if (word == "--check" && hasValue) return runCheck(argv[i + 1]);
    if (word == "--games" && hasValue) {
      options.games = std::strtoull(argv[++i], nullptr, 10);
    } else if (word == "--runs" && hasValue) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (word == "--data-dir" && hasValue) {
      options.dataDir = argv[++i];
    } else if (word == "--no-double") {
      options.doubleFile = false;
    } else {
      printUsage();
      return 2;
    }
  }
  if (options.games == 0) {
    printUsage();
    return 2;
  }
  return runTable(options);
}
