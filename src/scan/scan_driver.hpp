#pragma once
// The scan driver: every game of the open PGN file read, replayed with the detection rules, and
// the statistics of the run.
#include <cstdint>

namespace kestrova {

struct App;
namespace platform {
class OutputFile;
}

struct ScanStatistics {
  std::uint64_t gamesRead = 0;  // every read, skipped games included
  std::uint64_t criticalErrors = 0;
  // Games with more than 4 evaluations, depths, times.
  std::uint64_t gamesWithEvaluations = 0;
  std::uint64_t gamesWithDepths = 0;
  std::uint64_t gamesWithTimes = 0;
  double elapsedSeconds = 0.0;
};

// Reads the detection settings, computes the ratings when runElo is on, then scans every game,
// reporting to the three streams, and prints the statistics. False when the configuration file
// cannot be read or a game does not fit the reader's buffers (no statistics then).
bool runScan(App& app, platform::OutputFile& log, platform::OutputFile& pgn, platform::OutputFile& epd,
             ScanStatistics* statistics = nullptr);

}  // namespace kestrova
