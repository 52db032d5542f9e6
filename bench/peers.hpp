// What the benchmarks run beside our program: the peer programs, and the generated engine-match
// files that ours and the peers read alike (made once by generate_games, kept in the data folder).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova::bench {

// pgn-extract as found at configure time, else Debian's; "" when neither is executable.
std::string pgnExtractProgram();
// Debian's polyglot; "" when not installed.
std::string polyglotProgram();

// The folder of the generated files and of the benchmarks' outputs (build dir/bench-data).
std::string benchDataFolder();
// "games-100k.pgn" for 100,000 games, "games-1234.pgn" otherwise: the name every benchmark
// shares for the generated file of that many games (generate_games --seed 1, no copies).
std::string generatedFileName(std::uint64_t games);

// Makes the file of that many games (and that many exact copies shuffled in, with their "copy
// original" list when copiesList is not empty) unless it is there. It is written under temporary
// names, so that an interrupted run or another benchmark making the same file never leaves half
// a file behind. False, with a message, when generation failed.
bool ensureGeneratedGames(const std::string& path, std::uint64_t games, std::uint64_t copies = 0,
                          const std::string& copiesList = "");

// The generated file of KESTROVA_BENCH_GAMES games (default 100,000), made unless it is there;
// "" when generation failed.
std::string generatedFileFromEnvironment();

// Reads the file once so that every timed run finds it in the page cache.
void warmCache(const std::string& path);

// The identity of each game of a PGN file, in file order (its Event, Round, White and Black
// lines): what our output and the peer's are compared by.
std::vector<std::string> gameIdentities(const std::string& path);

// A positive whole number from the environment, else the fallback.
long numberFromEnvironment(const char* name, long fallback);

}  // namespace kestrova::bench
