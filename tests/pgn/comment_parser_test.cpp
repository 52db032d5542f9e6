// Engine evaluations, depths and thinking times read out of movetext comments.
#include "pgn/comment_parser.hpp"

#include "pgn_support.hpp"

namespace kestrova::test {
namespace {

constexpr int kSaturated = 999999999;

// The comment parsed for ply 6, a Black move, after plies 4 and 5 with equal mate scores (mate in 5:
// 9100), when an earlier comment of ply 6 gave `earlier` milliseconds: evaluation, depth, time, the
// number of evaluations read, the mate as announced (-1000: none), the time's decimals, the numbers of
// depths and times read, the previous ply's evaluation (a mate may correct it), where the comment ends.
std::vector<long> parse(const std::string& comment, int earlier = 0, decltype(&parseComment) parser = parseComment) {
  Game game;
  game.plies[4].evaluation = -9100;
  game.plies[5].evaluation = 9100;
  game.plies[6].timeMs = earlier;
  const std::size_t end = parser(game, 6, comment);
  const PlyRecord& r = game.plies[6];
  return {r.evaluation,      r.depth,         r.timeMs, game.evaluationCount, r.evaluationIsMate ? r.mate : -1000,
          r.timeDecimals,    game.depthCount, game.timeCount, r.evaluationPresent, game.plies[5].evaluation,
          static_cast<long>(end)};
}

// The engine form "{+0.35/12 5s}" is read straight through; the general parser must read it and
// every form near it the same, so each comment is read both ways.
TEST(CommentParser, ReadsEvaluationDepthAndTime) {
  std::string million = "{1";  // a number run of a million characters
  for (int i = 0; i < 333333; ++i) million += ",11";
  const struct { std::string comment; std::vector<long> read; } cases[] = {  // the first values of parse()
      {"{+0.35/12 5s} e5", {35, 12, 5000, 1, -1000, 0}},   {"{-1.20/15 12}", {-120, 15, 12000, 1}},
      {"{+0.20/15 0.041s}", {20, 15, 41, 1, -1000, 3}},    {"{12.07/1 300s}", {1207, 1, 300000, 1}},
      {"{+0.35/12 1.5s}", {35, 12, 1500, 1, -1000, 1}},    {"{+0.35/12 0.0415s}", {35, 12, 41, 1, -1000, 3}},  // cut
      {"{+0.35/12 0.5}", {35, 12, 0, 1}},  // bare seconds are whole ones
      {"{-0.00/40 1}", {0, 40, 1000, 1}},                 {"{+1.5/10}", {0, 10, 0, 0}},  // one decimal is no evaluation
      {"{+M3/20 1s}", {9500, 20, 1000, 1, 3}},  {"{-M2/18 0.5s}", {-9700, 18, 500, 1, -2, 1}},  // 10100 - 200 n
      {"{0.00/7 1m 3s}", {0, 7, 63000, 1}},               {"{+0.35/12 0.043s, White mates}", {35, 12, 43, 1}},
      {"{+0.35/12 5s}}", {35, 12, 5000, 1}},              {"{+0.35 /12 5s}", {35, 0, 5000, 1}},
      {"{+0.35/12 5 s}", {35, 12, 5000, 1}},
      {"{[%eval 35,14] [%emt 0:00:05.12]}", {-35, 14, 5120, 1, -1000, 2}},  // White's point of view; ply 6 is Black's
      {"{[%eval -32766,9]}", {9900, 9, 0, 1, 1}},  // 32767 - n: White mated in 1, so Black mates in 1
      {"{[%clk 1:02:03]}", {0, 0, 3723000, 0}},
      {"{1,11,11,11}", {1111111, 0, 0, 3}},   // each pair of digits after a comma qualifies
      {"{+1.25-3.50}", {-125350, 0, 0, 2}},   // a minus anywhere makes the run negative
      {"{+0.35 -1.20}", {-120, 0, 0, 2}},     // the later run stays
      {million + "}", {111111111, 0, 0, 333333}},  // digits taken up to the ninth
      // Huge numbers saturate instead of overflowing.
      {"{+M311111111/20}", {-kSaturated, 20, 0, 1}}, {"{-M311111111/20}", {kSaturated, 20, 0, 1}},
      {"{+0.35/12 99999999999m}", {35, 12, kSaturated, 1}}, {"{+0.35/12 999999999s 9999s}", {35, 12, kSaturated, 1}},
      {"{[%emt 9:99999999999:99]}", {0, 0, kSaturated, 0}},
  };
  for (const auto& c : cases) {
    const std::vector<long> read = parse(c.comment);
    EXPECT_EQ(std::vector(read.begin(), read.begin() + c.read.size()), c.read) << c.comment.substr(0, 40);
    EXPECT_EQ(read, parse(c.comment, 0, parseCommentFully)) << c.comment.substr(0, 40);
  }
  for (const char* nearForm : {"{+999999.99/99999999 99999999s}", "{+0.35/12 0.04}", "{+1.234/12 5s}", "{+0.35/12 5m}",
                               "{+1234567.89/12 5s}", "{+0.35/123456789 5s}", "{+0.35/12 123456789s}", "{+0.35/12 5s",
                               "{+0.35/12}", "{-0.35/12 5.s}", "{+0,35/12 5s}", "{+0.35/12 5s)", "{", "{+.35/12 5s}"}) {
    EXPECT_EQ(parse(nearForm, kSaturated - 9), parse(nearForm, kSaturated - 9, parseCommentFully)) << nearForm;
  }
  EXPECT_EQ(parse("{+0.35/12 5s}", 7000)[2], 12000) << "added to an earlier comment's time";
  EXPECT_EQ(parse("{+0.35/12 5s}", kSaturated - 1)[2], kSaturated);
  EXPECT_EQ(parse("{+M4/20 1s}")[9], 9200) << "mate in 5 twice, then in 4: the middle one moves 100 out";
  EXPECT_EQ(std::vector({mateScore(0), mateScore(2147483647), mateScore(-2147483647 - 1)}),
            std::vector({10000, -kSaturated, kSaturated}));
}

}  // namespace
}  // namespace kestrova::test
