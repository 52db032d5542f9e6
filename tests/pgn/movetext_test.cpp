#include "pgn/movetext.hpp"

#include <gtest/gtest.h>

#include "pgn/comment_parser.hpp"
#include "pgn/game.hpp"
#include "pgn/pgn_file.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

// Loads one game given as header and movetext through the reader, as every command does.
class Loading : public ::testing::Test {
 protected:
  int load(const std::string& header, const std::string& movetext, int printCmt = 0) {
    dir.write("g.pgn", (header.empty() ? "[Event \"T\"]\n" : header) + "\n" + movetext + "\n\n");
    pgn.create(console, 30000, 5000, 30000);
    EXPECT_TRUE(pgn.open("g.pgn"));
    EXPECT_EQ(pgn.readNextGame(console), PgnFile::kGame);
    console.takeCaptured();
    return loadGame(game, pgn, console, printCmt, true);
  }
  std::string san(int ply) const { return game.plies[ply].san; }
  std::string comment(int ply) const { return std::string(game.comments.text(ply)); }

  test::ScratchDir dir;
  Console console = Console::capturing();
  PgnFile pgn;
  Game game;
};

TEST(ResultScore, FollowsTheResultText) {
  for (const auto& [text, score] : {std::pair{"1-0", 100}, {"1/2-1/2", 50}, {"0.5-0.5", 50}, {"0,5-0,5", 50},
                                    {"0-1", 0}, {"*", 0}, {"", 0}}) {
    EXPECT_EQ(resultScoreOf(text), score) << text;
  }
}

TEST_F(Loading, TagsByPrefixWithoutRegardToCase) {
  load("[event \"Lower\"]\n[WhiteElo \"2800\"]\n[White \"A\"]\n[Eventx \"no\"]\n[Result \"1/2-1/2\"]\n"
       "[Site \"" + std::string(80, 's') + "\"]\n",
       "1. e4 1/2-1/2");
  EXPECT_EQ(game.tags.value(kTagEvent), "Lower");
  EXPECT_EQ(game.tags.value(kTagWhiteElo), "2800");
  EXPECT_EQ(game.tags.value(kTagWhite), "A");
  EXPECT_EQ(game.tags.value(kTagSite), std::string(69, 's'));
  EXPECT_EQ(game.resultScore, 50);
}

TEST_F(Loading, MovesAndEngineComment) {
  EXPECT_EQ(load("[Result \"1-0\"]\n", "1.e4 e5 2.Nf3 {+0.35/12 5s} Nc6 1-0"), 1);
  ASSERT_EQ(game.plyCount, 4);
  EXPECT_EQ(san(4), "Nc6");
  EXPECT_EQ(game.plies[3].evaluation, 35);
  EXPECT_EQ(game.plies[4].evaluationPresent, 0);
  EXPECT_EQ(game.evaluationCount, 1);
  EXPECT_EQ(game.resultScore, 100);
}

TEST_F(Loading, GlyphsAndVariationsAreSkippedAndVariationsStoredAsComments) {
  load("", "1. e4 $1 e5 (1... c5) 2. Nf3 *", 1);
  ASSERT_EQ(game.plyCount, 3);
  EXPECT_EQ(san(3), "Nf3");
  EXPECT_EQ(comment(2), "1... c5");
  load("", "1. e4 $1 e5 (1... c5) 2. Nf3 *", 0);
  EXPECT_EQ(comment(2), "") << "kept only when printCmt is 1";
}

TEST_F(Loading, CommentFormats) {
  struct Case {
    const char* comment;
    int evaluation, depth, time, present;
  };
  const Case cases[] = {
      {"{+0.35/12 5s}", 35, 12, 5, 1},
      {"{-1.20/15 12}", -120, 15, 12, 1},
      {"{+M3/20 1s}", 9500, 20, 1, 1},
      {"{-M2/18 0.5s}", -9700, 18, 0, 1},
      {"{+1.5/10}", 0, 10, 0, 0},  // one decimal is not an evaluation
      {"{0.00/7 1m 3s}", 0, 7, 63, 1},
      {"{[%eval 35,12] [%emt 0:00:05]}", 35, 12, 5, 1},
      {"{+0.35/12 0.043s, White mates}", 35, 12, 0, 1},
  };
  for (const Case& c : cases) {
    load("", std::string("1.e4 ") + c.comment + " e5 *");
    SCOPED_TRACE(c.comment);
    EXPECT_EQ(game.plies[1].evaluation, c.evaluation);
    EXPECT_EQ(game.plies[1].depth, c.depth);
    EXPECT_EQ(game.plies[1].time, c.time);
    EXPECT_EQ(game.plies[1].evaluationPresent, c.present);
  }
}

TEST_F(Loading, BracketedEvaluationIsWhitesPointOfView) {
  load("", "1.e4 {[%eval 35,12]} e5 {[%eval 35,14]} *");
  EXPECT_EQ(game.plies[1].evaluation, 35);
  EXPECT_EQ(game.plies[2].evaluation, -35);
  EXPECT_EQ(game.plies[2].depth, 14);
  // Mates come as 32767 - n from White's point of view.
  load("", "1.e4 {[%eval 32765,12]} e5 {[%eval -32766,9]} *");
  EXPECT_EQ(game.plies[1].evaluation, mateScore(2));
  EXPECT_EQ(game.plies[2].evaluation, mateScore(1)) << "Black mates: positive for the mover";
}

TEST_F(Loading, MateNeighbourCorrection) {
  // Plies 3 and 4 both announce mate in 3, ply 5 mate in 2: ply 4 saw one move less, 100 further.
  load("", "1.e4 e5 2.d4 {+M3/20 1s} d5 {-M3/20 1s} 3.c4 {+M2/20 1s} *");
  EXPECT_EQ(game.plies[3].evaluation, mateScore(3));
  EXPECT_EQ(game.plies[5].evaluation, mateScore(2));
  EXPECT_EQ(game.plies[4].evaluation, -mateScore(3) - 100);
  EXPECT_EQ(mateScore(0), 10000);
}

TEST_F(Loading, TokenizerStops) {
  const std::pair<const char*, int> cases[] = {
      {"1.e4 e5\t2.Nf3 *", 1},               // a tab ends the movetext
      {"1.e4{+0.35/12 5s} e5 *", 0},         // a comment glued to a move ends it, the move not stored
      {"1.e4 e5 2.0-0 Nf6 *", 2},            // castling with zeros
      {"1.e4 e5 2.Nf3 1/2-1/2", 3},
  };
  for (const auto& [movetext, plies] : cases) {
    load("", movetext);
    EXPECT_EQ(game.plyCount, plies) << movetext;
  }
}

TEST_F(Loading, CommentBeforeTheFirstMoveIsNotRead) {
  load("", "{+5.00/30 9s} 1.e4 {+0.35/12 5s} e5 *", 1);
  EXPECT_EQ(game.plies[0].evaluation, 0);
  EXPECT_EQ(comment(0), "+5.00/30 9s");
  EXPECT_EQ(game.plies[1].evaluation, 35);
  EXPECT_EQ(game.evaluationCount, 1);
}

TEST_F(Loading, TooManyHalfMovesKeepsTheFirst799) {
  std::string moves;
  for (int i = 1; i <= 405; ++i) moves += std::to_string(i) + ".Nf3 Nf6 ";
  EXPECT_EQ(load("", moves + "*"), 0);
  EXPECT_EQ(game.plyCount, 799);
  EXPECT_EQ(console.takeCaptured(), "> 1: this game exceeds the allocated memory size (800 half moves max)\n");
}

TEST_F(Loading, OverlongTokenIsCut) {
  load("", "1.e4 e5xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx Nf3 *");
  ASSERT_EQ(game.plyCount, 3);
  EXPECT_EQ(san(2).size(), 19u);
  EXPECT_EQ(san(3), "Nf3");
}

}  // namespace
}  // namespace kestrova
