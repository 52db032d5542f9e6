// The rules on evaluations, depths, times and results, on hand-made games worked out from the rules' text.
#include <gtest/gtest.h>

#include <map>

#include "book/book_key_generation.hpp"
#include "chess/fen.hpp"
#include "scan/scan_support.hpp"

namespace kestrova::test {
namespace {

using Plies = std::map<int, std::string>;

// The Ruy Lopez with White's plies evaluated `white`, Black's `black` (mover's view), but `changes`.
std::string ruy(int white, int black, const Plies& changes = {}, const char* result = "1/2-1/2") {
  auto comment = [&](int p) { return changes.count(p) ? changes.at(p) : eval(p % 2 ? white : black); };
  return pgnGame(movetext(20, kRuyLopez, comment), result);
}

TEST(EvaluationRules, ValuesDepthsAndMates) {
  const Plies drop = {{5, eval(-300)}}, mate3 = {{5, "+M3/20 5s"}}, sign = {{16, eval(6500)}, {17, eval(6000)}};
  const std::string w = "1: [w] ValDrop (-320) before ", j = "1: [w] ValJump (+";
  auto mates = [](const char* at17) { return ruy(20, -20, {{15, "+M3/20 5s"}, {16, "+M3/20 5s"}, {17, at17}}); };
  expectReports({
      // e(5) - e(3) = -300 - 20; none for a drop of 299, when the mover won, without a time, after an unevaluated
      // reply; times under a second count.
      {"ValDrop", ruy(20, -20, drop) + ruy(20, -20, {{5, eval(-279)}}) + ruy(20, -20, drop, "1-0") +
                      ruy(20, -20, {{5, eval(-300, 12, 0)}}) + ruy(20, -20, {{4, ""}, {5, eval(-300)}}) +
                      ruy(20, -20, {{3, "+0.20/12 0.5s"}, {5, "-3.00/12 0.042s"}}),
       {w + "3.Bb5", "6: [w] ValDrop (-320) before 3.Bb5"}},
      {"ValDrop: val=0", ruy(20, -20, drop), {}},
      // Mate in 1 (9900) falls to mate in 5 (9100), reported though White won; drops at plies 5, 6, 9, two a side.
      {"ValDrop: mxv=20000", ruy(20, -20, {{3, "+M1/20 5s"}, {5, "+M5/20 5s"}}, "1-0"), {"1: [w] ValDrop (-800) before 3.Bb5"}},
      {"ValDrop: mxo=2", ruy(20, -20, {{5, eval(-300)}, {7, eval(-300)}, {9, eval(-620)}, {6, eval(-340)}}),
       {w + "3.Bb5", "1: [b] ValDrop (-320) before 3...a6", w + "5.O-O"}},
      {"ValJump", ruy(20, -20, {{5, eval(340)}}) + ruy(20, -20, {{5, eval(1200)}}), {j + "320) before 3.Bb5"}},  // a window
      {"ValJump: val=0", ruy(20, -20), {j + "0) before 2.Nf3", "1: [b] ValJump (+0) before 2...Nc6"}},
      {"ValJump: mxv=20000", ruy(20, -20, mate3, "0-1") + ruy(20, -20, mate3), {"2: [w] ValJump (+9480) before 3.Bb5"}},
      // The depth against the mover's plies before and after: 5 < (12 + 12) / 2 - 4; none for them 5 apart, nor at the ends.
      {"DepthDrop", ruy(20, -20, {{9, eval(20, 5)}}) + ruy(20, -20, {{7, eval(20, 10)}, {9, eval(20, 4)}, {11, eval(20, 15)}}) +
                        ruy(20, -20, {{1, eval(20, 4)}, {2, eval(-20, 4)}, {19, eval(20, 4)}, {20, eval(-20, 4)}}),
       {"1: [w] DepthDrop (av=-7) before 5.O-O"}},
      // 20 half-moves: the last tenth, plies 19 and 20, is left out, and a mate is no low depth.
      {"LowDepth", ruy(0, 0, {{18, eval(0, 3)}}) + ruy(0, 0, {{19, eval(0, 3)}}) + ruy(0, 0, {{6, "+M3/3 5s"}}) +
                       ruy(0, 0, {{6, "+0.00/3 0.042s"}}),
       {"1: [b] LowDepth (3) before 9...Nb8", "4: [b] LowDepth (3) before 3...a6"}},
      // White's 6000 after Black's 6500: both announce a mate, yet Black won; a mate that comes no nearer.
      {"MatEvalBug", ruy(20, -20, sign, "0-1") + ruy(20, -20, sign, "1-0") + mates("+M3/20 5s") + mates("+M2/20 5s"),
       {"1: [w] MatEvalBug (sign) before 9.h3", "3: [b] MatEvalBug (depth) before 9.h3"}},
      // Both saw the mover win twice in a row; not for the winner, nor when the opponent saw less.
      {"WinGmNotWon: val=100", ruy(150, -150) + ruy(-150, 150, {}, "1-0") + ruy(150, -150, {}, "1-0") + ruy(150, -99),
       {"1: [w] WinGmNotWon after 3.Bb5", "2: [b] WinGmNotWon after 3...a6"}},
  });
}

// The Ruy Lopez with the first plies from the book (no comment), then evaluations.
std::string afterBook(const std::map<int, int>& values) {
  Plies plies;
  for (int p = 1; p <= 20; ++p) plies[p] = p <= 10 ? "" : eval(values.count(p) ? values.at(p) : 0);
  return ruy(0, 0, plies);
}

std::string susp(const std::string& value, const std::string& after = "8...O-O") {
  return std::string("1: [") + (has(after, "...") ? "b" : "w") + "] SuspOpening (op. val= " + value +
         " is out of ]-100;100[) after " + after;
}

TEST(EvaluationRules, SuspOpeningWeighsTheFirstEvaluatedPliesAfterTheBook) {
  // q = 1: weights 1..6; White 100x1 + 200x3 + 300x5 = 2200 / 9, Black -60 x 12 / 12.
  const std::string rising = afterBook({{11, 100}, {12, -60}, {13, 200}, {14, -60}, {15, 300}, {16, -60}});
  Plies twoExits = {{17, ""}};  // a second book exit at ply 18
  for (int p = 1; p <= 10; ++p) twoExits[p] = "";
  expectReports({
      // n = 6 from ply 11: acts at ply 16; (450 + 450) / 6; never without book moves.
      {"SuspOpening: p1=6", afterBook({{11, 150}, {12, -150}, {13, 150}, {14, -150}, {15, 150}, {16, -150}}) + ruy(900, -900),
       {susp("150 calculated for W&B by arithmetic seq. with p= 0.0")}},
      {"SuspOpening: p1=6, p3=10", rising, {susp("139 calculated for W&B by arithmetic seq. with p= 1.0")}},
      {"SuspOpening: p1=6, col=1, p3=10", rising, {susp("244 calculated for White by arithmetic seq. with p= 1.0")}},
      // q = 2: weights 1..32; 6300 / 63 = 100 is not inside ]-100;100[.
      {"SuspOpening: p1=6, p2=1, p3=20", afterBook({{11, 100}, {12, -100}, {13, 100}, {14, -100}, {15, 100}, {16, -100}}),
       {susp("100 calculated for W&B by geometric seq. with p= 2.0")}},
      {"SuspOpening: p1=1", ruy(500, -500, twoExits), {susp("500 calculated for W&B by arithmetic seq. with p= 0.0", "6.Re1")}},
  });
}

TEST(EvaluationRules, SuspOpeningComparesWithTheBookAndTakesACountBelow1As1) {
  // A book with Nc3 (30 games) and possibly Re1 before 6.Re1: 75 % against 2500 is 2693, the movers had 2600.
  const Lines report = {susp("150 calculated for W&B by arithmetic seq. with p= 0.0", "6.Re1")};
  for (bool withRe1 : {true, false}) {
    auto app = makeApp();
    generateBookTables(app->book);
    Board board;
    parseFen(board, "r1bqk2r/1pppbppp/p1n2n2/4p3/B3P3/5N2/PPPP1PPP/RNBQ1RK1 w kq - 4 6");
    const BookKeys keys = app->book.computeBookKeys(board, kWhite);
    std::unique_ptr<BookEntry[]> table(new BookEntry[4]);
    table[1] = {.key = keys.key, .lock = keys.lock, .from = 57, .to = 42, .n = 30};  // b1c3
    table[2] = {.key = keys.key, .lock = keys.lock, .from = 61, .to = 60, .pc = 75, .n = 12, .oppElo = 2500, .myElo = 2600};
    app->book.adoptEntries(std::move(table), withRe1 ? 2 : 1);
    Lines expected = report;
    if (withRe1) expected.push_back("1: [Int. book] statistical gain for f1e1 : +93 elo (12 games)");
    EXPECT_EQ(scan(afterBook({{11, 150}}), "SuspOpening: p1=1", app.get()).reports, expected);
  }
  // Without a book, and p1 0 corrected at every ply until the rule acts, plies 1 to 11.
  const Scan s = scan(afterBook({{11, 150}}), "SuspOpening");
  EXPECT_EQ(s.reports, report);
  EXPECT_EQ(count(s.console, "> the number of counted halfmoves can't be less than 1. Value changed to 1\n"), 11);
  EXPECT_TRUE(has(s.console, "> Please load a book if you want to compare this suspect opening with statistical results\n"));
}

// Knights shuffling, every ply evaluated 0.10 at depth 10 and 1 s, but the last two.
std::string shuffle(int plies, const char* result, const std::string& last = "+0.10/10 1s", int before = 10) {
  auto comment = [&](int p) { return p == plies ? last : eval(p == plies - 1 ? before : 10, 10, 1); };
  return pgnGame(movetext(plies, {"Nf3", "Nf6", "Ng1", "Ng8"}, comment), result);
}

// King and rook (or queen) against king for `plies` plies: every ply evaluated 0.00 but `values`.
std::string ending(int plies, const std::map<int, int>& values, const char* result, const std::string& piece = "R") {
  return pgnGame(movetext(plies, {piece + "a2", "Kg7", piece + "a1", "Kf7"},
                          [&](int p) { return eval(values.count(p) ? values.at(p) : 0, 10, 1); }),
                 result, "[SetUp \"1\"]\n[FEN \"8/5k2/8/8/8/8/4K3/" + piece + "7 w - - 0 1\"]\n");
}

TEST(EvaluationRules, AbnormalTerminationsAndWinsAfterAQuietEnding) {
  const std::string a = "] AbnormTerm (", at70 = ") after 35...Nf6", t = "+0.10/10 1s, ";
  std::string mated = shuffle(70, "1-0"), timeControl = shuffle(70, "0-1");
  mated.replace(mated.rfind("Nf6"), 3, "Nf6#");
  timeControl.replace(timeControl.find("+0.10/10 1s"), 11, t + "time control 40/60");
  expectReports({
      // Two evaluations near 0 ending a decided game: a cause by its length; none drawn, unbalanced, unevaluated, mated.
      {"AbnormTerm", shuffle(70, "1-0") + shuffle(49, "1-0") + shuffle(50, "1-0") + shuffle(90, "1-0") + shuffle(92, "1-0") +
                         shuffle(70, "1/2-1/2") + shuffle(70, "1-0", "+3.00/10 1s") + shuffle(70, "1-0", "+0.10/10 1s", -300) +
                         shuffle(70, "1-0", "") + mated,
       {"1: [b" + a + "???" + at70, "2: [w" + a + "crash?) after 25.Nf3", "3: [b" + a + "??\?) after 25...Nf6",
        "4: [b" + a + "??\?) after 45...Nf6", "5: [b" + a + "loss on time?) after 46...Ng8"}},
      {"AbnormTerm", shuffle(70, "1-0", t + "Black loses on time") + shuffle(70, "1-0", t + "perte au temps") +
                         shuffle(70, "1-0", t + "illegal move") + shuffle(70, "1-0", t + "coup ill\xC3\xA9gal") +  // UTF-8
                         shuffle(70, "1-0", t + "coup ill\xE9gal") + timeControl,  // Latin-1; a time word far from the end
       {"1: [b" + a + "loss on time" + at70, "2: [b" + a + "loss on time" + at70, "3: [b" + a + "illegal move" + at70,
        "4: [b" + a + "illegal move" + at70, "5: [b" + a + "illegal move" + at70, "6: [b" + a + "???" + at70}},
      // Ply 61: clock 60 before it, 3 men, e(61) - e(53) = 200; none drawn, rising 99, not quiet, with queens, at ply 59.
      {"WinAfterDraw", ending(62, {{61, 200}}, "1-0") + ending(62, {{61, 200}}, "1/2-1/2") + ending(62, {{61, 99}}, "1-0") +
                           ending(62, {{61, 200}, {41, 61}}, "1-0") + ending(62, {{61, 200}}, "1-0", "Q") +
                           ending(60, {{59, 200}}, "1-0"),
       {"1: [w] WinAfterDraw after 31.Ra2"}},
  });
}

TEST(EvaluationRules, BestPerfIsAResultFarBetterThanTheRatingsLetExpect) {
  auto rated = [](const char* result, const char* white, const char* black) {
    return pgnGame("1. e4 e5 2. Nf3", result, std::string("[WhiteElo \"") + white + "\"]\n[BlackElo \"" + black + "\"]\n");
  };
  // Wins by 200 (val 200) and a draw by 150 (val 50); none for the stronger, without result or rating, by 149, over val.
  expectReports({
      {"BestPerf: val=200", rated("1-0", "2500 (est.)", "+2700") + rated("0-1", "2700", "2500") + rated("0-1", "2500", "2700") +
                                rated("*", "2500", "2900") + rated("1-0", "2500", ""),
       {"1: [w] BestPerf (A +200) after 2.Nf3", "2: [w] BestPerf (B +200) after 2.Nf3"}},
      {"BestPerf: val=50", rated("1/2-1/2", "2500", "2650") + rated("0,5-0,5", "2650", "2501"),
       {"1: [w] BestPerf (A +150) after 2.Nf3"}},
      {"BestPerf: val=201", rated("1-0", "2500", "2700"), {}},
  });
  auto app = makeApp();  // without both ratings the Elo tags stay as they are
  app->settings.threads = 1;  // the rule writes the tags of the game the calling thread scans
  scan(rated("1-0", "0", "2510x"), "BestPerf", app.get());
  EXPECT_EQ(app->game.tags.value(kTagWhiteElo) + " " + app->game.tags.value(kTagBlackElo), "0 2510x");
}

}  // namespace
}  // namespace kestrova::test
