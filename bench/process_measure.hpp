// Measuring whole child processes, ours and the peers' alike: wall time from start to wait4, CPU
// time (user + system) and peak memory (ru_maxrss) from wait4, and the columns of the comparison
// tables built from the best of several runs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrova::bench {

struct Measure {
  double wallSeconds = 0;
  double cpuSeconds = 0;
  long peakKb = 0;
  int status = -1;     // as wait4 gives it
  std::string output;  // what went to the captured streams, at most 1 MiB
};

// Where a child's standard output or error goes.
enum class Sink { kInherit, kDiscard, kCapture };

// Runs a program (argument 0 is its path) to its end. False when it could not be started (the
// reason is printed on standard error).
bool measureProgram(const std::vector<std::string>& arguments, Sink output, Sink errors, Measure& measure);

// Runs the body in a forked child with its standard output and error discarded; the body's
// result is the child's exit status.
Measure measureFunction(const std::function<int()>& body);

bool exitedCleanly(const Measure& measure);

// The runs of one program on one file, and their best figures.
struct MeasuredRuns {
  std::string program;
  std::uint64_t games = 0;
  std::vector<Measure> runs;
  bool ok = true;

  double bestWall() const;  // the fastest run
  double bestCpu() const;   // the least-CPU run
  long peakKb() const;      // the largest peak of all runs
  double gamesPerSecond() const { return static_cast<double>(games) / bestWall(); }
  double gamesPerCpuSecond() const { return static_cast<double>(games) / bestCpu(); }
};

// The measured columns of a comparison table: games, wall s, cpu s, games/s, g/cpu-s, peak MB.
std::string measuredTitles();
std::string measuredColumns(const MeasuredRuns& row);
// A ratio column's text: "  1.23x".
std::string ratioText(double ratio);
// ratio and cpu rt: the row's games per second and per CPU second over the peer's.
std::string ratioColumns(const MeasuredRuns& row, const MeasuredRuns& peer);

// This process's own figures.
double ownCpuSeconds();
long ownPeakKb();  // VmHWM of /proc/self/status, -1 when unknown
std::string ownProgramPath();

}  // namespace kestrova::bench
