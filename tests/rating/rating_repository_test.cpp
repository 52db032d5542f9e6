#include "rating/rating_repository.hpp"

#include <gtest/gtest.h>

#include "rating/game_text.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

using test::GameTags;
using test::gameText;

TEST(GameScore, KnownResultsAndEverythingElse) {
  struct Case {
    const char* result;
    int white;
    int black;
  };
  const Case cases[] = {
      {"1-0", 100, 0},     {"0-1", 0, 100},     {"1/2-1/2", 50, 50}, {"1/2", 50, 50},  {"0.5-0.5", 50, 50},
      {"0,5-0,5", 50, 50}, {"1-", -1, -1},      {"*", -1, -1},       {"", -1, -1},     {"2-0", -1, -1},
      {"1:0", -1, -1},     {"1-0 (time)", 100, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gameScore(1, c.result), c.white) << c.result;
    EXPECT_EQ(gameScore(0, c.result), c.black) << c.result;
  }
}

class Filling : public ::testing::Test {
 protected:
  std::string fill(const std::string& pgn) {
    dir.write("games.pgn", pgn);
    EXPECT_TRUE(app->pgn.open("games.pgn"));
    app->console.takeCaptured();
    filled = fillRepository(*app);
    return app->console.takeCaptured();
  }
  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
  bool filled = false;
};

TEST_F(Filling, NewPlayersGoToTheHeadWithTheNextClusterNumber) {
  fill(gameText({"A", "B", "1-0"}) + gameText({"C", "A", "0-1"}) + gameText({"B", "C", "1/2-1/2"}));
  ASSERT_TRUE(filled);
  const RatingRepository& repository = app->ratings;
  std::vector<std::string> names;
  std::vector<int> clusters;
  for (std::uint32_t p : repository.playerList()) {
    names.push_back(repository.player(p).name);
    clusters.push_back(repository.player(p).cluster);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"C", "B", "A"}));
  EXPECT_EQ(clusters, (std::vector<int>{3, 2, 1}));
  ASSERT_EQ(repository.games().size(), 3u);
  const RatedGame& second = repository.games()[1];
  EXPECT_EQ(repository.player(second.white).name, "C");
  EXPECT_EQ(second.whiteScore, 0);
  EXPECT_EQ(second.blackScore, 100);
  EXPECT_EQ(repository.site(second), "Lab");
  EXPECT_EQ(findPlayer(repository, "A")->games, 2);
  EXPECT_EQ(findPlayer(repository, "a"), nullptr) << "names are case-sensitive";
}

TEST_F(Filling, EventGroupsFollowTheEventAndRisingRounds) {
  fill(gameText({"A", "B", "1-0", "Cup", 1, "2024.01.01", "2023.12.30"}) +  // group 1
       gameText({"B", "A", "1-0", "Cup", 1}) +                             // same round: same group
       gameText({"A", "B", "1-0", "Cup", 3}) +                             // rising
       gameText({"A", "B", "1-0", "Cup", 2}) +                             // drop: group 2
       gameText({"A", "B", "1-0", "Open", 5, "2024.05.05"}) +              // other event: group 3
       gameText({"A", "B", "1-0", "Cup", 9}) +                             // back to Cup: group 4
       gameText({"A", "B", "1-0", "Cup", 65535}) + gameText({"A", "B", "1-0", "Cup", 65536}));  // no 16-bit wrap
  ASSERT_TRUE(filled);
  const RatingRepository& repository = app->ratings;
  ASSERT_EQ(repository.groups().size(), 4u);
  EXPECT_EQ(repository.groups()[0].date, "2023.12.30") << "EventDate first";
  EXPECT_EQ(repository.groups()[1].date, "2024.01.01") << "then Date";
  EXPECT_EQ(repository.groups()[2].event, "Open");
  EXPECT_EQ(repository.groups()[2].date, "2024.05.05");
  EXPECT_EQ(repository.groups()[3].number, 4);
  std::vector<std::uint32_t> groups;
  for (const RatedGame& game : repository.games()) groups.push_back(game.group);
  EXPECT_EQ(groups, (std::vector<std::uint32_t>{0, 0, 0, 1, 2, 3, 3, 3}));
}

TEST_F(Filling, ReportsSkippedGamesCountsAndTime) {
  const std::string printed =
      fill(gameText({"A", "B", "1-0"}) + "[Event \"x\"]\n\nthis is not movetext\n\n" + gameText({"B", "A", "0-1"}));
  EXPECT_TRUE(filled);
  EXPECT_NE(printed.find("> filling repository\n"), std::string::npos);
  EXPECT_NE(printed.find("> 2: game skipped\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("> 2 games scanned\n> process time : 0s\n"), std::string::npos) << printed;
  EXPECT_TRUE(app->ratings.isFilledFrom(app->pgn.generation()));
}

TEST_F(Filling, ProgressAfterEverySixtyFourthGame) {
  std::string pgn;
  for (int i = 0; i < 130; ++i) pgn += gameText({"A", "B", "1-0"});
  const std::string printed = fill(pgn);
  EXPECT_NE(printed.find("> scanning game 64\r> scanning game 128\r"), std::string::npos) << printed;
}

TEST_F(Filling, AGameWithoutResultOrTooLargeEndsTheFillWithAnEmptyRepository) {
  const std::string printed = fill(gameText({"A", "B", "1-0"}) + gameText({"A", "B", ""}));
  EXPECT_FALSE(filled);
  EXPECT_NE(printed.find("> Game without result. Probing aborted\n"), std::string::npos);
  EXPECT_FALSE(app->ratings.isFilled());
  EXPECT_EQ(findPlayer(app->ratings, "A"), nullptr);
  fill(gameText({"A", "B", "1-0"}) + "[Event \"x\"]\n[Result \"1-0\"]\n\n1. e4 " + std::string(40000, 'x') + "\n\n");
  EXPECT_FALSE(filled);
  EXPECT_FALSE(app->ratings.isFilled());
}

TEST(FillingWithoutAFile, SaysThereIsNoFile) {
  auto app = test::makeApp();
  EXPECT_FALSE(fillRepository(*app));
  EXPECT_EQ(app->console.takeCaptured(), "> no PGN file in memory\n");
}

}  // namespace
}  // namespace kestrova
