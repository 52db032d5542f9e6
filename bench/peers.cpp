#include "peers.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "process_measure.hpp"

namespace kestrova::bench {

namespace {

bool executable(const std::string& path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

}  // namespace

std::string pgnExtractProgram() {
  const std::string configured = KESTROVA_PGN_EXTRACT;
  if (configured.find("NOTFOUND") == std::string::npos && executable(configured)) return configured;
  return executable("/usr/games/pgn-extract") ? "/usr/games/pgn-extract" : "";
}

std::string polyglotProgram() {
  for (const char* path : {"/usr/games/polyglot", "/usr/bin/polyglot"}) {
    if (executable(path)) return path;
  }
  return "";
}

std::string benchDataFolder() {
  std::error_code ignored;
  std::filesystem::create_directories(KESTROVA_BENCH_DATA, ignored);
  return KESTROVA_BENCH_DATA;
}

std::string generatedFileName(std::uint64_t games) {
  return games % 1000 == 0 ? "games-" + std::to_string(games / 1000) + "k.pgn" : "games-" + std::to_string(games) + ".pgn";
}

bool ensureGeneratedGames(const std::string& path, std::uint64_t games, std::uint64_t copies,
                          const std::string& copiesList) {
  namespace fs = std::filesystem;
  if (fs::exists(path) && (copiesList.empty() || fs::exists(copiesList))) return true;
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  std::fprintf(stderr, "generating %s (%llu games", path.c_str(), static_cast<unsigned long long>(games));
  if (copies != 0) std::fprintf(stderr, " and %llu copies", static_cast<unsigned long long>(copies));
  std::fputs(")...\n", stderr);
  const std::string suffix = ".part-" + std::to_string(getpid());
  std::vector<std::string> arguments = {KESTROVA_GENERATE_GAMES, path + suffix, "--games", std::to_string(games),
                                        "--seed", "1"};
  if (copies != 0) {
    arguments.insert(arguments.end(), {"--copies", std::to_string(copies)});
    if (!copiesList.empty()) arguments.insert(arguments.end(), {"--copies-list", copiesList + suffix});
  }
  Measure measure;
  bool ok = measureProgram(arguments, Sink::kInherit, Sink::kInherit, measure) && exitedCleanly(measure);
  // The list first: the games file is what marks the pair as made.
  if (ok && !copiesList.empty()) ok = std::rename((copiesList + suffix).c_str(), copiesList.c_str()) == 0;
  if (ok) ok = std::rename((path + suffix).c_str(), path.c_str()) == 0;
  if (!ok) {
    std::fprintf(stderr, "%s: generating %s failed\n", program_invocation_short_name, path.c_str());
    std::remove((path + suffix).c_str());
    if (!copiesList.empty()) std::remove((copiesList + suffix).c_str());
  }
  return ok;
}

std::string generatedFileFromEnvironment() {
  const auto games = static_cast<std::uint64_t>(numberFromEnvironment("KESTROVA_BENCH_GAMES", 100000));
  const std::string path = benchDataFolder() + "/" + generatedFileName(games);
  return ensureGeneratedGames(path, games) ? path : "";
}

void warmCache(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  std::vector<char> buffer(1 << 16);
  while (read(fd, buffer.data(), buffer.size()) > 0) {
  }
  close(fd);
}

std::vector<std::string> gameIdentities(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> games;
  std::string line, id;
  while (std::getline(in, line)) {
    if (line.rfind("[Event ", 0) == 0) id = line;
    else if (line.rfind("[Round ", 0) == 0 || line.rfind("[White ", 0) == 0) id += line;
    else if (line.rfind("[Black ", 0) == 0) games.push_back(id + line);
  }
  return games;
}

long numberFromEnvironment(const char* name, long fallback) {
  const char* text = std::getenv(name);
  const long value = text != nullptr ? std::atol(text) : 0;
  return value > 0 ? value : fallback;
}

}  // namespace kestrova::bench
