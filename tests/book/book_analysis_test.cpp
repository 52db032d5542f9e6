// anabk on a book made by hand, with the scripted engine and with Stockfish.
#include <gtest/gtest.h>

#include <climits>
#include <regex>

#include "book/book_analysis.hpp"
#include "book/evaluation_class.hpp"
#include "book_support.hpp"
#include "engine/engine_lifecycle.hpp"
#include "support/engines.hpp"
#include "support/text.hpp"

namespace kestrova {
namespace {

using test::count, test::has;

// Rare at a threshold of 5: 1.d4 (3), 1.e4 c5 (4) and everything below them, 1.e4 e5 2.Nf3 (2),
// 2.f4 (1). Below 1.d4 4 games are known against its 3: one transposition effect.
const std::vector<test::BookLine> kLines = {
    {"", "e2e4", 10},         {"", "d2d4", 3},          {"e2e4", "e7e5", 6},           {"e2e4", "c7c5", 4},
    {"e2e4 e7e5", "g1f3", 2}, {"e2e4 e7e5", "f2f4", 1}, {"e2e4 e7e5 g1f3", "b8c6", 1}, {"e2e4 c7c5", "g1f3", 4},
    {"e2e4 c7c5 g1f3", "d7d6", 2}, {"d2d4", "d7d5", 3}, {"d2d4", "g8f6", 1}};

// Placement and side of the positions, worked out by hand, with the fixed fields of the list.
const std::string kE4E5Nf3 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b - - 0 0\n";
const std::string kE4E5F4 = "rnbqkbnr/pppp1ppp/8/4p3/4PP2/8/PPPP2PP/RNBQKBNR b - - 0 0\n";
const std::string kE4C5 = "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w - - 0 0\n";
const std::string kD4 = "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b - - 0 0\n";
const std::string kE4E5Nf3Nc6 = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w - - 0 0\n";
const std::string kE4C5Nf3 = "rnbqkbnr/pp1ppppp/8/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R b - - 0 0\n";
const std::string kE4C5Nf3D6 = "rnbqkbnr/pp2pppp/3p4/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R w - - 0 0\n";
const std::string kD4D5 = "rnbqkbnr/ppp1pppp/8/3p4/3P4/8/PPP1PPPP/RNBQKBNR w - - 0 0\n";
const std::string kD4Nf6 = "rnbqkb1r/pppppppp/5n2/8/3P4/8/PPP1PPPP/RNBQKBNR w - - 0 0\n";
const std::string kTags = "[White \"book's line\"]\n[Black \"\"]\n[Result \"*\"]\n";

// The book of the lines, some with a class (line, class), and the engine when one is named.
std::unique_ptr<App> appWithBook(const std::string& input, const std::string& engine = "",
                                 const std::vector<std::pair<int, int>>& classes = {}, const char* mode = "movetime") {
  auto app = test::makeApp(input);
  std::vector<test::BookLine> lines = kLines;
  for (const auto& [line, cls] : classes) lines[line].cmt = cls;
  test::makeBook(*app, lines);
  setenv("KESTROVA_FAKE_ENGINE", mode, 1);
  if (!engine.empty()) startConfiguredEngine(app->engine, engine, {}, app->timers, app->console);
  return app;
}

int cmtOf(App& app, const char* before, const char* move) { return test::bookEntry(app, before, move).cmt; }

TEST(EvaluationClass, BandsOfTheMoversScoreAndSymbolsFromWhitesSide) {
  const std::pair<int, int> cases[] = {{INT_MIN, 1}, {-110, 1}, {-109, 2}, {-45, 2}, {-44, 3}, {-22, 3}, {-21, 4},
                                       {21, 4},      {22, 5},   {44, 5},   {45, 6},   {109, 6}, {110, 7}, {12345, 7}};
  for (const auto& [score, cls] : cases) EXPECT_EQ(evaluationClass(score), cls) << score;
  const char* symbols[] = {"", "-+", "-/+", "-=", "=", "+=", "+/-", "+-", ""};  // k = -4 to 4
  for (int k = -4; k <= 4; ++k) EXPECT_EQ(classSymbol(k), symbols[k + 4]) << k;
}

TEST(Anabk, TreeTaskListsThePositionsOfTheChosenRareRuns) {
  // Options, the positions listed, the nodes and the paths scanned, the depth of the walk.
  const std::tuple<const char*, std::string, int, int, int> cases[] = {
      {"-ply=14 -tsk=list", "", 11, 5, 14},  // the default threshold treats nothing
      {"-occ<5 -rnk=1", kE4E5Nf3 + kE4E5F4 + kE4C5 + kD4, 11, 5, 14},
      {"-occ<5 -rnk=1 -stop", kE4E5Nf3 + kE4E5F4 + kE4C5 + kD4, 6, 4, 14},
      {"-occ<5 -rnk=2", kE4E5Nf3Nc6 + kE4C5Nf3 + kD4D5 + kD4Nf6, 11, 5, 14},
      {"-occ<5 -rnk=3 -ply=300", kE4C5Nf3D6, 11, 5, 99},  // the game takes back no deeper
      {"-occ<5 -rnk=end", kE4E5Nf3Nc6 + kE4E5F4 + kE4C5Nf3D6 + kD4D5 + kD4Nf6, 11, 5, 14},
      // A run of 1 only when the line leaves the book (2.f4), every longer run.
      {"-occ<5 -rnk=all", kE4E5Nf3Nc6 + kE4E5F4 + kE4C5Nf3 + kE4C5Nf3D6 + kD4D5 + kD4Nf6, 11, 5, 14},
      // Three half-moves deep: 2.Nf3 and 2.f4 are reached, nothing below them.
      {"-occ<5 -rnk=1 -ply=3", kE4E5Nf3 + kE4E5F4 + kE4C5 + kD4, 9, 5, 3}};
  for (const auto& [options, tree, nodes, paths, ply] : cases) {
    test::ScratchDir dir;
    const std::string out = test::run(*appWithBook("y\n"), std::string("anabk ") + options);
    EXPECT_EQ(dir.read("tree.epd"), tree) << options;
    const std::string counters = std::to_string(nodes) + " nodes scanned\n- " + std::to_string(paths) + " paths";
    EXPECT_TRUE(has(out, "up to ply = " + std::to_string(ply) + " (half-moves)\n") && has(out, "\n\n- " + counters) &&
                has(out, "\n1.e2e4\tn=10\t") && !has(out, "[E]")) << options << out;
  }
}

TEST(Anabk, WalksEveryRootOfTheRootFileUnlessToldNoAndListsEachPositionOnceWithDdup) {
  test::ScratchDir dir;
  // 1.e4 c5 and three times 1.d4 as roots, and a blank line that is no root; the last is refused.
  const std::string d4 = "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 1\n";
  const std::string roots = "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq c6 0 2\r\n\r\n" + d4 + d4 + d4;
  dir.write("anabk.epd", roots);
  dir.write("tmp.epd", "left over by an earlier run\n");
  auto app = appWithBook("y\ny\ny\nn\n");
  const std::string out = test::run(*app, "anabk -occ<5 -rnk=1 -ddup");
  // Rare runs begin anew at each root: below 1.e4 c5 the first is 2.Nf3, below 1.d4 its replies.
  EXPECT_TRUE(dir.read("tree.epd") == kE4C5Nf3 + kD4D5 + kD4Nf6 && !dir.exists("tmp.epd"));
  EXPECT_EQ(std::tuple(count(out, "(y,n) : "), count(out, " nodes scanned\n"), count(out, "- 2 duplicated positions")),
            std::tuple(4, 3, 1));
  EXPECT_TRUE(has(test::run(*app, "anabk -out=anabk.epd"), "is read by this") && dir.read("anabk.epd") == roots);
}

TEST(Anabk, EvalTaskStoresTheClassOfTheMoversScore) {
  test::ScratchDir dir;
  // The scripted engine reports its thinking time as the score: +35 for the side to move. 1...e5 is =.
  auto app = appWithBook("y\ny\n", test::fakeEnginePath(), {{2, 4}});
  const std::string out = test::run(*app, "anabk -occ<5 -rnk=all -tsk=eval -ms=35 -dbg -vfy -showpv");
  EXPECT_EQ(std::tuple(count(out, "[w/1,+35] "), count(out, "[b/1,+35] "), count(out, "\ta2a3")), std::tuple(4, 2, 6));
  // -35 for the side that played the move: class 3.
  const std::tuple<const char*, const char*, int> classes[] = {
      {"e2e4 e7e5 g1f3", "b8c6", 3}, {"e2e4 e7e5", "f2f4", 3}, {"e2e4 c7c5", "g1f3", 3}, {"e2e4 c7c5 g1f3", "d7d6", 3},
      {"d2d4", "d7d5", 3},           {"d2d4", "g8f6", 3},      {"e2e4 e7e5", "g1f3", 0}, {"", "d2d4", 0}};
  for (const auto& [before, move, cls] : classes) EXPECT_EQ(cmtOf(*app, before, move), cls) << before << " " << move;
  EXPECT_TRUE(has(out, "- saving the book\n- operation complete\n") && !dir.exists("tree.epd"));
  const std::string debug = dir.read("anabk-debug.pgn"), head = "[Event \"Kestrova's lines debugging\"]\n" + kTags;
  EXPECT_TRUE(has(debug, head + "1.e2e4 {gm=10} e7e5 {gm=6} 2.g1f3 {gm=2} b8c6 {[w/1,+35]} \n\n")) << debug;
  EXPECT_TRUE(has(debug, head + "1.d2d4 {gm=3} d7d5 {[w/1,+35]} \n\n") && count(debug, "[Event ") == 6) << debug;
  // "-vfy": 2.Nf3 and 2...d6 after 1.e4 c5, class 3 for each mover, are -= then += for White, two
  // apart; 2.f4 and 2...Nc6 after 1...e5 (=) are one apart, and no game.
  EXPECT_EQ(dir.read("evaluated.pgn"),
            "[Event \"Kestrova's book scanning\"]\n" + kTags + "1.e2e4 c7c5 2.g1f3 {-=} d7d6 {+=} \n\n");
  // Without a score the move keeps its class; without an engine ready the root is given up.
  for (const auto& [engine, shown] : {std::pair{test::fakeEnginePath(), "[b/0,?0] "},
                                      {std::string(), "- engine not ready\n- please reload Kestrova"}}) {
    app = appWithBook("y\nn\n", engine, {{4, 6}}, "noscore");
    const std::string out = test::run(*app, "anabk -occ<5 -rnk=1 -tsk=eval -ms=50");
    EXPECT_TRUE(has(out, shown) && cmtOf(*app, "e2e4 e7e5", "g1f3") == 6) << out;
  }
}

TEST(Anabk, EvalTaskWithStockfishStoresTheClassOfItsScore) {
  const std::string stockfish = test::findStockfish();
  if (stockfish.empty()) GTEST_SKIP() << "no stockfish";
  test::ScratchDir dir;
  auto app = appWithBook("y\nn\n", stockfish);
  test::run(*app, "anabk -occ<5 -rnk=1 -tsk=eval -ms=500 -dbg");
  // The four positions in the order of the walk, each with its score ("?0" on a machine too busy for a
  // first depth). Stockfish speaks for the side to move, the class for the mover; openings are near level.
  const std::string debug = dir.read("anabk-debug.pgn");
  const std::regex evaluation("\\{\\[[wb]/[0-9]+,(\\?0|[+-][0-9]+)\\]\\} \n");
  auto found = std::sregex_iterator(debug.begin(), debug.end(), evaluation);
  for (const auto& [before, move] :
       {std::pair{"e2e4 e7e5", "g1f3"}, {"e2e4 e7e5", "f2f4"}, {"e2e4", "c7c5"}, {"", "d2d4"}}) {
    ASSERT_NE(found, std::sregex_iterator()) << debug;
    const std::string value = (*found++)[1].str();
    const int score = value == "?0" ? 0 : std::stoi(value), cls = value == "?0" ? 0 : evaluationClass(-score);
    EXPECT_TRUE(cmtOf(*app, before, move) == cls && std::abs(score) < 200) << debug;
  }
}

TEST(Anabk, CtrlCEndsTheWalkButTheCountersAndTheSaveQuestionFollow) {
  // The scripted engine sends Ctrl-C as it starts thinking about the first position, after 1.e4 e5
  // 2.Nf3: the walk ends at the next step, 2...Nc6.
  auto app = appWithBook("y\nn\n", test::fakeEnginePath(), {}, "interrupt");
  app->console.setTerminal(true);  // "[E] " marks a running search on a terminal only
  const std::string out = test::run(*app, "anabk -occ<5 -rnk=1 -tsk=eval -ms=35");
  EXPECT_TRUE(has(out, "\n\n- 4 nodes scanned\n- 0 paths scanned") && has(out, "save the evaluations")) << out;
  EXPECT_EQ(std::make_pair(count(out, "[E] "), app->game.currentPly), std::make_pair(1, 0)) << "back at the root";
}

}  // namespace
}  // namespace kestrova
