#include "rating/rating_computation.hpp"

#include <gtest/gtest.h>

#include "rating/game_text.hpp"
#include "rating/rating_repository.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

using test::games;

class Ratings : public ::testing::Test {
 protected:
  // Opens the games and runs elo; returns what it printed.
  std::string rate(const std::string& pgn, const std::string& command = "elo") {
    dir.write("games.pgn", pgn);
    EXPECT_TRUE(app->pgn.open("games.pgn"));
    return test::run(*app, command);
  }
  const PlayerRating& player(const char* name) {
    const PlayerRating* found = findPlayer(app->ratings, name);
    EXPECT_NE(found, nullptr) << name;
    static const PlayerRating none;
    return found != nullptr ? *found : none;
  }
  static std::string header(int cluster, int minGames, int maxIterations = 200, bool delta = false) {
    return "made by Kestrova 0.92 \nstarting elo : 2275\nmaximum iterations : " + std::to_string(maxIterations) +
           "\nminimal number of games : " + std::to_string(minGames) + "\ncluster : " + std::to_string(cluster) + "\n" +
           (delta ? "valid game delta : 300 elo (all draws and wins against stronger players are still included)\n" : "") +
           "\n";
  }
  static std::string row(int rank, const char* name, int elo, int x, const char* sc) {
    return std::to_string(rank) + "." + name + " :\t\t\telo=" + std::to_string(elo) + ", x=" + std::to_string(x) +
           ", sc=" + sc + "\n";
  }

  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

// 75 % is 193 points in the table; two players alone get half of it in one iteration.
TEST_F(Ratings, TwoEnginesWithSeventyFivePercentEndNinetySixAboveAndBelowTheStart) {
  app->settings.minNbGm = 1;
  const std::string printed = rate(games(2, "A", "B", "1-0") + games(2, "B", "A", "1/2-1/2"));
  for (const char* part : {"\n> please note that the start elo is : 2275 (see kestrova.ini to change it)\n",
                           "> 4 games scanned\n> process time : 0s\n", "> rating list saved in rating.txt\n\n",
                           "\r> 1 iteration(s), 2 correction(s), var = 96.000000, stab. factor = 0 {10}  \n"}) {
    EXPECT_NE(printed.find(part), std::string::npos) << part << printed;
  }
  EXPECT_EQ(dir.read("rating.txt"), header(1, 1) + row(1, "A", 2371, 2275, "3/4") + row(2, "B", 2179, 2275, "1/4") + "\n");
}

TEST_F(Ratings, DisconnectedGroupsAreClustersWithTheirOwnHeaderAndRanks) {
  app->settings.minNbGm = 1;
  // C scores 62.5 %: 91 points, halved to 45.
  const std::string printed = rate(games(2, "A", "B", "1-0") + games(2, "A", "B", "1/2-1/2") +
                                   games(1, "C", "D", "1-0") + games(3, "D", "C", "1/2-1/2"));
  // Players D, C, B, A from the head: cluster 3 is met first and ends behind cluster 1.
  EXPECT_NE(printed.find("> clustering...\n> adding cluster 3\n> adding cluster 1\n> calculating ratings for cluster 1\n"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("> calculating ratings for cluster 3\n"), std::string::npos);
  EXPECT_EQ(dir.read("rating.txt"), header(1, 1) + row(1, "A", 2371, 2275, "3/4") + row(2, "B", 2179, 2275, "1/4") +
                                        "\n" + header(3, 1) + row(1, "C", 2320, 2275, "2/4") +
                                        row(2, "D", 2230, 2275, "1/4") + "\n");
}

TEST_F(Ratings, APlayerBelowTheMinimumIsNotRatedAndItsGamesCountForNobody) {
  app->settings.minNbGm = 10;
  rate(games(5, "A", "B", "1-0") + games(5, "B", "A", "1/2-1/2") + games(9, "C", "A", "1-0"));
  // C's games (White) give A's and B's cluster C's number.
  EXPECT_EQ(dir.read("rating.txt"),
            header(3, 10) + row(1, "A", 2371, 2275, "7/10") + row(2, "B", 2179, 2275, "2/10") + "\n");
  EXPECT_EQ(player("C").games, 9);
  EXPECT_EQ(player("C").countedGames, 0);
  EXPECT_EQ(player("A").countedGames, 10);
}

TEST_F(Ratings, NameLengthChoosesTheTabsBeforeTheRating) {
  app->settings.minNbGm = 1;
  // "1." and the name: 13 characters take three tabs, 14 and 21 two, 22 one.
  rate(games(1, "ABCDEFGHIJK", "ABCDEFGHIJKL", "1/2-1/2") + games(1, "ABCDEFGHIJKL", "ABCDEFGHIJKLMNOPQRS", "1/2-1/2") +
       games(1, "ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQRST", "1/2-1/2"));
  const std::string list = dir.read("rating.txt");
  for (const char* part : {".ABCDEFGHIJK :\t\t\telo=", ".ABCDEFGHIJKL :\t\telo=", ".ABCDEFGHIJKLMNOPQRS :\t\telo=",
                           ".ABCDEFGHIJKLMNOPQRST :\telo="}) {
    EXPECT_NE(list.find(part), std::string::npos) << part << list;
  }
}

// A beats B and C ten times each and draws B once; B and C draw ten times. C, the third player
// met, has White against A: the cluster takes its number 3.
std::string threePlayers() {
  return games(10, "A", "B", "1-0") + games(1, "B", "A", "1/2-1/2") + games(10, "C", "A", "0-1") +
         games(10, "B", "C", "1/2-1/2");
}

TEST_F(Ratings, TheThreeHundredPointRuleDropsWinsOfTheStrongerOnlyOnceRatingsDiffer) {
  app->settings.minNbGm = 1;
  app->settings.use300ptRule = true;
  app->settings.maxIterations = 1;
  rate(threePlayers());
  // A 976 per mille -> 568, B 261 -> -184, C 250 -> -193; shift 2275 - 7016 / 3 = -63.
  EXPECT_EQ(dir.read("rating.txt"), header(3, 1, 1, true) + row(1, "A", 2780, 2275, "20/21") +
                                        row(2, "B", 2028, 2275, "5/21") + row(3, "C", 2019, 2275, "5/20") + "\n");
  // Second iteration: A keeps only its draw with B; averages A 2028, B (2780 + 10 x 2019) / 11
  // = 2088, C 2028; all at 50 %; shift 2275 - 6144 / 3 = 227.
  app->settings.maxIterations = 2;
  rate(threePlayers());
  EXPECT_EQ(dir.read("rating.txt"), header(3, 1, 2, true) + row(1, "B", 2315, 2088, "5/11") +
                                        row(2, "C", 2255, 2028, "5/10") + row(3, "A", 2255, 2028, "0/1") + "\n");
  app->settings.use300ptRule = false;
  rate(threePlayers());
  EXPECT_EQ(player("A").countedGames, 21);
  EXPECT_EQ(player("B").countedGames, 21);
  EXPECT_EQ(player("C").countedGames, 20);
}

TEST(ValidGame, DrawsAndWinsOfTheWeakerAlwaysCount) {
  auto app = test::makeApp();
  app->settings.use300ptRule = true;
  app->settings.validGmDelta = 300;
  TagTable tags;
  RatingRepository& repository = app->ratings;
  for (const char* result : {"1-0", "0-1", "1/2-1/2"}) {
    tags.setValue(kTagWhite, "Strong");
    tags.setValue(kTagBlack, "Weak");
    tags.setValue(kTagResult, result);
    ASSERT_TRUE(repository.addRatedGame(tags));
  }
  repository.player(static_cast<std::uint32_t>(repository.findPlayerIndex("Strong"))).rating = 2650;
  repository.player(static_cast<std::uint32_t>(repository.findPlayerIndex("Weak"))).rating = 2300;
  const auto valid = [&](int game) { return isValidGame(repository, app->settings, repository.games()[game]); };
  EXPECT_FALSE(valid(0));
  EXPECT_TRUE(valid(1));
  EXPECT_TRUE(valid(2));
  app->settings.validGmDelta = 351;
  EXPECT_TRUE(valid(0));
  app->settings.use300ptRule = false;
  app->settings.validGmDelta = 300;
  EXPECT_TRUE(valid(0));
}

TEST_F(Ratings, AnUnfinishedGameStopsTheComputationAndWritesNoList) {
  app->settings.minNbGm = 1;
  dir.write("rating.txt", "an old list\n");
  const std::string printed = rate(games(3, "A", "B", "1-0") + games(1, "B", "A", "*"));
  EXPECT_NE(printed.find("> Game without result. Probing aborted\n"), std::string::npos);
  EXPECT_FALSE(dir.exists("rating.txt"));
  EXPECT_EQ(printed.find("> clustering"), std::string::npos);
  EXPECT_FALSE(app->ratings.isFilled());
}

TEST_F(Ratings, TheStabilityCounterEndsTheIterationAfterTenNonDecreasingVariations) {
  app->settings.minNbGm = 1;
  // All draws: every variation after the first is 0, not lower than the one before.
  const std::string printed =
      rate(games(2, "A", "B", "1/2-1/2") + games(2, "B", "C", "1/2-1/2") + games(2, "C", "A", "1/2-1/2"));
  EXPECT_NE(printed.find("\r> 1 iteration(s), 0 correction(s), var = 0.000000, stab. factor = 0 {10}  \r"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("\r> 11 iteration(s), 0 correction(s), var = 0.000000, stab. factor = 10 {10}  \n"),
            std::string::npos);
  EXPECT_EQ(printed.find("12 iteration(s)"), std::string::npos);
  EXPECT_EQ(player("B").rating, 2275);
}

TEST_F(Ratings, IterationsStopAtTheMaximumAndNoneLeaveThePlayersUnlisted) {
  app->settings.minNbGm = 1;
  app->settings.maxIterations = 3;
  const std::string printed = rate(threePlayers());
  EXPECT_NE(printed.find("\r> 3 iteration(s)"), std::string::npos);
  EXPECT_EQ(printed.find("4 iteration(s)"), std::string::npos);
  app->settings.maxIterations = 0;
  rate(games(2, "A", "B", "1-0"));
  EXPECT_EQ(dir.read("rating.txt"), header(1, 1, 0) + "\n");
}

TEST_F(Ratings, AClusterWithoutEnoughGamesIsReportedAndTheOthersAreListed) {
  app->settings.minNbGm = 3;
  const std::string printed = rate(games(3, "A", "B", "1-0") + games(2, "C", "D", "1-0"));
  EXPECT_NE(printed.find("> no players or insufficent games per player in cluster 3\n"), std::string::npos) << printed;
  EXPECT_EQ(dir.read("rating.txt"), header(1, 3) + row(1, "A", 2613, 2275, "3/3") + row(2, "B", 1937, 2275, "0/3") +
                                        "\n" + header(3, 3) + "\n");
}

TEST_F(Ratings, AFileWithoutGamesSucceedsWithoutAListAndNoFileIsAnError) {
  EXPECT_NE(rate("just some text\n").find("> 0 games scanned\n"), std::string::npos);
  EXPECT_FALSE(dir.exists("rating.txt"));
  auto fresh = test::makeApp();
  EXPECT_NE(test::run(*fresh, "elo").find("> no PGN file in memory\n"), std::string::npos);
}

}  // namespace
}  // namespace kestrova
