// The engine comment form read straight through, and the general parser for everything else.
#include "pgn/comment_parser.hpp"

#include <gtest/gtest.h>

#include <string>

#include "pgn/game.hpp"

namespace kestrova {
namespace {

struct Outcome {
  std::size_t end;
  int evaluation, depth, time, present, evaluations, depths, times;
  int neighbour;  // the previous ply's evaluation, which a mate score may correct
  bool operator==(const Outcome&) const = default;
};

// Parses the comment for ply 6 of a game whose ply 6 already holds `earlierTime` seconds (from a
// comment before it for the same half-move) and whose two previous plies hold equal mate scores.
Outcome parse(const std::string& comment, int earlierTime = 0,
              std::size_t (*parser)(Game&, int, std::string_view) = parseComment) {
  Game game;
  game.plies[4].evaluation = -9100;
  game.plies[5].evaluation = 9100;
  game.plies[6].time = earlierTime;
  const std::size_t end = parser(game, 6, comment);
  const PlyRecord& r = game.plies[6];
  return {end, r.evaluation, r.depth, r.time, r.evaluationPresent, game.evaluationCount, game.depthCount,
          game.timeCount, game.plies[5].evaluation};
}

TEST(EngineComment, EvaluationDepthAndWholeSeconds) {
  const struct {
    std::string comment;
    Outcome expected;
  } cases[] = {
      {"{+0.35/12 5s} e5", {13, 35, 12, 5, 1, 1, 1, 1, 9100}},
      {"{-1.20/15 12}", {13, -120, 15, 12, 1, 1, 1, 1, 9100}},
      {"{+0.20/15 0.041s}", {17, 20, 15, 0, 1, 1, 1, 1, 9100}},  // fractions of a second are dropped
      {"{12.07/1 300s}", {14, 1207, 1, 300, 1, 1, 1, 1, 9100}},
      {"{-0.00/40 1}", {12, 0, 40, 1, 1, 1, 1, 1, 9100}},
      {"{+M4/20 1s}", {11, 9300, 20, 1, 1, 1, 1, 1, 9200}},  // the neighbour is a mate one move further
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse(c.comment), c.expected) << c.comment;
  }
  EXPECT_EQ(parse("{+0.35/12 5s}", 7).time, 12) << "adds to an earlier comment's time";
  EXPECT_EQ(parse("{+0.35/12 5s}", 999999998).time, 999999999) << "and saturates";
}

// Everything near the engine form: the general parser's reading is the reference for the form
// too, so that reading it straight through changes no result.
TEST(EngineComment, ReadsLikeTheGeneralParserOnEveryNeighbouringForm) {
  const char* comments[] = {
      "{+0.35/12 5s}", "{-1.20/15 12}", "{+0.20/15 0.041s}", "{0.00/1 1}", "{+999999.99/99999999 99999999s}",
      // one step away from the form, each read by the general parser
      "{+0.35/12 0.04}", "{+0.35/12 0.5}", "{+0.5/12 5s}", "{+1.234/12 5s}", "{+0.35/12 5m}",
      "{+0.35/12 5s, adjudication}", "{+M3/20 1s}", "{+M4/20 1s}", "{-M4/20 1s}", "{+0.35 /12 5s}", "{+0.35/12  5s}",
      "{+1234567.89/12 5s}", "{+0.35/123456789 5s}", "{+0.35/12 123456789s}", "{+0.35/12 5s", "{+0.35/12 5s\n}",
      "{+0.35/12}", "{++0.35/12 5s}", "{-0.35/12 5.s}", "{+0.35/12 5.5}", "{+0.35/12 5ss}", "{+0,35/12 5s}",
      "{+0.35/12 5s)", "{+0.35/12 (5s)}", "{[%eval 35,12] [%emt 0:00:05]}", "{+0.35/12 5\"}", "{}", "{",
      "{+0.35/12 5s}}", "{ +0.35/12 5s}", "{+0.35/ 12 5s}", "{+.35/12 5s}", "{+0.35/12 .5s}", "{+0.35/12 5 s}",
  };
  for (const char* comment : comments) {
    for (int earlierTime : {0, 999999990}) {
      EXPECT_EQ(parse(comment, earlierTime), parse(comment, earlierTime, parseCommentFully)) << comment;
    }
  }
}

}  // namespace
}  // namespace kestrova
