#include "rating/rating_commands.hpp"

#include <gtest/gtest.h>

#include "pgn/tag_table.hpp"
#include "rating/game_text.hpp"
#include "rating/rating_repository.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

using test::games;

class RatingCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    app->settings.minNbGm = 4;
    for (int tag : {kTagWhite, kTagBlack, kTagResult, kTagWhiteElo, kTagBlackElo}) {
      app->game.tags.setOutputEnabled(tag, true);
    }
  }
  std::string open(const std::string& pgn) {
    dir.write("games.pgn", pgn);
    EXPECT_TRUE(app->pgn.open("games.pgn"));
    return pgn;
  }

  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

TEST_F(RatingCommands, GiveloWritesTheRatingsAndLeavesUnratedPlayersTheirOwnElo) {
  // A 75 % against B (2371 / 2179); C has one game, below the minimum of 4, and keeps its tag.
  open(games(2, "A", "B", "1-0") + games(2, "B", "A", "1/2-1/2") +
       "[White \"C\"]\n[Black \"A\"]\n[Result \"0-1\"]\n[WhiteElo \"2500\"]\n[BlackElo \"1\"]\n\n1. e4 e5 0-1\n\n");
  const std::string printed = test::run(*app, "givelo -out=rated.pgn");
  EXPECT_EQ(printed.find("\n> processing...\n"), 0u) << printed;
  EXPECT_NE(printed.find("see rated.pgn file\n"), std::string::npos);
  const std::string rated = dir.read("rated.pgn");
  EXPECT_EQ(rated.find("[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n[WhiteElo \"2371\"]\n[BlackElo \"2179\"]\n"),
            0u)
      << rated;
  EXPECT_NE(rated.find("[White \"C\"]\n[Black \"A\"]\n[Result \"0-1\"]\n[WhiteElo \"2500\"]\n[BlackElo \"2371\"]\n"),
            std::string::npos)
      << rated;
  EXPECT_TRUE(dir.exists("rating.txt"));
  EXPECT_EQ(app->ratings.playerCount(), 0u) << "givelo releases the repository";
}

TEST_F(RatingCommands, GiveloWithoutResultsWritesNoGames) {
  open(games(4, "A", "B", "1-0") + games(1, "A", "B", "*"));
  const std::string printed = test::run(*app, "givelo");
  EXPECT_NE(printed.find("> Game without result. Probing aborted\n"), std::string::npos);
  EXPECT_EQ(printed.find("see pgn-out.pgn file"), std::string::npos);
  EXPECT_EQ(dir.read("pgn-out.pgn"), "");
}

TEST_F(RatingCommands, NeitherCommandOverwritesTheOpenFile) {
  const std::string pgn = open(games(4, "A", "B", "1-0"));
  test::run(*app, "elo -out=games.pgn");
  EXPECT_EQ(dir.read("games.pgn"), pgn);
  test::run(*app, "givelo -out=games.pgn");
  EXPECT_EQ(dir.read("games.pgn"), pgn);
  EXPECT_FALSE(dir.exists("rating.txt"));
}

TEST_F(RatingCommands, OpeningAnotherFileMakesTheDataStale) {
  open(games(4, "A", "B", "1-0"));
  test::run(*app, "elo");
  EXPECT_TRUE(app->ratings.isFilledFrom(app->pgn.generation()));
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  EXPECT_FALSE(app->ratings.isFilledFrom(app->pgn.generation()));
}

}  // namespace
}  // namespace kestrova
