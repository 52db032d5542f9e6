#pragma once
// One generated engine-match game as PGN text: the tags of its place in the schedule, random
// legal moves weighted to look plausible, and an engine comment after every move.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "chess/attack_tables.hpp"
#include "generator_moves.hpp"
#include "generator_random.hpp"
#include "generator_schedule.hpp"

namespace kestrova::bench {

enum class Ending : std::uint8_t { kByLength, kMate, kStalemate, kFiftyMoves, kMaterial, kCount };

struct GenerationStats {
  std::uint64_t games = 0;
  std::uint64_t plies = 0;
  std::array<std::uint64_t, static_cast<int>(Ending::kCount)> endings{};
  std::uint64_t whiteWins = 0, blackWins = 0, draws = 0;
};

class GameComposer {
 public:
  static constexpr int kMinLength = 60;   // half-moves; no mate or stalemate comes earlier
  static constexpr int kMaxLength = 200;

  // Plans the schedule of `games` original games from the seed.
  GameComposer(std::uint64_t seed, std::uint32_t games);

  // Appends the text of original game `index` (0-based), its closing blank line included; the
  // same index always gives the same text. Counted in stats() when `count` is set.
  void compose(std::uint32_t index, std::string& out, bool count = true);

  const GenerationStats& stats() const { return stats_; }

 private:
  struct Outcome {
    int whiteScore = 1;  // 2 White wins, 1 draw, 0 Black wins
    const char* reason = "";
    bool adjudicated = false;
    int mateBase = 0;  // the mate distance shown on the last half-moves, 0 for none
    int mateSpan = 0;  // how many of the last half-moves show it
  };

  Ending playMoves(GeneratorRandom& random, int length);
  Outcome decideOutcome(GeneratorRandom& random, Ending ending, const GameContext& context) const;
  void writeTags(const GameContext& context, const Outcome& outcome, std::string& out) const;
  void writeMovetext(GeneratorRandom& random, const GameContext& context, const Outcome& outcome, std::string& out);

  std::uint64_t seed_;
  std::unique_ptr<const AttackTables> tables_;
  EventSchedule schedule_;
  std::array<GenMoveList, 2> lists_;
  std::array<int, GenMoveList::kCapacity> weights_{};
  std::array<std::array<char, 16>, kMaxLength + 1> san_{};  // [ply], ply 1..plyCount
  int plyCount_ = 0;
  GenerationStats stats_;
};

}  // namespace kestrova::bench
