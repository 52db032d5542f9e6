#include "generator_schedule.hpp"

#include <algorithm>
#include <numeric>

#include "generator_random.hpp"

namespace kestrova::bench {

const std::array<EngineProfile, 40> kEnginePool = {{
    {"Stockfish 16.1", 3640}, {"Stockfish 15.1", 3600}, {"Komodo Dragon 3.3", 3590},
    {"Berserk 13", 3560},     {"Ethereal 14.25", 3520}, {"Koivisto 9.2", 3510},
    {"RubiChess 20240112", 3490}, {"Obsidian 11.0", 3480}, {"Caissa 1.18", 3470},
    {"Seer 2.8.0", 3430},     {"Igel 3.5.0", 3420},     {"Clover 6.1", 3410},
    {"Viridithas 12.0", 3400}, {"Minic 3.42", 3380},   {"Arasan 24.2", 3360},
    {"Halogen 12", 3340},     {"Weiss 2.0", 3320},      {"Rofchade 3.1", 3300},
    {"Texel 1.11", 3250},     {"Booot 7.3", 3240},      {"Laser 1.7", 3210},
    {"Xiphos 0.6", 3200},     {"Pedone 3.1", 3190},     {"Marvin 6.2", 3150},
    {"Zahak 5.0", 3140},      {"Velvet 6.0", 3120},     {"Wasp 6.5", 3090},
    {"Stash 35.0", 3060},     {"Nemorino 6.00", 3040},  {"Counter 5.1", 3000},
    {"Demolito 2021", 2980},  {"Winter 2.0", 2950},     {"Crafty 25.2", 2900},
    {"Toga II 3.0", 2850},    {"Fruit 2.1", 2780},      {"Glaurung 2.2", 2750},
    {"GNU Chess 6.2.7", 2700}, {"Stockfish 15.1 Elo2600", 2600}, {"Stockfish 15.1 Elo2200", 2200},
    {"Stockfish 15.1 Skill 5", 1900},
}};

namespace {

constexpr std::array<EventSeries, 6> kSeries = {{
    {"Debian Engines Round Robin", "Engine test rig, 2 cores", "0.04/move", EventKind::kRoundRobin, 40, 11},
    {"Winter Swiss", "Engine test rig, 2 cores", "0.06/move", EventKind::kSwiss, 60, 12},
    {"Engine Gauntlet", "Kestrova test cluster, 8 cores", "3+0.1", EventKind::kGauntlet, 110, 14},
    {"Rating Pool Blitz", "Kestrova test cluster, 8 cores", "60+0.6", EventKind::kSwiss, 1400, 20},
    {"Head-to-Head Match", "Engine test rig, 2 cores", "5+0.1", EventKind::kMatch, 160, 15},
    {"Rapid Round Robin", "Cloud node, 16 cores", "40/60", EventKind::kRoundRobin, 1500, 22},
}};

constexpr int kStreamPlan = 1;
constexpr int kStreamSwiss = 2;

// Year, month and day of a count of days after 2024-01-01 (proleptic Gregorian calendar).
void civilDate(int daysAfter2024, int& year, int& month, int& day) {
  const int z = 19723 + daysAfter2024 + 719468;  // 2024-01-01 is day 19723 of the Unix epoch
  const int era = z / 146097;
  const int dayOfEra = z - era * 146097;
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

EventSchedule::EventSchedule(std::uint64_t seed, std::uint32_t games) {
  GeneratorRandom random(streamSeed(seed, kStreamPlan, 0));
  std::array<int, kSeries.size()> editions{};
  std::uint32_t covered = 0;
  int day = 0;
  while (covered < games) {
    Event event;
    event.firstGame = covered;
    event.series = static_cast<std::uint8_t>(random.below(kSeries.size()));
    event.edition = ++editions[event.series];
    event.seed = random.next();
    const EventSeries& series = kSeries[event.series];
    int perRound = 0;
    switch (series.kind) {
      case EventKind::kRoundRobin:
        event.playerCount = 2 * random.between(3, 6);
        event.rounds = 2 * (event.playerCount - 1);
        perRound = event.playerCount / 2;
        break;
      case EventKind::kSwiss:
        event.playerCount = 2 * random.between(5, 8);
        event.rounds = random.between(5, 9);
        perRound = event.playerCount / 2;
        break;
      case EventKind::kGauntlet:
        event.playerCount = random.between(5, 11);
        event.rounds = random.between(2, 6);
        perRound = event.playerCount - 1;
        break;
      case EventKind::kMatch:
        event.playerCount = 2;
        event.rounds = 2 * random.between(5, 30);
        perRound = 1;
        break;
    }
    event.games = static_cast<std::uint32_t>(event.rounds * perRound);
    event.roundsPerDay = series.moveTimeMs >= 1000 ? 1 : random.between(2, 6);
    event.startDay = day;
    day += random.between(0, 2);

    // The players: a partial shuffle of the pool.
    std::array<std::uint8_t, kEnginePool.size()> pool;
    std::iota(pool.begin(), pool.end(), std::uint8_t{0});
    for (int i = 0; i < event.playerCount; ++i) {
      const int pick = i + static_cast<int>(random.below(static_cast<std::uint32_t>(pool.size() - i)));
      std::swap(pool[i], pool[pick]);
      event.players[i] = pool[i];
    }
    covered += event.games;
    events_.push_back(event);
  }
}

GameContext EventSchedule::contextOf(std::uint32_t index) const {
  const auto after = std::upper_bound(events_.begin(), events_.end(), index,
                                      [](std::uint32_t value, const Event& event) { return value < event.firstGame; });
  const Event& event = *(after - 1);
  const int g = static_cast<int>(index - event.firstGame);
  const int p = event.playerCount;
  GameContext context;
  context.series = &kSeries[event.series];
  context.edition = event.edition;
  int round = 0, white = 0, black = 1;
  switch (context.series->kind) {
    case EventKind::kRoundRobin: {
      // Circle method: the last player stays, the others turn; the second cycle swaps colours.
      const int perRound = p / 2;
      round = g / perRound;
      const int board = g % perRound;
      const int turn = round % (p - 1);
      const int cycle = round / (p - 1);
      int a = turn, b = p - 1;
      if (board > 0) {
        a = (turn + board) % (p - 1);
        b = (turn + (p - 1) - board) % (p - 1);
      }
      const bool swap = (((turn + board) & 1) != 0) != (cycle != 0);
      white = swap ? b : a;
      black = swap ? a : b;
      break;
    }
    case EventKind::kSwiss: {
      const int perRound = p / 2;
      round = g / perRound;
      const int board = g % perRound;
      GeneratorRandom pairing(streamSeed(event.seed, kStreamSwiss, static_cast<std::uint64_t>(round)));
      std::array<int, kMaxPlayers> order;
      std::iota(order.begin(), order.begin() + p, 0);
      for (int i = p - 1; i > 0; --i) std::swap(order[i], order[pairing.below(static_cast<std::uint32_t>(i + 1))]);
      white = order[2 * board];
      black = order[2 * board + 1];
      break;
    }
    case EventKind::kGauntlet: {
      // Player 0 meets every other player once a round, colours alternating.
      round = g / (p - 1);
      const int opponent = 1 + g % (p - 1);
      const bool heroWhite = ((round + opponent) & 1) == 0;
      white = heroWhite ? 0 : opponent;
      black = heroWhite ? opponent : 0;
      break;
    }
    case EventKind::kMatch:
      round = g;
      white = g & 1;
      black = 1 - white;
      break;
  }
  context.round = round + 1;
  context.white = event.players[white];
  context.black = event.players[black];
  civilDate(event.startDay + round / event.roundsPerDay, context.year, context.month, context.day);
  return context;
}

}  // namespace kestrova::bench
