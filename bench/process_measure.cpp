#include "process_measure.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace kestrova::bench {

namespace {

constexpr std::size_t kOutputLimit = 1 << 20;

double cpuSeconds(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void waitFor(pid_t child, Measure& measure, std::chrono::steady_clock::time_point start) {
  rusage usage{};
  while (wait4(child, &measure.status, 0, &usage) < 0 && errno == EINTR) {
  }
  measure.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  measure.cpuSeconds = cpuSeconds(usage);
  measure.peakKb = usage.ru_maxrss;
}

void addSink(posix_spawn_file_actions_t& actions, int stream, Sink sink, int pipeEnd) {
  if (sink == Sink::kDiscard) posix_spawn_file_actions_addopen(&actions, stream, "/dev/null", O_WRONLY, 0);
  if (sink == Sink::kCapture) posix_spawn_file_actions_adddup2(&actions, pipeEnd, stream);
}

}  // namespace

bool measureProgram(const std::vector<std::string>& arguments, Sink output, Sink errors, Measure& measure) {
  measure = Measure{};
  const bool capturing = output == Sink::kCapture || errors == Sink::kCapture;
  // Close-on-exec: the child keeps only the duplicate on its standard stream, so that the read
  // loop below sees the end when the child ends.
  int pipeEnds[2] = {-1, -1};
  if (capturing && pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  addSink(actions, STDOUT_FILENO, output, pipeEnds[1]);
  addSink(actions, STDERR_FILENO, errors, pipeEnds[1]);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int failure = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (capturing) close(pipeEnds[1]);
  if (failure != 0) {
    if (capturing) close(pipeEnds[0]);
    std::fprintf(stderr, "%s: cannot run %s: %s\n", program_invocation_short_name, argv[0], std::strerror(failure));
    return false;
  }
  if (capturing) {
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) != 0) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      if (measure.output.size() < kOutputLimit) measure.output.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeEnds[0]);
  }
  waitFor(child, measure, start);
  return true;
}

Measure measureFunction(const std::function<int()>& body) {
  Measure measure;
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return measure;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    _exit(body());
  }
  waitFor(child, measure, start);
  return measure;
}

bool exitedCleanly(const Measure& measure) {
  return measure.status != -1 && WIFEXITED(measure.status) && WEXITSTATUS(measure.status) == 0;
}

double MeasuredRuns::bestWall() const {
  double best = runs.front().wallSeconds;
  for (const Measure& run : runs) best = std::min(best, run.wallSeconds);
  return best;
}

double MeasuredRuns::bestCpu() const {
  double best = runs.front().cpuSeconds;
  for (const Measure& run : runs) best = std::min(best, run.cpuSeconds);
  return best;
}

long MeasuredRuns::peakKb() const {
  long peak = 0;
  for (const Measure& run : runs) peak = std::max(peak, run.peakKb);
  return peak;
}

std::string measuredTitles() {
  char text[64];
  std::snprintf(text, sizeof text, "%7s %7s %7s %8s %8s %7s", "games", "wall s", "cpu s", "games/s", "g/cpu-s",
                "peak MB");
  return text;
}

std::string measuredColumns(const MeasuredRuns& row) {
  char text[128];
  std::snprintf(text, sizeof text, "%7" PRIu64 " %7.2f %7.2f %8.0f %8.0f %7.1f", row.games, row.bestWall(),
                row.bestCpu(), row.gamesPerSecond(), row.gamesPerCpuSecond(), static_cast<double>(row.peakKb()) / 1024.0);
  return text;
}

std::string ratioText(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, "%6.2fx", ratio);
  return text;
}

std::string ratioColumns(const MeasuredRuns& row, const MeasuredRuns& peer) {
  return ratioText(row.gamesPerSecond() / peer.gamesPerSecond()) + " " +
         ratioText(row.gamesPerCpuSecond() / peer.gamesPerCpuSecond());
}

double ownCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return cpuSeconds(usage);
}

long ownPeakKb() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::strtol(line + 6, nullptr, 10);
  }
  std::fclose(status);
  return kb;
}

std::string ownProgramPath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n <= 0 ? "" : std::string(path, static_cast<std::size_t>(n));
}

}  // namespace kestrova::bench
