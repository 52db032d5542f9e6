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
  static std::string header(int cluster, int minGames, int maxIterations = 200, bool validGameDelta = false) {
    return "made by Kestrova 0.92 \nstarting elo : 2275\nmaximum iterations : " + std::to_string(maxIterations) +
           "\nminimal number of games : " + std::to_string(minGames) + "\ncluster : " + std::to_string(cluster) +
           "\n" +
           (validGameDelta ? "valid game delta : 300 elo (all draws and wins against stronger players are still "
                             "included)\n"
                           : "") +
           "\n";
  }

  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

// 75 % is 193 points in the table; two players alone get half of it in one iteration.
TEST_F(Ratings, TwoEnginesWithSeventyFivePercentEndNinetySixAboveAndBelowTheStart) {
  app->settings.minNbGm = 1;
  const std::string printed = rate(games(2, "A", "B", "1-0") + games(2, "B", "A", "1/2-1/2"));
  EXPECT_NE(printed.find("\n> please note that the start elo is : 2275 (see kestrova.ini to change it)\n"),
            std::string::npos);
  EXPECT_NE(printed.find("> 4 games scanned\n> process time : 0s\n"), std::string::npos);
  EXPECT_NE(printed.find("\r> 1 iteration(s), 2 correction(s), var = 96.000000, stab. factor = 0 {10}  \n"),
            std::string::npos)
      << printed;
  EXPECT_EQ(dir.read("rating.txt"), header(1, 1) +
                                        "1.A :\t\t\telo=2371, x=2275, sc=3/4\n"
                                        "2.B :\t\t\telo=2179, x=2275, sc=1/4\n"
                                        "\n");
  EXPECT_NE(printed.find("> rating list saved in rating.txt\n\n"), std::string::npos);
}

TEST_F(Ratings, DisconnectedGroupsAreClustersWithTheirOwnHeaderAndRanks) {
  app->settings.minNbGm = 1;
  // C scores 62.5 %: 91 points, halved to 45.
  const std::string printed =
      rate(games(2, "A", "B", "1-0") + games(2, "A", "B", "1/2-1/2") + games(1, "C", "D", "1-0") +
           games(3, "D", "C", "1/2-1/2"));
  // Players D, C, B, A from the head: cluster 3 is met first and ends behind cluster 1.
  EXPECT_NE(printed.find("> clustering...\n> adding cluster 3\n> adding cluster 1\n"
                         "> calculating ratings for cluster 1\n"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("> calculating ratings for cluster 3\n"), std::string::npos);
  EXPECT_EQ(dir.read("rating.txt"), header(1, 1) +
                                        "1.A :\t\t\telo=2371, x=2275, sc=3/4\n"
                                        "2.B :\t\t\telo=2179, x=2275, sc=1/4\n"
                                        "\n" +
                                        header(3, 1) +
                                        "1.C :\t\t\telo=2320, x=2275, sc=2/4\n"
                                        "2.D :\t\t\telo=2230, x=2275, sc=1/4\n"
                                        "\n");
  // Each cluster keeps its mean at the start rating.
  EXPECT_EQ(player("A").rating + player("B").rating, 2 * 2275);
  EXPECT_EQ(player("C").rating + player("D").rating, 2 * 2275);
}

TEST_F(Ratings, APlayerBelowTheMinimumIsNotRatedAndItsGamesCountForNobody) {
  app->settings.minNbGm = 10;
  rate(games(5, "A", "B", "1-0") + games(5, "B", "A", "1/2-1/2") + games(9, "C", "A", "1-0"));
  // C's games (White) give A's and B's cluster C's number.
  EXPECT_EQ(dir.read("rating.txt"), header(3, 10) +
                                        "1.A :\t\t\telo=2371, x=2275, sc=7/10\n"
                                        "2.B :\t\t\telo=2179, x=2275, sc=2/10\n"
                                        "\n");
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
  EXPECT_NE(list.find(".ABCDEFGHIJK :\t\t\telo="), std::string::npos) << list;
  EXPECT_NE(list.find(".ABCDEFGHIJKL :\t\telo="), std::string::npos) << list;
  EXPECT_NE(list.find(".ABCDEFGHIJKLMNOPQRS :\t\telo="), std::string::npos) << list;
  EXPECT_NE(list.find(".ABCDEFGHIJKLMNOPQRST :\telo="), std::string::npos) << list;
}

// A beats B and C ten times each and draws B once; B and C draw ten times. After the first
// iteration A is 752 points above B and 761 above C (hand computation in the comments below).
// C, the third player met, has White against A: the cluster takes its number 3.
std::string threePlayers() {
  return games(10, "A", "B", "1-0") + games(1, "B", "A", "1/2-1/2") + games(10, "C", "A", "0-1") +
         games(10, "B", "C", "1/2-1/2");
}

TEST_F(Ratings, TheThreeHundredPointRuleLeavesNothingOutWhileRatingsAreEqual) {
  app->settings.minNbGm = 1;
  app->settings.maxIterations = 1;
  app->settings.use300ptRule = true;
  rate(threePlayers());
  // A 976 per mille -> 568, B 261 -> -184, C 250 -> -193; shift 2275 - 7016 / 3 = -63.
  EXPECT_EQ(dir.read("rating.txt"),
            header(3, 1, 1, true) +
                "1.A :\t\t\telo=2780, x=2275, sc=20/21\n"
                "2.B :\t\t\telo=2028, x=2275, sc=5/21\n"
                "3.C :\t\t\telo=2019, x=2275, sc=5/20\n"
                "\n");
}

TEST_F(Ratings, TheThreeHundredPointRuleDropsWinsOfTheStrongerOnceRatingsDiffer) {
  app->settings.minNbGm = 1;
  app->settings.maxIterations = 2;
  app->settings.use300ptRule = true;
  rate(threePlayers());
  // Second iteration: A keeps only its draw with B; every draw still counts. Averages A 2028,
  // B (2780 + 10 x 2019) / 11 = 2088, C 2028; all at 50 %; shift 2275 - 6144 / 3 = 227.
  EXPECT_EQ(dir.read("rating.txt"),
            header(3, 1, 2, true) +
                "1.B :\t\t\telo=2315, x=2088, sc=5/11\n"
                "2.C :\t\t\telo=2255, x=2028, sc=5/10\n"
                "3.A :\t\t\telo=2255, x=2028, sc=0/1\n"
                "\n");

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
  const char* results[] = {"1-0", "0-1", "1/2-1/2"};
  for (const char* result : results) {
    tags.setValue(kTagWhite, "Strong");
    tags.setValue(kTagBlack, "Weak");
    tags.setValue(kTagResult, result);
    ASSERT_TRUE(repository.addRatedGame(tags));
  }
  repository.player(static_cast<std::uint32_t>(repository.findPlayerIndex("Strong"))).rating = 2650;
  repository.player(static_cast<std::uint32_t>(repository.findPlayerIndex("Weak"))).rating = 2300;
  EXPECT_FALSE(isValidGame(repository, app->settings, repository.games()[0]));
  EXPECT_TRUE(isValidGame(repository, app->settings, repository.games()[1]));
  EXPECT_TRUE(isValidGame(repository, app->settings, repository.games()[2]));
  app->settings.validGmDelta = 351;
  EXPECT_TRUE(isValidGame(repository, app->settings, repository.games()[0]));
  app->settings.use300ptRule = false;
  app->settings.validGmDelta = 300;
  EXPECT_TRUE(isValidGame(repository, app->settings, repository.games()[0]));
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
  // All draws: the first iteration already gives the final ratings; every later variation is 0,
  // which is not lower than the one before.
  const std::string printed =
      rate(games(2, "A", "B", "1/2-1/2") + games(2, "B", "C", "1/2-1/2") + games(2, "C", "A", "1/2-1/2"));
  EXPECT_NE(printed.find("\r> 1 iteration(s), 0 correction(s), var = 0.000000, stab. factor = 0 {10}  \r"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("\r> 11 iteration(s), 0 correction(s), var = 0.000000, stab. factor = 10 {10}  \n"),
            std::string::npos)
      << printed;
  EXPECT_EQ(printed.find("12 iteration(s)"), std::string::npos);
  EXPECT_EQ(player("B").rating, 2275);
}

TEST_F(Ratings, ThreePlayersIterateUpToTheMaximum) {
  app->settings.minNbGm = 1;
  app->settings.maxIterations = 3;
  const std::string printed = rate(threePlayers());
  EXPECT_NE(printed.find("\r> 3 iteration(s)"), std::string::npos);
  EXPECT_EQ(printed.find("4 iteration(s)"), std::string::npos);
}

TEST_F(Ratings, AClusterWithoutEnoughGamesIsReportedAndTheOthersAreListed) {
  app->settings.minNbGm = 3;
  const std::string printed = rate(games(3, "A", "B", "1-0") + games(2, "C", "D", "1-0"));
  EXPECT_NE(printed.find("> no players or insufficent games per player in cluster 3\n"), std::string::npos)
      << printed;
  EXPECT_EQ(dir.read("rating.txt"), header(1, 3) +
                                        "1.A :\t\t\telo=2613, x=2275, sc=3/3\n"
                                        "2.B :\t\t\telo=1937, x=2275, sc=0/3\n"
                                        "\n" +
                                        header(3, 3) + "\n");
}

TEST_F(Ratings, NoIterationsLeaveThePlayersUnlisted) {
  app->settings.minNbGm = 1;
  app->settings.maxIterations = 0;
  rate(games(2, "A", "B", "1-0"));
  EXPECT_EQ(dir.read("rating.txt"), header(1, 1, 0) + "\n");
}

TEST_F(Ratings, AFileWithoutGamesSucceedsWithoutAList) {
  const std::string printed = rate("just some text\n");
  EXPECT_NE(printed.find("> 0 games scanned\n"), std::string::npos);
  EXPECT_FALSE(dir.exists("rating.txt"));
}

TEST(EloWithoutAFile, SaysThereIsNoFile) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  EXPECT_NE(test::run(*app, "elo").find("> no PGN file in memory\n"), std::string::npos);
}

}  // namespace
}  // namespace kestrova
