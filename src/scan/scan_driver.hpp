#pragma once
// The scan driver: every game of the open PGN file read, replayed with the detection rules, and
// the statistics of the run.
#include <cstdint>

#include "pgn/game_loop.hpp"

namespace kestrova {

class BookTable;
struct DetectionSettings;
class RatingRepository;
struct RatingSettings;
namespace platform {
class OutputFile;
struct Timers;
}  // namespace platform

// What a scan works with.
struct ScanParts {
  GameLoopParts games;
  std::string configFile;  // its detection lines are read again by every scan
  DetectionSettings& detections;
  RatingRepository& ratings;
  const RatingSettings& ratingSettings;
  bool runElo = true;  // the ratings are computed first, for BestPerf
  BookTable& book;     // SuspOpening compares with a loaded book
  platform::Timers& timers;
  int threads = 1;  // the games are scanned on this many threads, with the output of one
};

struct ScanStatistics {
  std::uint64_t gamesRead = 0;  // every read, left-out games included
  std::uint64_t criticalErrors = 0;
  // Games with more than 4 evaluations, depths, times.
  std::uint64_t gamesWithEvaluations = 0;
  std::uint64_t gamesWithDepths = 0;
  std::uint64_t gamesWithTimes = 0;
  double elapsedSeconds = 0.0;
  bool ratingListWritten = false;  // "rating.txt", by this scan
};

// Reads the detection settings, computes the ratings when runElo is on, then scans every game,
// reporting to the three streams, and prints the statistics. False (no statistics then) when the
// configuration file cannot be read. A rating list that cannot be written fails the command, not
// the scan.
bool runScan(const ScanParts& parts, platform::OutputFile& log, platform::OutputFile& pgn, platform::OutputFile& epd,
             ScanStatistics* statistics = nullptr);

}  // namespace kestrova
