// The synthesis page through the whole program: each reported game's chart, with the evaluations,
// the report marks and the links worked out by hand from the chart's frame (the plot spans x 40 to
// 630, y 10 to 160; the evaluation for White runs from +500 cp at the top to -500 cp at the bottom).
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/harness.hpp"
#include "support/text.hpp"

namespace kestrova::e2e {
namespace {

using test::has;

TEST(SynthesisEndToEnd, EachReportedGameGetsItsChartWithEveryReportMarkedAtItsHalfMove) {
  Session session;
  session.withDefaultData("minNbGm=1\n").withFile(
      "g.pgn", "[Event \"E\"]\n[White \"A\"]\n[Black \"B<&>\"]\n[Result \"1-0\"]\n\n"
               "1. e4 {+0.30/10 1s} e5 {-0.20/3 1s} 2. Nf3 {+0.25/12 1s} Nc6 {-0.20/12 1s} 1-0\n\n");
  const RunResult run = session.run(words("open g.pgn syn"));
  EXPECT_TRUE(has(run.output, "see synthesis.txt file\nsee synthesis.html file\n")) << run.output;
  const std::string page = run.file("synthesis.html");
  EXPECT_TRUE(has(page, "<h3>Game 1: A - B&lt;&amp;&gt;, 1-0</h3>"));
  // Four half-moves at x = 40 + (ply - 1) * 590 / 3; Black's -20 is +20 for White: y = 85 - 20 * 75 / 500.
  EXPECT_TRUE(has(page, "points=\"40,81 236,82 433,82 630,82 \"")) << page;
  // The low depth of 1...e5 (depth 3 < 5), the report's link and its mark at the second half-move.
  EXPECT_TRUE(has(page, "<li><a href=\"#g1-r1\">1: [b] LowDepth (3) before 1...e5 "));
  EXPECT_TRUE(has(page, "<line id=\"g1-r1\" x1=\"236\" y1=\"10\" x2=\"236\" y2=\"160\""));
  // The two rated players on the ratings chart; A won the only game, so neither error has a bound.
  EXPECT_TRUE(has(page, "<circle") && has(page, "<title>B&lt;&amp;&gt;: ") && has(page, ", error without bound</title>"));
  // A page every browser reads: the tags nest, and python3's parser meets no error.
  const std::string check = "python3 -c \"import sys, html.parser\n"
                            "class P(html.parser.HTMLParser):\n"
                            "  def __init__(s): super().__init__(); s.open = []\n"
                            "  def handle_starttag(s, t, a): s.open += [] if t == 'meta' else [t]\n"
                            "  def handle_endtag(s, t): assert s.open.pop() == t, t\n"
                            "p = P(); p.feed(open(sys.argv[1], encoding='utf-8').read()); assert not p.open\" '" +
                            (run.directory / "synthesis.html").string() + "'";
  EXPECT_EQ(std::system(check.c_str()), 0);
}

}  // namespace
}  // namespace kestrova::e2e
