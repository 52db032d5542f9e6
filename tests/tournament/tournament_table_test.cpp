#include "tournament/tournament_table.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kestrova {
namespace {

struct Pairing {
  std::uint32_t white;
  std::uint32_t black;
  int whiteScore;
};

// Adds each game from both sides, as the finder does.
void addGames(TournamentTable& table, const std::vector<Pairing>& games) {
  for (const Pairing& game : games) {
    table.addTableGame(game.white, game.black, game.whiteScore, 1);
    table.addTableGame(game.black, game.white, 100 - game.whiteScore, 0);
  }
}

std::vector<Pairing> roundRobin(std::uint32_t players, int gamesPerPairing) {
  std::vector<Pairing> games;
  for (int g = 0; g < gamesPerPairing; ++g) {
    for (std::uint32_t a = 0; a < players; ++a) {
      for (std::uint32_t b = a + 1; b < players; ++b) games.push_back({g % 2 ? b : a, g % 2 ? a : b, 50});
    }
  }
  return games;
}

std::vector<Pairing> swissRounds(std::uint32_t players, int rounds) {
  // Circle pairing: the last player stays, the others turn; no pairing repeats within n - 1 rounds.
  std::vector<Pairing> games;
  const std::uint32_t turning = players - 1;
  for (int r = 0; r < rounds; ++r) {
    games.push_back({static_cast<std::uint32_t>(r) % turning, turning, 100});
    for (std::uint32_t k = 1; k < players / 2; ++k) {
      games.push_back({(r + k) % turning, (r + turning - k) % turning, 50});
    }
  }
  return games;
}

TEST(TournamentType, DependsOnHowManyDifferentOpponentsThePlayersMet) {
  struct Case {
    const char* what;
    std::vector<Pairing> games;
    int expected;
  };
  std::vector<Pairing> gauntlet;
  for (std::uint32_t opponent = 1; opponent <= 5; ++opponent) gauntlet.push_back({0, opponent, 100});
  const Case cases[] = {
      {"empty", {}, kNoTournament},
      {"a 10-game match", std::vector<Pairing>(10, Pairing{0, 1, 50}), kNoTournament},
      {"one player against five", gauntlet, kGauntlet},
      {"four players, all pairings twice", roundRobin(4, 2), kRoundRobin},
      {"three players, each pairing once", roundRobin(3, 1), kRoundRobin},
      // 4 opponents each: 40 / 10 = 4 is below 60 / 10 = 6.
      {"ten players, four rounds", swissRounds(10, 4), kSwiss},
      // 6 opponents each: 6 is not below 6.
      {"ten players, six rounds", swissRounds(10, 6), kRoundRobin},
  };
  for (const Case& c : cases) {
    TournamentTable table;
    addGames(table, c.games);
    EXPECT_EQ(tournamentType(table), c.expected) << c.what;
  }
}

std::vector<std::uint32_t> ranking(const TournamentTable& table) {
  std::vector<std::uint32_t> order;
  for (int entry : table.ranking()) order.push_back(table.entry(entry).player);
  return order;
}

TEST(TournamentRanking, ScoreFirstThenSonnebornBergerOnlyBetweenEqualScores) {
  // Scores 300, 100, 150, 50: no ties, no Sonneborn-Berger at all.
  TournamentTable table;
  addGames(table, {{0, 1, 100}, {0, 2, 100}, {0, 3, 100}, {1, 3, 100}, {2, 3, 50}, {2, 1, 100}});
  rankTable(table);
  EXPECT_EQ(ranking(table), (std::vector<std::uint32_t>{0, 2, 1, 3}));
  for (int i = 0; i < table.playerCount(); ++i) EXPECT_EQ(table.entry(i).sonnebornBerger, 0);
  // Scores 300, 150, 100, 150. SB(1) = 150 (beat 3) + 100 / 2 (drew 2) = 200; SB(3) = 50 + 150
  // = 200: equal, first appearance keeps 1 first.
  table.reset();
  addGames(table, {{0, 1, 100}, {0, 2, 100}, {0, 3, 100}, {1, 3, 100}, {2, 3, 50}, {2, 1, 50}, {3, 1, 100}});
  rankTable(table);
  EXPECT_EQ(ranking(table), (std::vector<std::uint32_t>{0, 1, 3, 2}));
  std::vector<int> sb;
  for (std::uint32_t p : {0u, 1u, 2u, 3u}) sb.push_back(table.entry(table.entryOf(p)).sonnebornBerger);
  EXPECT_EQ(sb, (std::vector<int>{0, 200, 0, 200}));
}

TEST(TournamentRanking, OpponentsFollowTheRanking) {
  TournamentTable table;
  // Player 9 meets 1..5 in that order; opponent scores 0, 100, 50, 200, 150.
  addGames(table, {{9, 1, 100}, {9, 1, 100}, {9, 2, 50}, {9, 2, 50}, {9, 3, 100}, {9, 3, 50},
                   {9, 4, 0}, {9, 4, 0}, {9, 5, 50}, {9, 5, 0}});
  rankTable(table);
  std::vector<std::uint32_t> opponents;
  for (const TournamentOpponent& opponent : table.entry(table.entryOf(9)).opponents()) {
    opponents.push_back(opponent.player);
  }
  EXPECT_EQ(opponents, (std::vector<std::uint32_t>{4, 5, 2, 3, 1}));
}

TEST(TournamentTable, ResetKeepsNothingOfThePreviousTournament) {
  TournamentTable table;
  addGames(table, roundRobin(4, 2));
  table.reset();
  EXPECT_EQ(table.playerCount(), 0);
  addGames(table, {{7, 8, 100}});
  ASSERT_EQ(table.playerCount(), 2);
  const TournamentPlayer& seven = table.entry(table.entryOf(7));
  EXPECT_EQ(seven.score, 100);
  EXPECT_EQ(seven.games, 1);
  ASSERT_EQ(seven.opponents().size(), 1u);
  EXPECT_EQ(seven.opponents()[0].player, 8u);
  ASSERT_EQ(seven.opponents()[0].results.size(), 1u);
  EXPECT_EQ(seven.opponents()[0].results[0].colour, 1);
  EXPECT_EQ(table.entryOf(0), -1);
}

}  // namespace
}  // namespace kestrova
