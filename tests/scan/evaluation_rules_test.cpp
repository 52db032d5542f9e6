// The rules on evaluations, depths, times and results, on hand-made games whose expected reports
// follow from the rule's text.
#include <gtest/gtest.h>

#include <map>

#include "book/book_key_generation.hpp"
#include "chess/fen.hpp"
#include "scan/scan_support.hpp"

namespace kestrova {
namespace {

using test::eval;
using test::expectReports;
using test::pgnGame;
using Plies = std::map<int, std::string>;

// The Ruy Lopez with White's plies evaluated `white`, Black's `black` (mover's view), but `changes`.
std::string ruy(int white, int black, const Plies& changes = {}, const char* result = "1/2-1/2") {
  return pgnGame(test::movetext(test::kRuyLopez, [&](int p) { return changes.count(p) ? changes.at(p) : eval(p % 2 ? white : black); }),
                 result);
}

// The mover's depth at the given plies, 12 elsewhere.
std::string depths(const std::map<int, int>& depth) {
  Plies plies;
  for (auto [ply, d] : depth) plies[ply] = eval(ply % 2 ? 20 : -20, d);
  return ruy(20, -20, plies);
}

TEST(EvaluationRules, ValuesDepthsAndMates) {
  // e(5) - e(3) = -300 - 20 = -320.
  const Plies drop = {{5, eval(-300)}}, mate3 = {{5, "+M3/20 5s"}}, sign = {{16, eval(6500)}, {17, eval(6000)}};
  const std::string twice = ruy(20, -20, {{5, eval(-300)}, {7, eval(-300)}, {9, eval(-620)}, {6, eval(-340)}});
  const std::string w = "1: [w] ValDrop (-320) before ", b = "1: [b] ValDrop (-320) before 3...a6", j = "1: [w] ValJump (+";
  auto mates = [](const char* at17) { return ruy(20, -20, {{15, "+M3/20 5s"}, {16, "+M3/20 5s"}, {17, at17}}); };
  expectReports({
      {"ValDrop", ruy(20, -20, drop), {w + "3.Bb5"}},               {"ValDrop", ruy(20, -20, {{5, eval(-279)}}), {}},
      {"ValDrop", ruy(20, -20, drop, "1-0"), {}},                   // the mover won
      {"ValDrop", ruy(20, -20, {{5, eval(-300, 12, 0)}}), {}},      // no time
      {"ValDrop", ruy(20, -20, {{4, ""}, {5, eval(-300)}}), {}},    // the opponent's ply between unevaluated
      {"ValDrop", ruy(1200, -20, {{5, eval(800)}}), {}},            // the old value outside the window
      // Mate in 1 (9900) falls back to mate in 5 (9100), reported although White won.
      {"ValDrop: mxv=20000", ruy(20, -20, {{3, "+M1/20 5s"}, {5, "+M5/20 5s"}}, "1-0"), {"1: [w] ValDrop (-800) before 3.Bb5"}},
      {"ValDrop", twice, {w + "3.Bb5", b}},                         {"ValDrop: mxo=2", twice, {w + "3.Bb5", b, w + "5.O-O"}},
      {"ValJump", ruy(20, -20, {{5, eval(340)}}), {j + "320) before 3.Bb5"}},
      {"ValJump", ruy(20, -20, {{5, eval(1200)}}), {}},             // the new value outside the window
      {"ValJump: val=0", ruy(20, -20), {j + "0) before 2.Nf3", "1: [b] ValJump (+0) before 2...Nc6"}},
      {"ValJump: mxv=20000", ruy(20, -20, mate3, "0-1"), {}},       // a mate announced by the loser
      {"ValJump: mxv=20000", ruy(20, -20, mate3), {j + "9480) before 3.Bb5"}},
      // The mover's depth against the average of its plies before and after, (12 + 12) / 2: 5 < 12 - 4.
      {"DepthDrop", depths({{9, 5}}), {"1: [w] DepthDrop (av=-7) before 5.O-O"}}, {"DepthDrop", depths({{9, 8}}), {}},
      {"DepthDrop", depths({{7, 10}, {9, 4}, {11, 15}}), {}},       // neighbours more than 4 apart
      {"DepthDrop", depths({{1, 4}, {2, 4}, {19, 4}, {20, 4}}), {}},  // the first two and last two plies
      {"DepthDrop", depths({{7, 10}, {18, 4}}), {"1: [b] DepthDrop (av=-8) before 9...Nb8"}},
      // 20 half-moves: the last tenth, plies 19 and 20, is left out.
      {"LowDepth", depths({{18, 3}}), {"1: [b] LowDepth (3) before 9...Nb8"}}, {"LowDepth", depths({{19, 3}}), {}},
      {"LowDepth", depths({{18, 6}}), {}},                          {"LowDepth", ruy(0, 0, {{6, "+M3/3 5s"}}), {}},
      // White's 6000 after Black's 6500: both announce a mate, yet Black won.
      {"MatEvalBug", ruy(20, -20, sign, "0-1"), {"1: [w] MatEvalBug (sign) before 9.h3"}}, {"MatEvalBug", ruy(20, -20, sign, "1-0"), {}},
      {"MatEvalBug", mates("+M3/20 5s"), {"1: [b] MatEvalBug (depth) before 9.h3"}}, {"MatEvalBug", mates("+M2/20 5s"), {}},
      {"WinGmNotWon: val=100", ruy(150, -150), {"1: [w] WinGmNotWon after 3.Bb5"}},
      {"WinGmNotWon: val=100", ruy(150, -150, {}, "1-0"), {}},      {"WinGmNotWon: val=100", ruy(150, -99), {}},
      {"WinGmNotWon: val=100", ruy(-150, 150, {}, "1-0"), {"1: [b] WinGmNotWon after 3...a6"}},
  });
}

// The Ruy Lopez with the first plies from the book (no comment), then evaluations.
std::string afterBook(const std::map<int, int>& values, int bookPlies = 10) {
  Plies plies;
  for (int p = 1; p <= 20; ++p) plies[p] = p <= bookPlies ? "" : eval(values.count(p) ? values.at(p) : 0);
  return ruy(0, 0, plies);
}

std::string susp(int value, const char* who, const char* how, const std::string& after = "8...O-O") {
  return std::string("1: [") + (test::has(after, "...") ? "b" : "w") + "] SuspOpening (op. val= " + std::to_string(value) +
         " calculated for " + who + " by " + how + " is out of ]-100;100[) after " + after;
}

TEST(EvaluationRules, SuspOpeningWeighsTheFirstEvaluatedPliesAfterTheBook) {
  // q = 1: weights 1..6; White 100x1 + 200x3 + 300x5 = 2200 / 9, Black -60 x 12 / 12.
  const std::string rising = afterBook({{11, 100}, {12, -60}, {13, 200}, {14, -60}, {15, 300}, {16, -60}});
  Plies twoExits = {{17, ""}};  // a second book exit at ply 18
  for (int p = 1; p <= 10; ++p) twoExits[p] = "";
  const std::string blackFirst = pgnGame("1... e5 {-2.00/12 5s} 2. Nf3 {+2.00/12 5s} Nc6 {-2.00/12 5s} 3. Bb5 {+2.00/12 5s}",
                                         "1/2-1/2", "[SetUp \"1\"]\n[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1\"]\n");
  expectReports({
      // n = 6 from ply 11: acts at ply 16; (450 + 450) / 6.
      {"SuspOpening: p1=6", afterBook({{11, 150}, {12, -150}, {13, 150}, {14, -150}, {15, 150}, {16, -150}}),
       {susp(150, "W&B", "arithmetic seq. with p= 0.0")}},
      {"SuspOpening: p1=6, p3=10", rising, {susp(139, "W&B", "arithmetic seq. with p= 1.0")}},
      {"SuspOpening: p1=6, col=1, p3=10", rising, {susp(244, "White", "arithmetic seq. with p= 1.0")}},
      {"SuspOpening: p1=6, col=0, p3=10", rising, {}},  // Black's own view: 60
      // q = 2: weights 1..32; 6300 / 63 = 100 is not inside ]-100;100[.
      {"SuspOpening: p1=6, p2=1, p3=20", afterBook({{11, 100}, {12, -100}, {13, 100}, {14, -100}, {15, 100}, {16, -100}}),
       {susp(100, "W&B", "geometric seq. with p= 2.0")}},
      {"SuspOpening: p1=6", ruy(900, -900), {}},  // no book moves
      {"SuspOpening: p1=1", ruy(500, -500, twoExits), {susp(500, "W&B", "arithmetic seq. with p= 0.0", "6.Re1")}},  // once
      {"SuspOpening: p1=1, col=0", afterBook({{11, 900}}), {}},              // Black has no counted ply
      {"SuspOpening: p1=2, p3=-20", afterBook({{11, 900}, {12, 900}}), {}},  // weights 1 and -1 cancel
      {"SuspOpening: p1=1, col=3", afterBook({{11, 900}}), {}},              // a side outside 0..2
      {"SuspOpening: p1=1", blackFirst, {}},  // the empty first ply of Black's start is no book move
  });
}

TEST(EvaluationRules, SuspOpeningComparesWithTheBookAndTakesACountBelow1As1) {
  // The book knows the position before 6.Re1 with Nc3 (30 games) and possibly Re1: 75 % against
  // 2500 on average is a performance of 2693; the movers averaged 2600.
  for (bool withRe1 : {true, false}) {
    auto app = test::makeApp();
    generateBookTables(app->book);
    Board board;
    parseFen(board, "r1bqk2r/1pppbppp/p1n2n2/4p3/B3P3/5N2/PPPP1PPP/RNBQ1RK1 w kq - 4 6");
    const BookKeys keys = app->book.computeBookKeys(board, kWhite);
    std::unique_ptr<BookEntry[]> table(new BookEntry[4]);
    table[1].key = keys.key, table[1].lock = keys.lock, table[1].from = 57, table[1].to = 42, table[1].n = 30;  // b1c3
    table[2] = table[1];
    table[2].from = 61, table[2].to = 60, table[2].n = 12, table[2].pc = 75, table[2].oppElo = 2500, table[2].myElo = 2600;
    app->book.adoptEntries(std::move(table), withRe1 ? 2 : 1);
    test::Lines expected = {susp(150, "W&B", "arithmetic seq. with p= 0.0", "6.Re1")};
    if (withRe1) expected.push_back("1: [Int. book] statistical gain for f1e1 : +93 elo (12 games)");
    EXPECT_EQ(test::scan(afterBook({{11, 150}}), "SuspOpening: p1=1", app.get()).reports, expected);
  }
  // Without a book, and p1 0 corrected at every ply until the rule acts, plies 1 to 11.
  const test::Scan s = test::scan(afterBook({{11, 150}}), "SuspOpening");
  EXPECT_EQ(s.reports, test::Lines{susp(150, "W&B", "arithmetic seq. with p= 0.0", "6.Re1")});
  EXPECT_EQ(test::count(s.console, "> the number of counted halfmoves can't be less than 1. Value changed to 1\n"), 11);
  EXPECT_TRUE(test::has(s.console, "> Please load a book if you want to compare this suspect opening with statistical results\n"));
}

// Knights shuffling, every ply evaluated 0.10 at depth 10 and 1 s, but the last two.
std::string shuffle(int plies, const char* result, const std::string& last = "+0.10/10 1s", int before = 10) {
  return pgnGame(test::movetext(test::cycle(plies), [&](int p) { return p == plies ? last : eval(p == plies - 1 ? before : 10, 10, 1); }),
                 result);
}

// King and rook (or queen) against king, shuffling for 62 plies: every ply evaluated 0.00 but ply 61 (and 41).
std::string ending(int at61, const char* result, int at41 = 0, const std::string& piece = "R") {
  return pgnGame(test::movetext(test::cycle(62, {piece + "a2", "Kg7", piece + "a1", "Kf7"}),
                                [&](int p) { return eval(p == 61 ? at61 : p == 41 ? at41 : 0, 10, 1); }),
                 result, "[SetUp \"1\"]\n[FEN \"8/5k2/8/8/8/8/4K3/" + piece + "7 w - - 0 1\"]\n");
}

TEST(EvaluationRules, AbnormalTerminationsAndWinsAfterAQuietEnding) {
  const std::string a = "1: [b] AbnormTerm (", at70 = ") after 35...Nf6", t = "+0.10/10 1s, ";
  std::string mated = shuffle(70, "1-0");
  mated.replace(mated.rfind("Nf6"), 3, "Nf6#");
  expectReports({
      {"AbnormTerm", shuffle(70, "1-0"), {a + "???" + at70}}, {"AbnormTerm", shuffle(49, "1-0"), {"1: [w] AbnormTerm (crash?) after 25.Nf3"}},
      {"AbnormTerm", shuffle(50, "1-0"), {a + "??\?) after 25...Nf6"}}, {"AbnormTerm", shuffle(90, "1-0"), {a + "??\?) after 45...Nf6"}},
      {"AbnormTerm", shuffle(92, "1-0"), {a + "loss on time?) after 46...Ng8"}},
      {"AbnormTerm", shuffle(70, "1-0", t + "Black loses on time"), {a + "loss on time" + at70}},
      {"AbnormTerm", shuffle(70, "1-0", t + "perte au temps"), {a + "loss on time" + at70}},
      {"AbnormTerm", shuffle(70, "1-0", t + "illegal move"), {a + "illegal move" + at70}},
      {"AbnormTerm", shuffle(70, "1-0", t + "coup ill\xC3\xA9gal"), {a + "illegal move" + at70}},  // UTF-8
      {"AbnormTerm", shuffle(70, "1-0", t + "coup ill\xE9gal"), {a + "illegal move" + at70}},      // Latin-1
      {"AbnormTerm", shuffle(70, "1/2-1/2"), {}},                    {"AbnormTerm", shuffle(70, "1-0", "+3.00/10 1s"), {}},
      {"AbnormTerm", shuffle(70, "1-0", "+0.10/10 1s", -300), {}},   {"AbnormTerm", shuffle(70, "1-0", ""), {}},
      {"AbnormTerm", mated, {}},
      // Ply 61: the clock before it is 60, 3 men, no queen; e(61) - e(53) = 200.
      {"WinAfterDraw", ending(200, "1-0"), {"1: [w] WinAfterDraw after 31.Ra2"}}, {"WinAfterDraw", ending(200, "1/2-1/2"), {}},
      {"WinAfterDraw", ending(99, "1-0"), {}},                       {"WinAfterDraw", ending(200, "1-0", 61), {}},
      {"WinAfterDraw", ending(200, "1-0", 0, "Q"), {}},
  });
}

TEST(EvaluationRules, BestPerfIsAResultFarBetterThanTheRatingsLetExpect) {
  auto rated = [](const char* result, const char* white, const char* black) {
    return pgnGame("1. e4 e5 2. Nf3", result, std::string("[WhiteElo \"") + white + "\"]\n[BlackElo \"" + black + "\"]\n");
  };
  const std::string a = "1: [w] BestPerf (A +", b = "1: [w] BestPerf (B +";
  expectReports({
      {"BestPerf: val=200", rated("1-0", "2500 (est.)", "+2700"), {a + "200) after 2.Nf3"}},
      {"BestPerf: val=201", rated("1-0", "2500", "2700"), {}},       {"BestPerf", rated("0-1", "2500", "2700"), {}},
      {"BestPerf: val=200", rated("0-1", "2700", "2500"), {b + "200) after 2.Nf3"}},
      {"BestPerf: val=50", rated("1/2-1/2", "2500", "2650"), {a + "150) after 2.Nf3"}},
      {"BestPerf: val=50", rated("0,5-0,5", "2650", "2501"), {}},    {"BestPerf", rated("*", "2500", "2900"), {}},
      {"BestPerf", rated("1-0", "2500", ""), {}},                    {"BestPerf: val=-1", rated("1-0", "2500", "2900"), {}},
  });
}

}  // namespace
}  // namespace kestrova
