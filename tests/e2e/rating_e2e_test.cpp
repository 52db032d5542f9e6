// Ratings end to end: elo writes the list, givelo writes the ratings into the games.
#include <gtest/gtest.h>

#include "e2e/harness.hpp"
#include "rating/game_text.hpp"

namespace kestrova::e2e {
namespace {

const std::string kConfiguration =
    "minNbGm=1\nprintCmt=0\n\n[OutputEnabledTags]\n[Event\n[White\n[Black\n[Result\n[WhiteElo\n[BlackElo\n\n";

// A scores 75 % against B: 2275 + 96 and 2275 - 96.
std::string twoEngines() {
  return test::games(2, "A", "B", "1-0") + test::games(2, "B", "A", "1/2-1/2");
}

TEST(RatingEndToEnd, EloWritesTheListAndGiveloTheTags) {
  Session session;
  session.withDefaultData().withFile("kestrova.ini", kConfiguration).withFile("games.pgn", twoEngines());
  const RunResult run =
      session.run({"open", "games.pgn", "elo", "-out=list.txt", "givelo", "-out=rated.pgn"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.file("list.txt"),
            "made by Kestrova 0.92 \nstarting elo : 2275\nmaximum iterations : 200\nminimal number of games : 1\n"
            "cluster : 1\n\n1.A :\t\t\telo=2371, x=2275, sc=3/4\n2.B :\t\t\telo=2179, x=2275, sc=1/4\n\n");
  EXPECT_EQ(run.file("rating.txt"), run.file("list.txt")) << "givelo writes rating.txt";
  EXPECT_NE(run.output.find("> rating list saved in list.txt\n"), std::string::npos);
  EXPECT_NE(run.output.find("see rated.pgn file\n"), std::string::npos);
  const std::string rated = run.file("rated.pgn");
  EXPECT_EQ(rated.find("[Event \"Test\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n"
                       "[WhiteElo \"2371\"]\n[BlackElo \"2179\"]\n\n1.e4 e5 2.Nf3 Nc6 1-0\n"),
            0u)
      << rated;
  EXPECT_NE(rated.find("[White \"B\"]\n[Black \"A\"]\n[Result \"1/2-1/2\"]\n[WhiteElo \"2179\"]\n"
                       "[BlackElo \"2371\"]\n"),
            std::string::npos);
}

TEST(RatingEndToEnd, AGameWithoutResultWritesNoList) {
  Session session;
  session.withDefaultData().withFile("kestrova.ini", kConfiguration).withFile("games.pgn", twoEngines() + test::games(1, "A", "B", "*"));
  const RunResult run = session.run({"open", "games.pgn", "elo"});
  EXPECT_NE(run.output.find("> Game without result. Probing aborted\n"), std::string::npos);
  EXPECT_FALSE(run.hasFile("rating.txt"));
}

}  // namespace
}  // namespace kestrova::e2e
