// The rules on evaluations, depths, times and results, each on hand-made games whose expected
// reports follow from the rule's text.
#include "scan/evaluation_rules.hpp"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "book/book_key_generation.hpp"
#include "chess/fen.hpp"
#include "scan/scan_support.hpp"

namespace kestrova {
namespace {

using test::evalComment;
using test::kRuyLopez;
using test::movetext;
using test::pgnGame;
using test::runRule;
using Lines = std::vector<std::string>;

// The Ruy Lopez with every ply evaluated: White's plies `white`, Black's `black` (mover's view),
// the plies of `changes` with their own comment.
std::string ruy(int white, int black, const std::map<int, std::string>& changes = {}) {
  return movetext(kRuyLopez, [&](int ply) {
    const auto found = changes.find(ply);
    if (found != changes.end()) return found->second;
    return evalComment(ply % 2 == 1 ? white : black);
  });
}

// ---- ValDrop

TEST(ValDrop, ReportsADropOfTheMoversOwnEvaluationBeforeItsMove) {
  // e(5) - e(3) = -300 - 20 = -320, at least val 300 below.
  const auto run = runRule(pgnGame(ruy(20, -20, {{5, evalComment(-300)}})), detection::kValDrop);
  EXPECT_EQ(run.reports, Lines{"1: [w] ValDrop (-320) before 3.Bb5"});
}

TEST(ValDrop, NearestCasesThatDoNotReport) {
  struct Case {
    const char* what;
    std::string game;
    std::function<void(DetectionEntry&)> configure;
  };
  const Case cases[] = {
      {"a drop of 299", pgnGame(ruy(20, -20, {{5, evalComment(-279)}})), nullptr},
      {"the mover won the game", pgnGame(ruy(20, -20, {{5, evalComment(-300)}}), "1-0"), nullptr},
      {"no time on the new ply", pgnGame(ruy(20, -20, {{5, evalComment(-300, 12, 0)}})), nullptr},
      {"no depth two plies before", pgnGame(ruy(20, -20, {{3, evalComment(20, 0, 5)}, {5, evalComment(-300)}})), nullptr},
      {"the opponent's ply between has no evaluation", pgnGame(ruy(20, -20, {{4, ""}, {5, evalComment(-300)}})), nullptr},
      {"the old value lies outside the window", pgnGame(ruy(1200, -20, {{5, evalComment(800)}})), nullptr},
      {"val 0 never runs", pgnGame(ruy(20, -20, {{5, evalComment(-300)}})), [](DetectionEntry& e) { e.value = 0; }},
  };
  for (const Case& c : cases) EXPECT_EQ(runRule(c.game, detection::kValDrop, c.configure).reports, Lines{}) << c.what;
}

TEST(ValDrop, ADropToAMateStillReportsInAWonGame) {
  // Mate in 1 (9900) falls back to mate in 5 (9100): -800, reported although White won.
  const auto run = runRule(pgnGame(ruy(20, -20, {{3, "+M1/20 5s"}, {5, "+M5/20 5s"}}), "1-0"), detection::kValDrop,
                           [](DetectionEntry& e) { e.maxValue = 20000; });
  EXPECT_EQ(run.reports, Lines{"1: [w] ValDrop (-800) before 3.Bb5"});
}

TEST(ValDrop, TheGateLetsMxoReportsPerSide) {
  // White's evaluation falls by 320 at ply 5 and again at ply 9; Black's once at ply 6.
  const std::string game =
      pgnGame(ruy(20, -20, {{5, evalComment(-300)}, {7, evalComment(-300)}, {9, evalComment(-620)}, {6, evalComment(-340)}}));
  EXPECT_EQ(runRule(game, detection::kValDrop).reports,
            (Lines{"1: [w] ValDrop (-320) before 3.Bb5", "1: [b] ValDrop (-320) before 3...a6"}));
  EXPECT_EQ(runRule(game, detection::kValDrop, [](DetectionEntry& e) { e.maxOccurrences = 2; }).reports,
            (Lines{"1: [w] ValDrop (-320) before 3.Bb5", "1: [b] ValDrop (-320) before 3...a6",
                   "1: [w] ValDrop (-320) before 5.O-O"}));
}

// ---- ValJump

TEST(ValJump, ReportsARiseWhoseNewValueLiesInTheWindow) {
  EXPECT_EQ(runRule(pgnGame(ruy(20, -20, {{5, evalComment(340)}})), detection::kValJump).reports,
            Lines{"1: [w] ValJump (+320) before 3.Bb5"});
  // The new value 1200 lies outside [-1000, 1000].
  EXPECT_EQ(runRule(pgnGame(ruy(20, -20, {{5, evalComment(1200)}})), detection::kValJump).reports, Lines{});
  EXPECT_EQ(runRule(pgnGame(ruy(20, -20, {{5, evalComment(319)}})), detection::kValJump).reports, Lines{});
}

TEST(ValJump, WithVal0ReportsAnyNonNegativeChange) {
  const auto run = runRule(pgnGame(ruy(20, -20)), detection::kValJump, [](DetectionEntry& e) { e.value = 0; });
  EXPECT_EQ(run.reports, (Lines{"1: [w] ValJump (+0) before 2.Nf3", "1: [b] ValJump (+0) before 2...Nc6"}));
}

TEST(ValJump, AMateAnnouncedByTheLoserIsNotReported) {
  const auto widen = [](DetectionEntry& e) { e.maxValue = 20000; };
  const std::string moves = ruy(20, -20, {{5, "+M3/20 5s"}});
  EXPECT_EQ(runRule(pgnGame(moves, "0-1"), detection::kValJump, widen).reports, Lines{});
  EXPECT_EQ(runRule(pgnGame(moves), detection::kValJump, widen).reports, Lines{"1: [w] ValJump (+9480) before 3.Bb5"});
}

// ---- DepthDrop

std::string withDepths(const std::map<int, int>& depths) {
  return movetext(kRuyLopez, [&](int ply) {
    const auto found = depths.find(ply);
    return evalComment(ply % 2 == 1 ? 20 : -20, found == depths.end() ? 12 : found->second);
  });
}

TEST(DepthDrop, ReportsADepthWellBelowTheMoversNeighbouringDepths) {
  // a = (12 + 12) / 2 = 12; 5 < 12 - 4.
  EXPECT_EQ(runRule(pgnGame(withDepths({{9, 5}})), detection::kDepthDrop).reports,
            Lines{"1: [w] DepthDrop (av=-7) before 5.O-O"});
  // 8 is not below 12 - 4.
  EXPECT_EQ(runRule(pgnGame(withDepths({{9, 8}})), detection::kDepthDrop).reports, Lines{});
}

TEST(DepthDrop, NeighboursThatDifferByMoreThan4AreNoReference) {
  EXPECT_EQ(runRule(pgnGame(withDepths({{7, 10}, {9, 4}, {11, 15}})), detection::kDepthDrop).reports, Lines{});
  EXPECT_EQ(runRule(pgnGame(withDepths({{7, 10}, {9, 4}, {11, 14}})), detection::kDepthDrop).reports,
            Lines{"1: [w] DepthDrop (av=-8) before 5.O-O"});
}

TEST(DepthDrop, NeverLooksAtTheFirstTwoOrTheLastTwoPlies) {
  EXPECT_EQ(runRule(pgnGame(withDepths({{1, 4}, {2, 4}, {19, 4}, {20, 4}})), detection::kDepthDrop).reports, Lines{});
  EXPECT_EQ(runRule(pgnGame(withDepths({{18, 4}})), detection::kDepthDrop).reports,
            Lines{"1: [b] DepthDrop (av=-8) before 9...Nb8"});
}

// ---- LowDepth

TEST(LowDepth, LooksAtTheFirstNineTenthsOfTheGameOnly) {
  // 20 half-moves: plies 1 to 18.
  EXPECT_EQ(runRule(pgnGame(withDepths({{18, 3}})), detection::kLowDepth).reports,
            Lines{"1: [b] LowDepth (3) before 9...Nb8"});
  EXPECT_EQ(runRule(pgnGame(withDepths({{19, 3}})), detection::kLowDepth).reports, Lines{});
  EXPECT_EQ(runRule(pgnGame(withDepths({{18, 6}})), detection::kLowDepth).reports, Lines{});
}

TEST(LowDepth, NeedsTimeAndAnEvaluationThatIsNoMate) {
  EXPECT_EQ(runRule(pgnGame(movetext(kRuyLopez, [](int ply) { return ply == 6 ? "+M3/3 5s" : evalComment(0); })),
                    detection::kLowDepth).reports,
            Lines{});
  EXPECT_EQ(runRule(pgnGame(movetext(kRuyLopez, [](int ply) { return evalComment(0, ply == 6 ? 3 : 12, ply == 6 ? 0 : 5); })),
                    detection::kLowDepth).reports,
            Lines{});
}

// ---- MatEvalBug

TEST(MatEvalBug, AMateForTheMoverInALostGameIsASignBug) {
  // White's e = 6000 after Black's 6500: both announce a mate, yet Black won.
  const std::string moves = ruy(20, -20, {{16, evalComment(6500)}, {17, evalComment(6000)}});
  EXPECT_EQ(runRule(pgnGame(moves, "0-1"), detection::kMatEvalBug).reports, Lines{"1: [w] MatEvalBug (sign) before 9.h3"});
  EXPECT_EQ(runRule(pgnGame(moves, "1-0"), detection::kMatEvalBug).reports, Lines{});
}

TEST(MatEvalBug, AMateThatDoesNotComeNearerIsADepthBugWithoutSide) {
  const auto mates = [](const char* at17) {
    return pgnGame(ruy(20, -20, {{15, "+M3/20 5s"}, {16, "+M3/20 5s"}, {17, at17}}));
  };
  EXPECT_EQ(runRule(mates("+M3/20 5s"), detection::kMatEvalBug).reports, Lines{"1: [b] MatEvalBug (depth) before 9.h3"});
  EXPECT_EQ(runRule(mates("+M2/20 5s"), detection::kMatEvalBug).reports, Lines{});
}

// ---- SuspOpening

// The Ruy Lopez with plies 1..10 from the book (no comment) and the evaluations given from ply 11.
std::string afterBook(const std::map<int, int>& values, int fallback = 0, int bookPlies = 10) {
  return movetext(kRuyLopez, [&](int ply) -> std::string {
    if (ply <= bookPlies) return "";
    const auto found = values.find(ply);
    return evalComment(found == values.end() ? fallback : found->second);
  });
}

const char* const kNoBook = "> Please load a book if you want to compare this suspect opening with statistical results\n";

TEST(SuspOpening, JudgesTheFirstNEvaluatedPliesAfterTheBook) {
  // n = 6, first evaluated ply 11: acts at ply 16 over plies 11..16; v = (450 + 450) / 6.
  const std::string moves = afterBook({{11, 150}, {12, -150}, {13, 150}, {14, -150}, {15, 150}, {16, -150}});
  const auto run = runRule(pgnGame(moves), detection::kSuspOpening, [](DetectionEntry& e) { e.p1 = 6; });
  EXPECT_EQ(run.reports,
            Lines{"1: [b] SuspOpening (op. val= 150 calculated for W&B by arithmetic seq. with p= 0.0 is out of "
                  "]-100;100[) after 8...O-O"});
  EXPECT_NE(run.console.find(kNoBook), std::string::npos);

  const std::string quiet = afterBook({{11, 50}, {12, -50}, {13, 50}, {14, -50}, {15, 50}, {16, -50}});
  EXPECT_EQ(runRule(pgnGame(quiet), detection::kSuspOpening, [](DetectionEntry& e) { e.p1 = 6; }).reports, Lines{});
}

TEST(SuspOpening, WeightsGrowArithmeticallyOrGeometrically) {
  // q = 1: weights 1..6; White 100x1 + 200x3 + 300x5 = 2200 over 9, Black -60 x (2+4+6) = -720 over 12.
  const std::string moves = afterBook({{11, 100}, {12, -60}, {13, 200}, {14, -60}, {15, 300}, {16, -60}});
  const auto arithmetic = [](int col) {
    return [col](DetectionEntry& e) { e.p1 = 6, e.p3 = 10, e.colourSelection = col; };
  };
  EXPECT_EQ(runRule(pgnGame(moves), detection::kSuspOpening, arithmetic(2)).reports,
            Lines{"1: [b] SuspOpening (op. val= 139 calculated for W&B by arithmetic seq. with p= 1.0 is out of "
                  "]-100;100[) after 8...O-O"});
  EXPECT_EQ(runRule(pgnGame(moves), detection::kSuspOpening, arithmetic(1)).reports,
            Lines{"1: [b] SuspOpening (op. val= 244 calculated for White by arithmetic seq. with p= 1.0 is out of "
                  "]-100;100[) after 8...O-O"});
  // Black's own view: -(-720 / 12) = 60 lies inside the window.
  EXPECT_EQ(runRule(pgnGame(moves), detection::kSuspOpening, arithmetic(0)).reports, Lines{});

  // q = 2, geometric: weights 1, 2, 4, 8, 16, 32; (2100 + 4200) / 63 = 100, not inside ]-100;100[.
  const std::string even = afterBook({{11, 100}, {12, -100}, {13, 100}, {14, -100}, {15, 100}, {16, -100}});
  EXPECT_EQ(runRule(pgnGame(even), detection::kSuspOpening, [](DetectionEntry& e) { e.p1 = 6, e.p2 = 1, e.p3 = 20; }).reports,
            Lines{"1: [b] SuspOpening (op. val= 100 calculated for W&B by geometric seq. with p= 2.0 is out of "
                  "]-100;100[) after 8...O-O"});
}

TEST(SuspOpening, AGameWithoutBookMovesNeverActs) {
  EXPECT_EQ(runRule(pgnGame(ruy(900, -900)), detection::kSuspOpening, [](DetectionEntry& e) { e.p1 = 6; }).reports,
            Lines{});
}

TEST(SuspOpening, ActsOncePerGame) {
  // Evaluations stop at ply 17 and start again at 18: a second book exit in the same game.
  const std::string moves = movetext(kRuyLopez, [](int ply) -> std::string {
    if (ply <= 10 || ply == 17) return "";
    return evalComment(ply % 2 == 1 ? 500 : -500);
  });
  EXPECT_EQ(runRule(pgnGame(moves), detection::kSuspOpening, [](DetectionEntry& e) { e.p1 = 1; }).reports,
            Lines{"1: [w] SuspOpening (op. val= 500 calculated for W&B by arithmetic seq. with p= 0.0 is out of "
                  "]-100;100[) after 6.Re1"});
}

TEST(SuspOpening, ACountBelow1IsUsedAs1WithAMessageAtEveryPlyThatReachesIt) {
  const auto run = runRule(pgnGame(afterBook({{11, 150}})), detection::kSuspOpening);
  EXPECT_EQ(run.reports, Lines{"1: [w] SuspOpening (op. val= 150 calculated for W&B by arithmetic seq. with p= 0.0 "
                               "is out of ]-100;100[) after 6.Re1"});
  const std::string message = "> the number of counted halfmoves can't be less than 1. Value changed to 1\n";
  std::size_t count = 0;
  for (std::size_t at = run.console.find(message); at != std::string::npos; at = run.console.find(message, at + 1)) ++count;
  EXPECT_EQ(count, 11u) << "plies 1 to 11, until the rule has acted";
}

TEST(SuspOpening, ASelectionWithoutWeightOrOutsideTheColoursReportsNothing) {
  // n = 1 at White's ply 11: Black has no counted ply.
  const std::string moves = afterBook({{11, 900}});
  EXPECT_EQ(runRule(pgnGame(moves), detection::kSuspOpening, [](DetectionEntry& e) { e.p1 = 1, e.colourSelection = 0; }).reports,
            Lines{});
  // n = 1 at Black's ply 12: White has none.
  EXPECT_EQ(runRule(pgnGame(afterBook({{12, 900}}, 0, 11)), detection::kSuspOpening,
                    [](DetectionEntry& e) { e.p1 = 1, e.colourSelection = 1; }).reports,
            Lines{});
  // Weights 1 and -1 (q = -2) cancel out.
  EXPECT_EQ(runRule(pgnGame(afterBook({{11, 900}, {12, 900}})), detection::kSuspOpening,
                    [](DetectionEntry& e) { e.p1 = 2, e.p3 = -20; }).reports,
            Lines{});
  for (int col : {-1, 3, 7}) {
    EXPECT_EQ(runRule(pgnGame(moves), detection::kSuspOpening, [col](DetectionEntry& e) { e.p1 = 1, e.colourSelection = col; }).reports,
              Lines{}) << col;
  }
}

TEST(SuspOpening, TheEmptyFirstPlyOfAGameStartingWithBlackIsNoBookMove) {
  const std::string tags = "[SetUp \"1\"]\n[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1\"]\n";
  const std::string moves = "1... e5 {-2.00/12 5s} 2. Nf3 {+2.00/12 5s} Nc6 {-2.00/12 5s} 3. Bb5 {+2.00/12 5s}";
  EXPECT_EQ(runRule(pgnGame(moves, "1/2-1/2", tags), detection::kSuspOpening, [](DetectionEntry& e) { e.p1 = 1; }).reports,
            Lines{});
}

// A book that knows the position before 6.Re1 (after 5...Be7) with two moves: Nc3 the most played.
void loadRuyBook(App& app, bool withRe1) {
  generateBookTables(app.book);
  Board board;
  parseFen(board, "r1bqk2r/1pppbppp/p1n2n2/4p3/B3P3/5N2/PPPP1PPP/RNBQ1RK1 w kq - 4 6");
  const BookKeys keys = app.book.computeBookKeys(board, kWhite);
  std::vector<BookEntry> entries;
  BookEntry nc3{};
  nc3.key = keys.key, nc3.lock = keys.lock, nc3.from = 57, nc3.to = 42, nc3.n = 30;  // b1c3
  entries.push_back(nc3);
  if (withRe1) {
    BookEntry re1 = nc3;
    re1.from = 61, re1.to = 60, re1.n = 12, re1.pc = 75, re1.oppElo = 2500, re1.myElo = 2600;  // f1e1
    entries.push_back(re1);
  }
  std::unique_ptr<BookEntry[]> table(new BookEntry[entries.size() + 2]);
  for (std::size_t i = 0; i < entries.size(); ++i) table[i + 1] = entries[i];
  app.book.adoptEntries(std::move(table), static_cast<int>(entries.size()));
}

TEST(SuspOpening, WithABookTheMovesStatisticalGainFollows) {
  // 75 % against opponents of 2500 on average is a performance of 2693; the movers averaged 2600.
  auto app = test::makeApp();
  loadRuyBook(*app, true);
  const auto run = runRule(*app, pgnGame(afterBook({{11, 150}})), detection::kSuspOpening,
                           [](DetectionEntry& e) { e.p1 = 1; });
  EXPECT_EQ(run.reports, (Lines{"1: [w] SuspOpening (op. val= 150 calculated for W&B by arithmetic seq. with p= 0.0 is "
                                "out of ]-100;100[) after 6.Re1",
                                "1: [Int. book] statistical gain for f1e1 : +93 elo (12 games)"}));
  EXPECT_EQ(run.console.find(kNoBook), std::string::npos);
}

TEST(SuspOpening, WithABookThatLacksTheMoveThereIsNoExtraLine) {
  auto app = test::makeApp();
  loadRuyBook(*app, false);
  const auto run = runRule(*app, pgnGame(afterBook({{11, 150}})), detection::kSuspOpening,
                           [](DetectionEntry& e) { e.p1 = 1; });
  EXPECT_EQ(run.reports, Lines{"1: [w] SuspOpening (op. val= 150 calculated for W&B by arithmetic seq. with p= 0.0 is "
                               "out of ]-100;100[) after 6.Re1"});
  EXPECT_EQ(run.console.find(kNoBook), std::string::npos);
}

// ---- AbnormTerm

std::string shuffleGame(int plies, const std::string& result, const std::string& lastComment = "+0.10/10 1s",
                        int lastEval = 10) {
  return pgnGame(movetext(test::cycle(plies), [&](int ply) {
                   if (ply == plies) return lastComment;
                   return evalComment(ply == plies - 1 ? lastEval : 10, 10, 1);
                 }),
                 result);
}

TEST(AbnormTerm, NamesTheTerminationOfADecisiveGameThatEndsBalanced) {
  struct Case {
    int plies;
    std::string lastComment;
    const char* expected;
  };
  const Case cases[] = {
      {70, "+0.10/10 1s", "1: [b] AbnormTerm (??\?) after 35...Nf6"},
      {40, "+0.10/10 1s", "1: [b] AbnormTerm (crash?) after 20...Ng8"},
      {49, "+0.10/10 1s", "1: [w] AbnormTerm (crash?) after 25.Nf3"},
      {50, "+0.10/10 1s", "1: [b] AbnormTerm (??\?) after 25...Nf6"},
      {90, "+0.10/10 1s", "1: [b] AbnormTerm (??\?) after 45...Nf6"},
      {92, "+0.10/10 1s", "1: [b] AbnormTerm (loss on time?) after 46...Ng8"},
      {70, "+0.10/10 1s, Black loses on time", "1: [b] AbnormTerm (loss on time) after 35...Nf6"},
      {70, "+0.10/10 1s, perte au temps", "1: [b] AbnormTerm (loss on time) after 35...Nf6"},
      {70, "+0.10/10 1s, illegal move", "1: [b] AbnormTerm (illegal move) after 35...Nf6"},
      {70, "+0.10/10 1s, coup ill\xC3\xA9gal", "1: [b] AbnormTerm (illegal move) after 35...Nf6"},
      {70, "+0.10/10 1s, coup ill\xE9gal", "1: [b] AbnormTerm (illegal move) after 35...Nf6"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(runRule(shuffleGame(c.plies, "1-0", c.lastComment), detection::kAbnormTerm).reports, Lines{c.expected})
        << c.plies << " " << c.lastComment;
  }
}

TEST(AbnormTerm, ATimeWordFarFromTheEndIsNoTermination) {
  const std::string moves = movetext(test::cycle(70), [](int ply) {
    return ply == 1 ? "+0.10/10 1s, time control 40/60" : evalComment(10, 10, 1);
  });
  EXPECT_EQ(runRule(pgnGame(moves, "0-1"), detection::kAbnormTerm).reports, Lines{"1: [b] AbnormTerm (??\?) after 35...Nf6"});
}

TEST(AbnormTerm, NearestCasesThatDoNotReport) {
  EXPECT_EQ(runRule(shuffleGame(70, "1/2-1/2"), detection::kAbnormTerm).reports, Lines{});
  EXPECT_EQ(runRule(shuffleGame(70, "1-0", "+3.00/10 1s"), detection::kAbnormTerm).reports, Lines{});
  EXPECT_EQ(runRule(shuffleGame(70, "1-0", "+0.10/10 1s", -300), detection::kAbnormTerm).reports, Lines{});
  EXPECT_EQ(runRule(shuffleGame(70, "1-0", ""), detection::kAbnormTerm).reports, Lines{});
  // The last move carries the mate mark.
  std::string mated = shuffleGame(70, "1-0");
  mated.replace(mated.rfind("Nf6"), 3, "Nf6#");
  EXPECT_EQ(runRule(mated, detection::kAbnormTerm).reports, Lines{});
}

// ---- WinAfterDraw

// King and rook against king, shuffling: every ply evaluated 0.00 except the given ones.
std::string rookEnding(const std::string& placement, int plies, const std::map<int, int>& values, const std::string& result,
                       const std::string& piece = "R") {
  const std::string tags = "[SetUp \"1\"]\n[FEN \"" + placement + " w - - 0 1\"]\n";
  const auto moves = test::cycle(plies, {piece + "a2", "Kg7", piece + "a1", "Kf7"});
  return pgnGame(movetext(moves, [&](int ply) {
                   const auto found = values.find(ply);
                   return evalComment(found == values.end() ? 0 : found->second, 10, 1);
                 }),
                 result, tags);
}

TEST(WinAfterDraw, AWinAfterALongQuietEndgameNearZero) {
  // Ply 61: the clock before it is 60, 3 men, no queen; e(61) - e(53) = 200.
  EXPECT_EQ(runRule(rookEnding("8/5k2/8/8/8/8/4K3/R7", 62, {{61, 200}}, "1-0"), detection::kWinAfterDraw).reports,
            Lines{"1: [w] WinAfterDraw after 31.Ra2"});
}

TEST(WinAfterDraw, NearestCasesThatDoNotReport) {
  EXPECT_EQ(runRule(rookEnding("8/5k2/8/8/8/8/4K3/R7", 62, {{61, 200}}, "1/2-1/2"), detection::kWinAfterDraw).reports,
            Lines{});
  EXPECT_EQ(runRule(rookEnding("8/5k2/8/8/8/8/4K3/R7", 62, {{61, 99}}, "1-0"), detection::kWinAfterDraw).reports, Lines{});
  EXPECT_EQ(runRule(rookEnding("8/5k2/8/8/8/8/4K3/R7", 62, {{61, 200}, {41, 61}}, "1-0"), detection::kWinAfterDraw).reports,
            Lines{});
  EXPECT_EQ(runRule(rookEnding("8/5k2/8/8/8/8/4K3/Q7", 62, {{61, 200}}, "1-0", "Q"), detection::kWinAfterDraw).reports,
            Lines{});
  // Ply 59 is not beyond ply 60.
  EXPECT_EQ(runRule(rookEnding("8/5k2/8/8/8/8/4K3/R7", 60, {{59, 200}}, "1-0"), detection::kWinAfterDraw).reports,
            Lines{});
}

// ---- WinGmNotWon

TEST(WinGmNotWon, BothEnginesSawTheMoverWinningButItDidNotWin) {
  const auto val100 = [](DetectionEntry& e) { e.value = 100; };
  EXPECT_EQ(runRule(pgnGame(ruy(150, -150)), detection::kWinGmNotWon, val100).reports,
            Lines{"1: [w] WinGmNotWon after 3.Bb5"});
  EXPECT_EQ(runRule(pgnGame(ruy(150, -150), "1-0"), detection::kWinGmNotWon, val100).reports, Lines{});
  EXPECT_EQ(runRule(pgnGame(ruy(150, -99)), detection::kWinGmNotWon, val100).reports, Lines{});
  // Black sees itself winning in a game it lost.
  EXPECT_EQ(runRule(pgnGame(ruy(-150, 150), "1-0"), detection::kWinGmNotWon, val100).reports,
            Lines{"1: [b] WinGmNotWon after 3...a6"});
}

// ---- BestPerf

std::string ratedGame(const std::string& result, const std::string& whiteElo, const std::string& blackElo) {
  return pgnGame("1. e4 e5 2. Nf3", result, "[WhiteElo \"" + whiteElo + "\"]\n[BlackElo \"" + blackElo + "\"]\n");
}

TEST(BestPerf, AResultFarBetterThanTheRatingsLetExpect) {
  struct Case {
    std::string result, whiteElo, blackElo;
    int val;
    const char* expected;  // null: no report
  };
  const Case cases[] = {
      {"1-0", "2500", "2700", 0, "1: [w] BestPerf (A +200) after 2.Nf3"},
      {"1-0", "2500", "2700", 200, "1: [w] BestPerf (A +200) after 2.Nf3"},
      {"1-0", "2500", "2700", 201, nullptr},
      {"0-1", "2700", "2500", 200, "1: [w] BestPerf (B +200) after 2.Nf3"},
      {"0-1", "2500", "2700", 0, nullptr},
      {"1/2-1/2", "2500", "2650", 50, "1: [w] BestPerf (A +150) after 2.Nf3"},
      {"1/2-1/2", "2500", "2649", 50, nullptr},
      {"0,5-0,5", "2650", "2500", 50, "1: [w] BestPerf (B +150) after 2.Nf3"},
      {"*", "2500", "2900", 0, nullptr},
      {"1-0", "2500", "", 0, nullptr},
  };
  for (const Case& c : cases) {
    const auto run = runRule(ratedGame(c.result, c.whiteElo, c.blackElo), detection::kBestPerf,
                             [&](DetectionEntry& e) { e.value = c.val; });
    EXPECT_EQ(run.reports, c.expected ? Lines{c.expected} : Lines{}) << c.result << " " << c.whiteElo << " " << c.blackElo;
  }
  EXPECT_EQ(runRule(ratedGame("1-0", "2500", "2900"), detection::kBestPerf, [](DetectionEntry& e) { e.value = -1; }).reports,
            Lines{});
}

TEST(BestPerf, TheRatingsUsedReplaceTheEloTags) {
  auto app = test::makeApp();
  runRule(*app, ratedGame("1/2-1/2", "2500 (est.)", "+2510"), detection::kBestPerf);
  EXPECT_EQ(app->game.tags.value(kTagWhiteElo), "2500");
  EXPECT_EQ(app->game.tags.value(kTagBlackElo), "2510");
  // Without both ratings the tags stay as they are.
  runRule(*app, ratedGame("1-0", "0", "2510x"), detection::kBestPerf);
  EXPECT_EQ(app->game.tags.value(kTagWhiteElo), "0");
  EXPECT_EQ(app->game.tags.value(kTagBlackElo), "2510x");
}

}  // namespace
}  // namespace kestrova
