// The rules on evaluations, depths, times and results, on hand-made games whose expected reports
// follow from the rule's text.
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
using test::expectReports;
using test::kRuyLopez;
using test::movetext;
using test::pgnGame;
using test::runRule;
using Lines = test::Lines;
namespace d = detection;

// The Ruy Lopez with every ply evaluated: White's plies `white`, Black's `black` (mover's view),
// the plies of `changes` with their own comment.
std::string ruy(int white, int black, const std::map<int, std::string>& changes = {}) {
  return movetext(kRuyLopez, [&](int ply) {
    const auto found = changes.find(ply);
    return found != changes.end() ? found->second : evalComment(ply % 2 == 1 ? white : black);
  });
}

std::string withDepths(const std::map<int, int>& depths) {
  return pgnGame(movetext(kRuyLopez, [&](int ply) {
    const auto found = depths.find(ply);
    return evalComment(ply % 2 == 1 ? 20 : -20, found == depths.end() ? 12 : found->second);
  }));
}

test::Configure set(int DetectionEntry::*field, int v) {
  return [field, v](DetectionEntry& e) { e.*field = v; };
}

TEST(EvaluationRules, ValDropAndValJump) {
  // e(5) - e(3) = -300 - 20 = -320.
  const std::map<int, std::string> drop = {{5, evalComment(-300)}};
  const std::string twice =
      pgnGame(ruy(20, -20, {{5, evalComment(-300)}, {7, evalComment(-300)}, {9, evalComment(-620)}, {6, evalComment(-340)}}));
  const std::string mate3 = ruy(20, -20, {{5, "+M3/20 5s"}});
  expectReports({
      {"a drop of 320", pgnGame(ruy(20, -20, drop)), {d::kValDrop}, {"1: [w] ValDrop (-320) before 3.Bb5"}},
      {"a drop of 299", pgnGame(ruy(20, -20, {{5, evalComment(-279)}})), {d::kValDrop}, {}},
      {"the mover won", pgnGame(ruy(20, -20, drop), "1-0"), {d::kValDrop}, {}},
      {"no time on the new ply", pgnGame(ruy(20, -20, {{5, evalComment(-300, 12, 0)}})), {d::kValDrop}, {}},
      {"no depth two plies before", pgnGame(ruy(20, -20, {{3, evalComment(20, 0, 5)}, {5, evalComment(-300)}})),
       {d::kValDrop}, {}},
      {"the opponent's ply between unevaluated", pgnGame(ruy(20, -20, {{4, ""}, {5, evalComment(-300)}})),
       {d::kValDrop}, {}},
      {"old value outside the window", pgnGame(ruy(1200, -20, {{5, evalComment(800)}})), {d::kValDrop}, {}},
      {"val 0 never runs", pgnGame(ruy(20, -20, drop)), {d::kValDrop}, {}, set(&DetectionEntry::value, 0)},
      // Mate in 1 (9900) falls back to mate in 5 (9100), reported although White won.
      {"a drop to a later mate", pgnGame(ruy(20, -20, {{3, "+M1/20 5s"}, {5, "+M5/20 5s"}}), "1-0"), {d::kValDrop},
       {"1: [w] ValDrop (-800) before 3.Bb5"}, set(&DetectionEntry::maxValue, 20000)},
      {"mxo 1 per side", twice, {d::kValDrop},
       {"1: [w] ValDrop (-320) before 3.Bb5", "1: [b] ValDrop (-320) before 3...a6"}},
      {"mxo 2 per side", twice, {d::kValDrop},
       {"1: [w] ValDrop (-320) before 3.Bb5", "1: [b] ValDrop (-320) before 3...a6", "1: [w] ValDrop (-320) before 5.O-O"},
       set(&DetectionEntry::maxOccurrences, 2)},
      {"a jump of 320", pgnGame(ruy(20, -20, {{5, evalComment(340)}})), {d::kValJump},
       {"1: [w] ValJump (+320) before 3.Bb5"}},
      {"new value outside the window", pgnGame(ruy(20, -20, {{5, evalComment(1200)}})), {d::kValJump}, {}},
      {"a jump of 299", pgnGame(ruy(20, -20, {{5, evalComment(319)}})), {d::kValJump}, {}},
      {"val 0 reports any non-negative change", pgnGame(ruy(20, -20)), {d::kValJump},
       {"1: [w] ValJump (+0) before 2.Nf3", "1: [b] ValJump (+0) before 2...Nc6"}, set(&DetectionEntry::value, 0)},
      {"a mate announced by the loser", pgnGame(mate3, "0-1"), {d::kValJump}, {}, set(&DetectionEntry::maxValue, 20000)},
      {"a mate in a drawn game", pgnGame(mate3), {d::kValJump}, {"1: [w] ValJump (+9480) before 3.Bb5"},
       set(&DetectionEntry::maxValue, 20000)},
  });
}

TEST(EvaluationRules, DepthDropAndLowDepth) {
  expectReports({
      // a = (12 + 12) / 2; 5 < 12 - 4.
      {"depth 5 among 12", withDepths({{9, 5}}), {d::kDepthDrop}, {"1: [w] DepthDrop (av=-7) before 5.O-O"}},
      {"8 is not below 12 - 4", withDepths({{9, 8}}), {d::kDepthDrop}, {}},
      {"neighbours 10 and 15 are no reference", withDepths({{7, 10}, {9, 4}, {11, 15}}), {d::kDepthDrop}, {}},
      {"neighbours 10 and 14", withDepths({{7, 10}, {9, 4}, {11, 14}}), {d::kDepthDrop},
       {"1: [w] DepthDrop (av=-8) before 5.O-O"}},
      {"the first two and last two plies", withDepths({{1, 4}, {2, 4}, {19, 4}, {20, 4}}), {d::kDepthDrop}, {}},
      {"ply 18", withDepths({{18, 4}}), {d::kDepthDrop}, {"1: [b] DepthDrop (av=-8) before 9...Nb8"}},
      // 20 half-moves: plies 1 to 18 are looked at.
      {"low depth at ply 18", withDepths({{18, 3}}), {d::kLowDepth}, {"1: [b] LowDepth (3) before 9...Nb8"}},
      {"low depth at ply 19", withDepths({{19, 3}}), {d::kLowDepth}, {}},
      {"depth 6", withDepths({{18, 6}}), {d::kLowDepth}, {}},
      {"a mate", pgnGame(movetext(kRuyLopez, [](int ply) { return ply == 6 ? "+M3/3 5s" : evalComment(0); })),
       {d::kLowDepth}, {}},
      {"no time",
       pgnGame(movetext(kRuyLopez, [](int ply) { return evalComment(0, ply == 6 ? 3 : 12, ply == 6 ? 0 : 5); })),
       {d::kLowDepth}, {}},
  });
}

TEST(EvaluationRules, MatEvalBugAndWinGmNotWon) {
  // White's 6000 after Black's 6500: both announce a mate, yet Black won.
  const std::string sign = ruy(20, -20, {{16, evalComment(6500)}, {17, evalComment(6000)}});
  const auto mates = [](const char* at17) {
    return pgnGame(ruy(20, -20, {{15, "+M3/20 5s"}, {16, "+M3/20 5s"}, {17, at17}}));
  };
  const auto val100 = set(&DetectionEntry::value, 100);
  expectReports({
      {"sign", pgnGame(sign, "0-1"), {d::kMatEvalBug}, {"1: [w] MatEvalBug (sign) before 9.h3"}},
      {"sign, mover won", pgnGame(sign, "1-0"), {d::kMatEvalBug}, {}},
      {"a mate that comes no nearer", mates("+M3/20 5s"), {d::kMatEvalBug}, {"1: [b] MatEvalBug (depth) before 9.h3"}},
      {"a mate that comes nearer", mates("+M2/20 5s"), {d::kMatEvalBug}, {}},
      {"White not won", pgnGame(ruy(150, -150)), {d::kWinGmNotWon}, {"1: [w] WinGmNotWon after 3.Bb5"}, val100},
      {"White won", pgnGame(ruy(150, -150), "1-0"), {d::kWinGmNotWon}, {}, val100},
      {"Black saw less", pgnGame(ruy(150, -99)), {d::kWinGmNotWon}, {}, val100},
      {"Black lost", pgnGame(ruy(-150, 150), "1-0"), {d::kWinGmNotWon}, {"1: [b] WinGmNotWon after 3...a6"}, val100},
  });
}

// The Ruy Lopez with the first plies from the book (no comment), then evaluations.
std::string afterBook(const std::map<int, int>& values, int bookPlies = 10) {
  return pgnGame(movetext(kRuyLopez, [&](int ply) -> std::string {
    if (ply <= bookPlies) return "";
    const auto found = values.find(ply);
    return evalComment(found == values.end() ? 0 : found->second);
  }));
}

std::string susp(int value, const char* who, const char* seq, const char* p, const char* after) {
  return std::string("1: [") + (std::string(after).find("...") != std::string::npos ? "b" : "w") + "] SuspOpening (op. val= " +
         std::to_string(value) + " calculated for " + who + " by " + seq + " seq. with p= " + p +
         " is out of ]-100;100[) after " + after;
}

const char* const kNoBook = "> Please load a book if you want to compare this suspect opening with statistical results\n";

TEST(SuspOpening, WeightedOpeningValueOfTheFirstPliesAfterTheBook) {
  const auto cfg = [](int n, int col = 2, int p2 = 0, int p3 = 0) {
    return [=](DetectionEntry& e) { e.p1 = n, e.colourSelection = col, e.p2 = p2, e.p3 = p3; };
  };
  // q = 1: weights 1..6; White 100x1 + 200x3 + 300x5 = 2200 / 9, Black -60 x 12 / 12.
  const std::string rising = afterBook({{11, 100}, {12, -60}, {13, 200}, {14, -60}, {15, 300}, {16, -60}});
  // Second book exit at ply 18 after an unevaluated ply 17.
  const std::string twoExits = pgnGame(movetext(kRuyLopez, [](int ply) -> std::string {
    return ply <= 10 || ply == 17 ? "" : evalComment(ply % 2 == 1 ? 500 : -500);
  }));
  const std::string blackFirst = pgnGame("1... e5 {-2.00/12 5s} 2. Nf3 {+2.00/12 5s} Nc6 {-2.00/12 5s} 3. Bb5 {+2.00/12 5s}",
                                         "1/2-1/2",
                                         "[SetUp \"1\"]\n[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1\"]\n");
  std::vector<test::RuleCase> cases = {
      // n = 6 from ply 11: acts at ply 16; (450 + 450) / 6.
      {"plies 11..16", afterBook({{11, 150}, {12, -150}, {13, 150}, {14, -150}, {15, 150}, {16, -150}}),
       {d::kSuspOpening}, {susp(150, "W&B", "arithmetic", "0.0", "8...O-O")}, cfg(6)},
      {"quiet", afterBook({{11, 50}, {12, -50}, {13, 50}, {14, -50}, {15, 50}, {16, -50}}), {d::kSuspOpening}, {}, cfg(6)},
      {"arithmetic W&B", rising, {d::kSuspOpening}, {susp(139, "W&B", "arithmetic", "1.0", "8...O-O")}, cfg(6, 2, 0, 10)},
      {"arithmetic White", rising, {d::kSuspOpening}, {susp(244, "White", "arithmetic", "1.0", "8...O-O")},
       cfg(6, 1, 0, 10)},
      {"Black's own view 60", rising, {d::kSuspOpening}, {}, cfg(6, 0, 0, 10)},
      // q = 2: weights 1..32; 6300 / 63 = 100 is not inside ]-100;100[.
      {"geometric", afterBook({{11, 100}, {12, -100}, {13, 100}, {14, -100}, {15, 100}, {16, -100}}), {d::kSuspOpening},
       {susp(100, "W&B", "geometric", "2.0", "8...O-O")}, cfg(6, 2, 1, 20)},
      {"no book moves", pgnGame(ruy(900, -900)), {d::kSuspOpening}, {}, cfg(6)},
      {"once per game", twoExits, {d::kSuspOpening}, {susp(500, "W&B", "arithmetic", "0.0", "6.Re1")}, cfg(1)},
      {"Black has no counted ply", afterBook({{11, 900}}), {d::kSuspOpening}, {}, cfg(1, 0)},
      {"White has no counted ply", afterBook({{12, 900}}, 11), {d::kSuspOpening}, {}, cfg(1, 1)},
      {"weights 1 and -1 cancel", afterBook({{11, 900}, {12, 900}}), {d::kSuspOpening}, {}, cfg(2, 2, 0, -20)},
      {"the empty first ply of Black's start is no book move", blackFirst, {d::kSuspOpening}, {}, cfg(1)},
  };
  for (int col : {-1, 3, 7}) cases.push_back({"colours outside 0..2", afterBook({{11, 900}}), {d::kSuspOpening}, {}, cfg(1, col)});
  expectReports(cases);
}

TEST(SuspOpening, ACountBelow1IsUsedAs1WithAMessageAtEveryPlyThatReachesIt) {
  const auto run = runRule(afterBook({{11, 150}}), d::kSuspOpening);
  EXPECT_EQ(run.reports, Lines{susp(150, "W&B", "arithmetic", "0.0", "6.Re1")});
  EXPECT_NE(run.console.find(kNoBook), std::string::npos);
  const std::string message = "> the number of counted halfmoves can't be less than 1. Value changed to 1\n";
  std::size_t count = 0;
  for (std::size_t at = run.console.find(message); at != std::string::npos; at = run.console.find(message, at + 1)) ++count;
  EXPECT_EQ(count, 11u) << "plies 1 to 11, until the rule has acted";
}

// A book that knows the position before 6.Re1 with Nc3 (30 games) and possibly Re1.
void loadRuyBook(App& app, bool withRe1) {
  generateBookTables(app.book);
  Board board;
  parseFen(board, "r1bqk2r/1pppbppp/p1n2n2/4p3/B3P3/5N2/PPPP1PPP/RNBQ1RK1 w kq - 4 6");
  const BookKeys keys = app.book.computeBookKeys(board, kWhite);
  std::unique_ptr<BookEntry[]> table(new BookEntry[4]);
  BookEntry& nc3 = table[1];
  nc3.key = keys.key, nc3.lock = keys.lock, nc3.from = 57, nc3.to = 42, nc3.n = 30;  // b1c3
  table[2] = nc3;
  table[2].from = 61, table[2].to = 60, table[2].n = 12, table[2].pc = 75, table[2].oppElo = 2500, table[2].myElo = 2600;
  app.book.adoptEntries(std::move(table), withRe1 ? 2 : 1);
}

TEST(SuspOpening, WithABookTheMovesStatisticalGainFollowsWhenTheBookHasTheMove) {
  // 75 % against 2500 on average is a performance of 2693; the movers averaged 2600.
  for (bool withRe1 : {true, false}) {
    SCOPED_TRACE(withRe1);
    auto app = test::makeApp();
    loadRuyBook(*app, withRe1);
    const auto run = test::runRules(*app, afterBook({{11, 150}}), {d::kSuspOpening}, set(&DetectionEntry::p1, 1));
    Lines expected = {susp(150, "W&B", "arithmetic", "0.0", "6.Re1")};
    if (withRe1) expected.push_back("1: [Int. book] statistical gain for f1e1 : +93 elo (12 games)");
    EXPECT_EQ(run.reports, expected);
    EXPECT_EQ(run.console.find(kNoBook), std::string::npos);
  }
}

std::string shuffleGame(int plies, const std::string& result, const std::string& last = "+0.10/10 1s", int before = 10) {
  return pgnGame(movetext(test::cycle(plies), [&](int ply) {
                   return ply == plies ? last : evalComment(ply == plies - 1 ? before : 10, 10, 1);
                 }),
                 result);
}

// King and rook against king, shuffling: every ply evaluated 0.00 except the given ones.
std::string rookEnding(int plies, const std::map<int, int>& values, const std::string& result, const std::string& piece = "R") {
  const auto moves = test::cycle(plies, {piece + "a2", "Kg7", piece + "a1", "Kf7"});
  return pgnGame(movetext(moves, [&](int ply) {
                   const auto found = values.find(ply);
                   return evalComment(found == values.end() ? 0 : found->second, 10, 1);
                 }),
                 result, "[SetUp \"1\"]\n[FEN \"8/5k2/8/8/8/8/4K3/" + piece + "7 w - - 0 1\"]\n");
}

TEST(EvaluationRules, AbnormTermAndWinAfterDraw) {
  const std::string q = "1: [b] AbnormTerm (??\?) after 35...Nf6";
  std::string mated = shuffleGame(70, "1-0");
  mated.replace(mated.rfind("Nf6"), 3, "Nf6#");
  const std::string timeControl = pgnGame(movetext(test::cycle(70), [](int ply) {
    return ply == 1 ? "+0.10/10 1s, time control 40/60" : evalComment(10, 10, 1);
  }), "0-1");
  expectReports({
      {"70 plies", shuffleGame(70, "1-0"), {d::kAbnormTerm}, {q}},
      {"40 plies", shuffleGame(40, "1-0"), {d::kAbnormTerm}, {"1: [b] AbnormTerm (crash?) after 20...Ng8"}},
      {"49 plies", shuffleGame(49, "1-0"), {d::kAbnormTerm}, {"1: [w] AbnormTerm (crash?) after 25.Nf3"}},
      {"50 plies", shuffleGame(50, "1-0"), {d::kAbnormTerm}, {"1: [b] AbnormTerm (??\?) after 25...Nf6"}},
      {"90 plies", shuffleGame(90, "1-0"), {d::kAbnormTerm}, {"1: [b] AbnormTerm (??\?) after 45...Nf6"}},
      {"92 plies", shuffleGame(92, "1-0"), {d::kAbnormTerm}, {"1: [b] AbnormTerm (loss on time?) after 46...Ng8"}},
      {"loses on time", shuffleGame(70, "1-0", "+0.10/10 1s, Black loses on time"), {d::kAbnormTerm},
       {"1: [b] AbnormTerm (loss on time) after 35...Nf6"}},
      {"perte au temps", shuffleGame(70, "1-0", "+0.10/10 1s, perte au temps"), {d::kAbnormTerm},
       {"1: [b] AbnormTerm (loss on time) after 35...Nf6"}},
      {"illegal move", shuffleGame(70, "1-0", "+0.10/10 1s, illegal move"), {d::kAbnormTerm},
       {"1: [b] AbnormTerm (illegal move) after 35...Nf6"}},
      {"coup illegal, UTF-8", shuffleGame(70, "1-0", "+0.10/10 1s, coup ill\xC3\xA9gal"), {d::kAbnormTerm},
       {"1: [b] AbnormTerm (illegal move) after 35...Nf6"}},
      {"coup illegal, Latin-1", shuffleGame(70, "1-0", "+0.10/10 1s, coup ill\xE9gal"), {d::kAbnormTerm},
       {"1: [b] AbnormTerm (illegal move) after 35...Nf6"}},
      {"a time word far from the end", timeControl, {d::kAbnormTerm}, {q}},
      {"a draw", shuffleGame(70, "1/2-1/2"), {d::kAbnormTerm}, {}},
      {"unbalanced at the end", shuffleGame(70, "1-0", "+3.00/10 1s"), {d::kAbnormTerm}, {}},
      {"unbalanced before the end", shuffleGame(70, "1-0", "+0.10/10 1s", -300), {d::kAbnormTerm}, {}},
      {"no last evaluation", shuffleGame(70, "1-0", ""), {d::kAbnormTerm}, {}},
      {"mate mark", mated, {d::kAbnormTerm}, {}},
      // Ply 61: the clock before it is 60, 3 men, no queen; e(61) - e(53) = 200.
      {"won after a quiet endgame", rookEnding(62, {{61, 200}}, "1-0"), {d::kWinAfterDraw},
       {"1: [w] WinAfterDraw after 31.Ra2"}},
      {"drawn", rookEnding(62, {{61, 200}}, "1/2-1/2"), {d::kWinAfterDraw}, {}},
      {"a rise of 99", rookEnding(62, {{61, 99}}, "1-0"), {d::kWinAfterDraw}, {}},
      {"not near zero before", rookEnding(62, {{61, 200}, {41, 61}}, "1-0"), {d::kWinAfterDraw}, {}},
      {"a queen", rookEnding(62, {{61, 200}}, "1-0", "Q"), {d::kWinAfterDraw}, {}},
      {"ply 59 is not beyond 60", rookEnding(60, {{59, 200}}, "1-0"), {d::kWinAfterDraw}, {}},
  });
}

std::string ratedGame(const std::string& result, const std::string& whiteElo, const std::string& blackElo) {
  return pgnGame("1. e4 e5 2. Nf3", result, "[WhiteElo \"" + whiteElo + "\"]\n[BlackElo \"" + blackElo + "\"]\n");
}

TEST(BestPerf, AResultFarBetterThanTheRatingsLetExpect) {
  const auto val = [](int v) { return set(&DetectionEntry::value, v); };
  expectReports({
      {"win +200, val 0", ratedGame("1-0", "2500", "2700"), {d::kBestPerf}, {"1: [w] BestPerf (A +200) after 2.Nf3"}, val(0)},
      {"win +200, val 200", ratedGame("1-0", "2500", "2700"), {d::kBestPerf}, {"1: [w] BestPerf (A +200) after 2.Nf3"},
       val(200)},
      {"win +200, val 201", ratedGame("1-0", "2500", "2700"), {d::kBestPerf}, {}, val(201)},
      {"Black wins +200", ratedGame("0-1", "2700", "2500"), {d::kBestPerf}, {"1: [w] BestPerf (B +200) after 2.Nf3"},
       val(200)},
      {"the stronger wins", ratedGame("0-1", "2500", "2700"), {d::kBestPerf}, {}, val(0)},
      {"draw +150", ratedGame("1/2-1/2", "2500", "2650"), {d::kBestPerf}, {"1: [w] BestPerf (A +150) after 2.Nf3"},
       val(50)},
      {"draw +149", ratedGame("1/2-1/2", "2500", "2649"), {d::kBestPerf}, {}, val(50)},
      {"draw 0,5-0,5", ratedGame("0,5-0,5", "2650", "2500"), {d::kBestPerf}, {"1: [w] BestPerf (B +150) after 2.Nf3"},
       val(50)},
      {"no result", ratedGame("*", "2500", "2900"), {d::kBestPerf}, {}, val(0)},
      {"no Black rating", ratedGame("1-0", "2500", ""), {d::kBestPerf}, {}, val(0)},
      {"val -1", ratedGame("1-0", "2500", "2900"), {d::kBestPerf}, {}, val(-1)},
  });
}

TEST(BestPerf, TheRatingsUsedReplaceTheEloTags) {
  auto app = test::makeApp();
  test::runRules(*app, ratedGame("1/2-1/2", "2500 (est.)", "+2510"), {d::kBestPerf});
  EXPECT_EQ(app->game.tags.value(kTagWhiteElo), "2500");
  EXPECT_EQ(app->game.tags.value(kTagBlackElo), "2510");
  // Without both ratings the tags stay as they are.
  test::runRules(*app, ratedGame("1-0", "0", "2510x"), {d::kBestPerf});
  EXPECT_EQ(app->game.tags.value(kTagWhiteElo), "0");
  EXPECT_EQ(app->game.tags.value(kTagBlackElo), "2510x");
}

}  // namespace
}  // namespace kestrova
