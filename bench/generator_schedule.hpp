#pragma once
// Who plays whom, where, when and at what time control: a run of engine tournaments (round
// robins, gauntlets, Swiss events, matches) planned from the seed, so that every game's tags are
// a function of its number alone.
#include <array>
#include <cstdint>
#include <vector>

namespace kestrova::bench {

struct EngineProfile {
  const char* name;
  int elo;
};

// The pool of engines the tournaments draw their players from.
extern const std::array<EngineProfile, 40> kEnginePool;

enum class EventKind : std::uint8_t { kRoundRobin, kGauntlet, kSwiss, kMatch };

struct EventSeries {
  const char* name;
  const char* site;
  const char* timeControl;
  EventKind kind;
  int moveTimeMs;  // a typical thinking time per move
  int depth;       // a typical search depth at that time
};

// Everything the tag section of one game says, and what the comments need to look plausible.
struct GameContext {
  const EventSeries* series = nullptr;
  int edition = 0;  // the n-th event of its series
  int year = 0, month = 0, day = 0;
  int round = 0;
  int white = 0, black = 0;  // indexes in kEnginePool
};

class EventSchedule {
 public:
  // Plans events until `games` games are covered.
  EventSchedule(std::uint64_t seed, std::uint32_t games);

  // The context of game `index` (0-based, in the order the originals are generated).
  GameContext contextOf(std::uint32_t index) const;

 private:
  static constexpr int kMaxPlayers = 16;
  struct Event {
    std::uint32_t firstGame = 0;
    std::uint32_t games = 0;
    std::uint8_t series = 0;
    int edition = 0;
    int startDay = 0;  // days after 2024-01-01
    int roundsPerDay = 1;
    int playerCount = 0;
    int rounds = 0;
    std::uint64_t seed = 0;  // for the Swiss pairings
    std::array<std::uint8_t, kMaxPlayers> players{};
  };

  std::vector<Event> events_;
};

}  // namespace kestrova::bench
