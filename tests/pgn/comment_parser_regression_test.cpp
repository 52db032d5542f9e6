// Comments found by fuzzing and by the hostile files.
#include "pgn/comment_parser.hpp"

#include <gtest/gtest.h>

#include <string>

#include "pgn/game.hpp"
#include "pgn/movetext.hpp"
#include "pgn/pgn_file.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

constexpr int kSaturated = 999999999;

struct Parsed {
  int evaluation;
  int depth;
  int time;
  int evaluations;
};

Parsed parse(const std::string& comment, int ply = 5) {
  Game game;
  parseComment(game, ply, comment);
  const PlyRecord& record = game.plies[ply];
  return {record.evaluation, record.depth, record.time, game.evaluationCount};
}

TEST(CommentNumbers, HugeMateDistancesAndTimesSaturateInsteadOfOverflowing) {
  EXPECT_EQ(parse("{+M311111111/20}").evaluation, -kSaturated);
  EXPECT_EQ(parse("{-M311111111/20}").evaluation, kSaturated);
  EXPECT_EQ(mateScore(2147483647), -kSaturated);
  EXPECT_EQ(mateScore(-2147483647 - 1), kSaturated);
  EXPECT_EQ(mateScore(25), 5100);  // ordinary distances keep 10100 - 200 * n
  EXPECT_EQ(mateScore(-25), -5100);
  for (const char* comment : {"{+0.35/12 99999999999m}", "{+0.35/12 999999999s 999999999s}",
                              "{+0.35/12 999999999 999999999}", "{[%emt 9:99999999999:99]}"}) {
    EXPECT_EQ(parse(comment).time, kSaturated) << comment;
  }
  EXPECT_EQ(parse("{+0.11/9 2m 3s}").time, 123);
  EXPECT_EQ(parse("{[%clk 1:02:03]}").time, 3723);
}

TEST(CommentNumbers, EveryPositionOfANumberRunReadsTheWholeRun) {
  std::string million = "{1";  // a run of a million characters
  for (int i = 0; i < 333333; ++i) million += ",11";
  million += "}";
  const struct {
    std::string comment;
    int evaluation, evaluations;
  } cases[] = {
      {"{1,11,11,11}", 1111111, 3},  // each pair of digits qualifies; commas are dropped
      {"{+1.25-3.50}", -125350, 2},  // a minus anywhere makes the run negative
      {"{+0.35 -1.20}", -120, 2},  // two runs: the later one stays
      {million, 111111111, 333333},  // digits taken up to the ninth
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.comment.substr(0, 20));
    const Parsed run = parse(c.comment);
    EXPECT_EQ(run.evaluation, c.evaluation);
    EXPECT_EQ(run.evaluations, c.evaluations);
  }
}

class CommentStoring : public ::testing::Test {
 protected:
  void load(const std::string& movetext) {
    dir.write("g.pgn", "[Event \"T\"]\n\n" + movetext + "\n\n");
    pgn.create(console, 1 << 20, 65535, 30000);
    ASSERT_TRUE(pgn.open("g.pgn"));
    ASSERT_EQ(pgn.readNextGame(console), PgnFile::kGame);
    loadGame(game, pgn, console, 1, true);
  }
  std::string comment(int ply) const { return std::string(game.comments.text(ply)); }

  test::ScratchDir dir;
  Console console = Console::capturing();
  PgnFile pgn;
  Game game;
};

TEST_F(CommentStoring, TheLastCommentOfAHalfMoveIsKeptWithItsNestedBrackets) {
  load("{a} {b} 1.e4 {x} (1.d4 d5) {y} e5 *");
  EXPECT_EQ(game.plyCount, 2);
  EXPECT_EQ(comment(0), "b");
  EXPECT_EQ(comment(1), "y");
  EXPECT_EQ(comment(2), "");
  load("{b {c}} 1.e4 *");  // the tokenizer stops at the second "}"; the text runs to the matching one
  EXPECT_EQ(game.plyCount, 0);
  EXPECT_EQ(comment(0), "b {c}");
}

TEST_F(CommentStoring, ManyNestedCommentsBeforeTheFirstMoveAreEachLeftAtTheirFirstBrace) {
  // "{{ }" opens two and closes one: the copy runs to the end, the tokenizer goes on after the "}".
  std::string movetext;
  for (int i = 1; i <= 100000; ++i) movetext += i % 1000 == 0 ? "{{ }\n" : "{{ } ";
  load(movetext + "1.e4 *");
  ASSERT_EQ(game.plyCount, 1);
  EXPECT_EQ(std::string(game.plies[1].san), "e4");
  EXPECT_EQ(comment(0), "{ } 1.e4 * ");
}

}  // namespace
}  // namespace kestrova
