// Comments found by fuzzing and by the hostile files: numbers too large for an int, long runs of
// number characters, and many comments before the first move.
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

TEST(CommentNumbers, MateDistanceBeyondAnyGameSaturatesInsteadOfOverflowing) {
  // 10100 - 200 * 311111111 lies far below the int range: the score stops at -999999999.
  EXPECT_EQ(parse("{+M311111111/20}").evaluation, -kSaturated);
  EXPECT_EQ(parse("{-M311111111/20}").evaluation, kSaturated);
  EXPECT_EQ(mateScore(2147483647), -kSaturated);
  EXPECT_EQ(mateScore(-2147483647 - 1), kSaturated);
  // Ordinary distances keep the formula: 10100 - 200 * 25.
  EXPECT_EQ(mateScore(25), 5100);
  EXPECT_EQ(mateScore(-25), -5100);
}

TEST(CommentNumbers, ThinkingTimesSaturateInsteadOfOverflowing) {
  EXPECT_EQ(parse("{+0.35/12 99999999999m}").time, kSaturated);
  EXPECT_EQ(parse("{+0.35/12 999999999s 999999999s}").time, kSaturated);
  EXPECT_EQ(parse("{+0.35/12 999999999 999999999}").time, kSaturated);
  EXPECT_EQ(parse("{[%emt 9:99999999999:99]}").time, kSaturated);
  // Ordinary values are untouched: 2 minutes and 3 seconds, and a clock of 1:02:03.
  EXPECT_EQ(parse("{+0.11/9 2m 3s}").time, 123);
  EXPECT_EQ(parse("{[%clk 1:02:03]}").time, 3723);
}

TEST(CommentNumbers, EveryPositionOfALongNumberRunReadsTheWholeRun) {
  // "1,11,11,11" qualifies as a decimal evaluation at each of its three pairs of digits, and each
  // reads the run from its start without the commas: 1111111.
  const Parsed run = parse("{1,11,11,11}");
  EXPECT_EQ(run.evaluation, 1111111);
  EXPECT_EQ(run.evaluations, 3);
  // A minus anywhere in the run makes it negative: +1.25-3.50 reads -125350, twice.
  const Parsed signedRun = parse("{+1.25-3.50}");
  EXPECT_EQ(signedRun.evaluation, -125350);
  EXPECT_EQ(signedRun.evaluations, 2);
  // Two runs are two numbers: the later one stays.
  const Parsed two = parse("{+0.35 -1.20}");
  EXPECT_EQ(two.evaluation, -120);
  EXPECT_EQ(two.evaluations, 2);
}

TEST(CommentNumbers, ARunOfAMillionCharactersIsReadAsOneNumber) {
  std::string comment = "{1";
  for (int i = 0; i < 333333; ++i) comment += ",11";
  comment += "}";
  const Parsed run = parse(comment);
  EXPECT_EQ(run.evaluation, 111111111) << "digits are taken up to the ninth";
  EXPECT_EQ(run.evaluations, 333333);
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

TEST_F(CommentStoring, TheLastCommentOfAHalfMoveIsTheOneKept) {
  load("{a} {b} 1.e4 {x} (1.d4 d5) {y} e5 *");
  EXPECT_EQ(game.plyCount, 2);
  EXPECT_EQ(comment(0), "b");
  EXPECT_EQ(comment(1), "y");
  EXPECT_EQ(comment(2), "");
}

TEST_F(CommentStoring, ACommentBeforeTheFirstMoveKeepsItsNestedBrackets) {
  // The tokenizer leaves the comment at its first "}" and stops at the second; the stored text
  // still runs to the matching bracket.
  load("{b {c}} 1.e4 *");
  EXPECT_EQ(game.plyCount, 0);
  EXPECT_EQ(comment(0), "b {c}");
}

TEST_F(CommentStoring, ManyNestedCommentsBeforeTheFirstMoveAreEachLeftAtTheirFirstBrace) {
  // "{{ }" opens two and closes one: a copy runs to the end of the movetext, the tokenizer goes
  // on after the "}". Of 100,000 such comments (in lines of 1,000) the last one is kept.
  std::string movetext;
  for (int i = 1; i <= 100000; ++i) movetext += i % 1000 == 0 ? "{{ }\n" : "{{ } ";
  load(movetext + "1.e4 *");
  ASSERT_EQ(game.plyCount, 1);
  EXPECT_EQ(std::string(game.plies[1].san), "e4");
  EXPECT_EQ(comment(0), "{ } 1.e4 * ");
}

}  // namespace
}  // namespace kestrova
