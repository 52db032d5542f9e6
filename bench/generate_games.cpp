// Writes a large, deterministic PGN file of engine-match games for the benchmarks:
//   generate_games OUT.pgn [--games N] [--seed S] [--copies K] [--copies-list FILE]
// N original games (default 100,000) of 60 to 200 half-moves from the standard start, each move
// with an engine comment; K exact copies of earlier games inserted at shuffled places (N + K games
// in all), listed as "copy original" game numbers (1-based, in the output) in the copies list.
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "generator_game.hpp"

namespace {

using namespace kestrova::bench;

constexpr int kStreamCopies = 4;

struct Options {
  std::string out;
  std::string copiesList;
  std::uint64_t games = 100000;
  std::uint64_t seed = 1;
  std::uint64_t copies = 0;
};

void printUsage(std::FILE* to) {
  std::fputs(
      "usage: generate_games OUT.pgn [--games N] [--seed S] [--copies K] [--copies-list FILE]\n"
      "  --games N        original games to write (default 100000)\n"
      "  --seed S         seed of the run; the same arguments always give the same file (default 1)\n"
      "  --copies K       also insert K exact copies of earlier games at shuffled places\n"
      "  --copies-list F  write \"copy original\" game numbers (1-based) of the copies to F\n",
      to);
}

bool readNumber(const char* text, std::uint64_t limit, std::uint64_t& value) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long parsed = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || parsed > limit) return false;
  value = parsed;
  return true;
}

bool parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = true;
    if (word == "--games") ok = readNumber(value, 100000000, options.games) && options.games > 0;
    else if (word == "--seed") ok = readNumber(value, UINT64_MAX, options.seed);
    else if (word == "--copies") ok = readNumber(value, 100000000, options.copies);
    else if (word == "--copies-list") ok = value != nullptr && *value != '\0';
    else if (word == "-h" || word == "--help") return false;
    else if (word.starts_with("-") || !options.out.empty()) ok = false;
    else {
      options.out = word;
      continue;
    }
    if (!ok) {
      std::fprintf(stderr, "generate_games: bad or missing value for %s\n", word.c_str());
      return false;
    }
    if (word == "--copies-list") options.copiesList = value;
    ++i;
  }
  return !options.out.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    printUsage(stderr);
    return 2;
  }
  std::FILE* out = std::fopen(options.out.c_str(), "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "generate_games: cannot create %s: %s\n", options.out.c_str(), std::strerror(errno));
    return 1;
  }
  std::FILE* list = nullptr;
  if (!options.copiesList.empty()) {
    list = std::fopen(options.copiesList.c_str(), "wb");
    if (list == nullptr) {
      std::fprintf(stderr, "generate_games: cannot create %s: %s\n", options.copiesList.c_str(), std::strerror(errno));
      std::fclose(out);
      return 1;
    }
  }
  static char outBuffer[1 << 20];
  std::setvbuf(out, outBuffer, _IOFBF, sizeof outBuffer);

  const auto start = std::chrono::steady_clock::now();
  GameComposer composer(options.seed, static_cast<std::uint32_t>(options.games));
  // Selection sampling picks the copies' places among places 2..N+K in one pass; each copy
  // repeats a random original already written.
  GeneratorRandom copyRandom(streamSeed(options.seed, kStreamCopies, 0));
  const std::uint64_t total = options.games + options.copies;
  std::vector<std::uint64_t> originalPlace;
  originalPlace.reserve(options.games);
  std::uint64_t copiesLeft = options.copies;
  std::uint64_t bytes = 0;
  std::string text;
  text.reserve(1 << 16);
  const bool showProgress = isatty(STDERR_FILENO) != 0;
  for (std::uint64_t place = 1; place <= total; ++place) {
    text.clear();
    const std::uint64_t placesLeft = total - place + 1;
    const bool copy = place > 1 && copiesLeft > 0 &&
                      (copiesLeft == placesLeft ||
                       (copyRandom.next() >> 11) % placesLeft < copiesLeft);
    if (copy) {
      const std::uint64_t original = (copyRandom.next() >> 11) % originalPlace.size();
      composer.compose(static_cast<std::uint32_t>(original), text, false);
      if (list != nullptr) {
        std::fprintf(list, "%llu %llu\n", static_cast<unsigned long long>(place),
                     static_cast<unsigned long long>(originalPlace[original]));
      }
      --copiesLeft;
    } else {
      composer.compose(static_cast<std::uint32_t>(originalPlace.size()), text);
      originalPlace.push_back(place);
    }
    std::fwrite(text.data(), 1, text.size(), out);
    bytes += text.size();
    if (showProgress && place % 10000 == 0) std::fprintf(stderr, "generated %llu games\r", static_cast<unsigned long long>(place));
  }
  const bool failed = std::fclose(out) != 0 || (list != nullptr && std::fclose(list) != 0);
  if (failed) {
    std::fprintf(stderr, "generate_games: writing failed: %s\n", std::strerror(errno));
    return 1;
  }

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const GenerationStats& stats = composer.stats();
  const auto ending = [&](Ending e) { return static_cast<unsigned long long>(stats.endings[static_cast<int>(e)]); };
  std::fprintf(stderr,
               "%s: %llu games (%llu originals, %llu copies), %.1f MB in %.1f s (%.0f games/s)\n"
               "  half-moves per original: %.1f; endings: %llu by length, %llu mates, %llu stalemates, "
               "%llu fifty-move, %llu material\n"
               "  results: %llu 1-0, %llu 1/2-1/2, %llu 0-1\n",
               options.out.c_str(), static_cast<unsigned long long>(total),
               static_cast<unsigned long long>(options.games), static_cast<unsigned long long>(options.copies),
               bytes / 1e6, seconds, total / seconds, static_cast<double>(stats.plies) / stats.games,
               ending(Ending::kByLength), ending(Ending::kMate), ending(Ending::kStalemate),
               ending(Ending::kFiftyMoves), ending(Ending::kMaterial),
               static_cast<unsigned long long>(stats.whiteWins), static_cast<unsigned long long>(stats.draws),
               static_cast<unsigned long long>(stats.blackWins));
  return 0;
}
