// The rules on the board and the course of the game, on hand-made games whose expected reports
// follow from the rule's text.
#include <gtest/gtest.h>

#include <tuple>

#include "chess/fen.hpp"
#include "scan/board_rules.hpp"
#include "scan/scan_support.hpp"

namespace kestrova {
namespace {

using test::cycle;
using test::expectReports;
using test::movetext;
using test::pgnGame;
using Lines = test::Lines;
namespace d = detection;

// A game from a position; a bare placement gets " w - - 0 1".
std::string from(const std::string& fen, const std::string& moves = "1. Kd1 Kd8 2. Ke1 Ke8") {
  const std::string full = fen.find(' ') == std::string::npos ? fen + " w - - 0 1" : fen;
  return pgnGame(moves, "1/2-1/2", "[SetUp \"1\"]\n[FEN \"" + full + "\"]\n");
}

TEST(PawnShapes, ReportedOnceAtTheFirstPlyTheyStandOnTheBoard) {
  const std::vector<int> files = {d::kPawn1x3, d::kPawn1x4};
  expectReports({
      {"diamond", from("4k3/8/2P5/1P1P4/2P5/8/8/4K3"), {d::kDiamond}, {"1: [w] Diamond after 1.Kd1"}},
      {"diamond mxo 2", from("4k3/8/2P5/1P1P4/2P5/8/8/4K3"), {d::kDiamond},
       {"1: [w] Diamond after 1.Kd1", "1: [w] Diamond after 1...Kd8"}, [](DetectionEntry& e) { e.maxOccurrences = 2; }},
      {"no diamond without c6", from("4k3/8/8/1P1P4/2P5/8/8/4K3"), {d::kDiamond}, {}},
      {"three on a file", from("4k3/8/8/8/3P4/3P4/3P4/4K3"), files, {"1: [w] Pawn1x3 after 1.Kd1"}},
      {"four on a file", from("4k3/8/8/3P4/3P4/3P4/3P4/4K3"), files,
       {"1: [w] Pawn1x3 after 1.Kd1", "1: [w] Pawn1x4 after 1.Kd1"}},
      // The masks are not mirrored: d7, d6, d5 fit the shape anchored at d5.
      {"black file", from("4k3/3p4/3p4/3p4/8/8/8/4K3"), files, {"1: [b] Pawn1x3 after 1.Kd1"}},
      {"a gap", from("4k3/8/8/3P4/8/3P4/3P4/4K3"), files, {}},
      {"square", from("4k3/8/8/2PP4/2PP4/8/8/4K3"), {d::kPawn2x2}, {"1: [w] Pawn2x2 after 1.Kd1"}},
      {"no square", from("4k3/8/8/2PP4/2P1P3/8/8/4K3"), {d::kPawn2x2}, {}},
      {"storm", from("4k3/8/8/5PPP/8/8/8/4K3"), {d::kPawnStorm}, {"1: [w] PawnStorm after 1.Kd1"}},
      {"h7 stops the storm", from("4k3/7p/8/5PPP/8/8/8/4K3"), {d::kPawnStorm}, {}},
      {"rank 4 is too near", from("4k3/8/8/8/5PPP/8/8/4K3"), {d::kPawnStorm}, {}},
      {"black storm", from("4k3/8/8/8/1ppp4/8/8/4K3"), {d::kPawnStorm}, {"1: [b] PawnStorm after 1.Kd1"}},
      {"the a-file never anchors", from("4k3/8/P7/P7/P7/8/8/4K3"), {d::kPawnStorm}, {}},
      {"the b-file does", from("4k3/8/1P6/1P6/1P6/8/8/4K3"), {d::kPawnStorm}, {"1: [w] PawnStorm after 1.Kd1"}},
  });
}

bool at(Bitboard men, int f, int r) {
  return f >= 1 && f <= 8 && r >= 1 && r <= 8 && (men & squareBit((8 - r) * 8 + (f - 1))) != 0;
}

// The shapes by their definition, on files and ranks 1..8.
Bitboard anchorsByDefinition(int shape, Bitboard p) {
  Bitboard anchors = 0;
  for (int f = 1; f <= 8; ++f) {
    for (int r = 1; r <= 8; ++r) {
      const bool line3 = at(p, f, r) && at(p, f, r + 1) && at(p, f, r + 2);
      const bool all = shape == d::kDiamond   ? at(p, f, r) && at(p, f - 1, r + 1) && at(p, f + 1, r + 1) && at(p, f, r + 2)
                       : shape == d::kPawn1x3 ? line3
                       : shape == d::kPawn1x4 ? line3 && at(p, f, r + 3)
                                              : at(p, f, r) && at(p, f + 1, r) && at(p, f, r + 1) && at(p, f + 1, r + 1);
      if (all) anchors |= squareBit((8 - r) * 8 + (f - 1));
    }
  }
  return anchors;
}

struct Random {
  std::uint64_t state = 88172645463325252ULL;
  std::uint64_t next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
};

TEST(PawnShapes, AnchorsOfRandomBoardsAreThoseOfTheDefinitionAndOfTheTables) {
  const auto tables = buildAttackTables();
  const AttackTables::SquareMasks* masks[] = {&tables->diamond, &tables->pawn1x3, &tables->pawn1x4, &tables->pawn2x2};
  const int shapes[] = {d::kDiamond, d::kPawn1x3, d::kPawn1x4, d::kPawn2x2};
  Random random;
  for (int trial = 0; trial < 3000; ++trial) {
    const Bitboard pawns = random.next() | random.next();  // dense, so that shapes reach the edges
    for (int i = 0; i < 4; ++i) {
      const Bitboard expected = anchorsByDefinition(shapes[i], pawns);
      ASSERT_EQ(shapeAnchors(shapes[i], pawns), expected) << i << " " << pawns;
      Bitboard fromTables = 0;
      for (int s = 0; s < 64; ++s) {
        const Bitboard mask = (*masks[i])[s];
        if (mask != 0 && (mask & pawns) == mask) fromTables |= squareBit(s);
      }
      ASSERT_EQ(fromTables, expected) << i << " " << pawns;
    }
  }
}

TEST(PawnStorm, StoppersOfRandomBoardsAreThoseOfTheStormZones) {
  const auto tables = buildAttackTables();
  Random random;
  for (int trial = 0; trial < 3000; ++trial) {
    const Bitboard opposing = random.next() & random.next() & random.next();
    for (int side : {kWhite, kBlack}) {
      Bitboard expected = 0;
      for (int s = 0; s < 64; ++s) {
        // Files f-2..f+2; White: ranks r..8, Black: ranks 1..r.
        const int f = s % 8 + 1, r = 8 - s / 8;
        bool stopped = false;
        for (int of = f - 2; of <= f + 2; ++of) {
          for (int orank = 1; orank <= 8; ++orank) {
            stopped |= (side == kWhite ? orank >= r : orank <= r) && at(opposing, of, orank);
          }
        }
        if (stopped) expected |= squareBit(s);
        ASSERT_EQ((tables->stormZone[side][s] & opposing) != 0, stopped) << "table, square " << s;
      }
      ASSERT_EQ(stormStoppers(side, opposing), expected) << side << " " << opposing;
    }
  }
}

int indexOf(const std::string& fen) {
  Board board;
  parseFen(board, fen);
  return confusionIndex(*buildAttackTables(), board);
}

TEST(Confusion, TheIndexOfTheWorkedPositions) {
  EXPECT_EQ(indexOf("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), 0);
  // Ra8: rook a1 below (5) + rank 8 (4); Re7: 4; Pe3 sees Nd2 (1); Ra1: 5 + 4; Nd2: 1 + 4.
  EXPECT_EQ(indexOf("R6k/4R3/8/8/8/4P3/3n4/r3K3 w - - 0 1"), 28);
  EXPECT_EQ(indexOf("r1bqkbnr/pppppppp/2n5/3N4/8/8/PPPPPPPP/R1BQKBNR b KQkq - 0 1"), 2);
}

// The index by the rule's words, man by man; `up` is +1 for White, -1 for Black.
int indexByDefinition(Bitboard white, Bitboard black) {
  int index = 0;
  for (int f = 1; f <= 8; ++f) {
    for (int r = 1; r <= 8; ++r) {
      for (const auto& [own, other, up] : {std::tuple{white, black, 1}, std::tuple{black, white, -1}}) {
        if (!at(own, f, r)) continue;
        bool behind = false;
        for (int b = r - up; b >= 1 && b <= 8; b -= up) behind |= at(other, f, b);
        if (behind) {
          index += 5;
        } else if (r != (up == 1 ? 1 : 8)) {
          for (int df = -1; df <= 1; ++df) index += at(other, f + df, r - up) + at(other, f + df, r - 2 * up);
        }
        const int advance = up == 1 ? r : 9 - r;
        index += advance >= 6 ? 4 : advance == 5 ? 2 : 0;
      }
    }
  }
  return index;
}

TEST(Confusion, TheIndexOfRandomBoardsFollowsTheDefinition) {
  const auto tables = buildAttackTables();
  Random random;
  for (int trial = 0; trial < 3000; ++trial) {
    const Bitboard occupied = random.next() & random.next();
    const Bitboard white = occupied & random.next();
    Board board;
    board.colours[kWhite] = white;
    board.colours[kBlack] = occupied & ~white;
    board.occupied = occupied;
    ASSERT_EQ(confusionIndex(*tables, board), indexByDefinition(white, occupied & ~white)) << occupied << " " << white;
  }
}

TEST(Confusion, ReportsARisingIndexInsideTheWindowWithoutSide) {
  // Index 2 after 2.Nd5 and 2...e6 (before ply 5 the last index is reset to 0), 4 after 3.Nb6.
  const std::string game = pgnGame("1. Nc3 Nf6 2. Nd5 e6 3. Nb6 d6");
  const Lines all = {"1: [b] Confusion (ind=2) after 2.Nd5", "1: [b] Confusion (ind=2) after 2...e6",
                     "1: [b] Confusion (ind=4) after 3.Nb6"};
  expectReports({
      {"mnv 1", game, {d::kConfusion}, all, [](DetectionEntry& e) { e.minValue = 1, e.maxOccurrences = 5; }},
      {"mnv 3", game, {d::kConfusion}, {all[2]}, [](DetectionEntry& e) { e.minValue = 3, e.maxOccurrences = 5; }},
      {"mxv 3", game, {d::kConfusion}, {all[0], all[1]},
       [](DetectionEntry& e) { e.minValue = 1, e.maxValue = 3, e.maxOccurrences = 5; }},
      {"mxo 1", game, {d::kConfusion}, {all[0]}, [](DetectionEntry& e) { e.minValue = 1; }},
      {"the default window starts at 50", game, {d::kConfusion}, {}},
      // Ply 3 only counts; ply 4 (still above the last reported 0) counts and reports.
      {"mno 2", pgnGame("1. Nc3 Nf6 2. Nd5 e6 3. Nb6"), {d::kConfusion}, {all[1], all[2]},
       [](DetectionEntry& e) { e.minValue = 1, e.maxOccurrences = 5, e.minOccurrences = 2; }},
      {"fewer than 20 men", from("R6k/4R3/8/8/8/4P3/3n4/r3K3", "1. Kd1"), {d::kConfusion}, {},
       [](DetectionEntry& e) { e.minValue = 1; }},
  });
}

TEST(BoardRules, KingsMaterialAndCastling) {
  const auto val = [](int v) { return [v](DetectionEntry& e) { e.value = v; }; };
  const std::string italian = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. O-O Nf6 ";
  const std::string q = "] ExceedingPc (Q) after 1.e4", r = "] ExceedingPc (R) after 1.e4";
  const std::string b = "] ExceedingPc (B) after 1.e4", n = "] ExceedingPc (N) after 1.e4";
  expectReports({
      {"white king far from home", from("rnbqkbnr/pppppppp/8/8/8/4K3/PPPPPPPP/RNBQ1BNR w kq - 0 1", "1. a3 a6"),
       {d::kCrazyKing}, {"1: [w] CrazyKing after 1.a3"}},
      {"king on f3 is near", from("rnbqkbnr/pppppppp/8/8/8/5K2/PPPPPPPP/RNBQ1BNR w kq - 0 1", "1. a3 a6"),
       {d::kCrazyKing}, {}},
      {"black king far from home", from("rnbq1bnr/pppppppp/4k3/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1", "1. a3 a6"),
       {d::kCrazyKing}, {"1: [b] CrazyKing after 1.a3"}},
      {"no opposing queen", from("rnb1kbnr/pppppppp/8/8/8/4K3/PPPPPPPP/RNBQ1BNR w kq - 0 1", "1. a3 a6"),
       {d::kCrazyKing}, {}},
      {"val 0 counts the normal set", pgnGame("1. e4 e5"), {d::kExceedingPc},
       {"1: [w" + q, "1: [w" + r, "1: [w" + b, "1: [w" + n, "1: [b" + q, "1: [b" + r, "1: [b" + b, "1: [b" + n}},
      {"mno 2 skips each side's first count", pgnGame("1. e4 e5"), {d::kExceedingPc},
       {"1: [w" + r, "1: [w" + b, "1: [w" + n, "1: [b" + r, "1: [b" + b, "1: [b" + n},
       [](DetectionEntry& e) { e.minOccurrences = 2; }},
      {"val 1, normal set", pgnGame("1. e4 e5"), {d::kExceedingPc}, {}, val(1)},
      {"surplus queen against a queen", from("3qk3/8/8/8/8/8/8/QQ2K3", "1. Kf2"), {d::kExceedingPc},
       {"1: [w] ExceedingPc (Q) after 1.Kf2"}, val(1)},
      {"surplus queen without one", from("4k3/8/8/8/8/8/8/QQ2K3", "1. Kf2"), {d::kExceedingPc}, {}, val(1)},
      {"g4 before the castled king", pgnGame(italian + "5. g4"), {d::kMvWeakCastle}, {"1: [w] MvWeakCastle after 5.g4"}},
      {"h4 undefended", pgnGame(italian + "5. h4"), {d::kMvWeakCastle}, {"1: [w] MvWeakCastle after 5.h4"}},
      {"h4 defended by g3", pgnGame(italian + "5. g3 d6 6. h4"), {d::kMvWeakCastle}, {}},
      {"d4 is no wing pawn", pgnGame(italian + "5. d4"), {d::kMvWeakCastle}, {}},
      {"32 men are fewer than val 33", pgnGame(italian + "5. g4"), {d::kMvWeakCastle}, {}, val(33)},
      {"opposite wings", pgnGame("1. e4 e5 2. Nf3 Nc6 3. Bc4 d6 4. O-O Be6 5. d3 Qd7 6. Nc3 O-O-O"), {d::kOppCastles},
       {"1: [b] OppCastles after 6...O-O-O"}},
      {"same wing", pgnGame(italian + "5. d3 O-O"), {d::kOppCastles}, {}},
  });
}

std::string shuffle(int plies) { return pgnGame(movetext(cycle(plies))); }

std::string rookShuffle(int plies) {
  return from("8/5k2/8/8/8/8/4K3/R7", movetext(cycle(plies, {"Ra2", "Kg7", "Ra1", "Kf7"})));
}

TEST(CourseOfTheGame, LengthsClocksAndRepetitions) {
  const auto val = [](int v) { return [v](DetectionEntry& e) { e.value = v; }; };
  const std::string rep = "1: 3 repetitions rule violation !";
  expectReports({
      {"40 plies are very short", shuffle(40), {d::kVeryShortGame}, {"1: [b] VeryShortGame (20 mv) after 20...Ng8"}},
      {"41 plies are not", shuffle(41), {d::kVeryShortGame}, {}},
      {"10 plies, val 5", shuffle(10), {d::kVeryLongGame}, {"1: [b] VeryLongGame (5 mv) after 5...Nf6"}, val(5)},
      {"11 plies, val 5", shuffle(11), {d::kVeryLongGame}, {"1: [w] VeryLongGame (6 mv) after 6.Ng1"}, val(5)},
      {"9 plies, val 5", shuffle(9), {d::kVeryLongGame}, {}, val(5)},
      {"no moves", pgnGame(""), {d::kTooFewMoves}, {"1: [b] TooFewMoves (crash?)  0..."}},
      {"one move, val 0", shuffle(1), {d::kTooFewMoves}, {}},
      {"4 plies, val 2", shuffle(4), {d::kTooFewMoves}, {"1: [b] TooFewMoves (crash?) after 2...Ng8"}, val(2)},
      {"5 plies, val 2", shuffle(5), {d::kTooFewMoves}, {}, val(2)},
      {"no moves from Black to move",
       from("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", ""), {d::kTooFewMoves},
       {"1: [b] TooFewMoves (crash?)  0..."}},
      {"clock reaches 100", rookShuffle(100), {d::kDraw50RuleBrk}, {"1: [b] Draw50RuleBrk after 50...Kf7"}},
      {"clock past 100: the violation line once", rookShuffle(103), {d::kDraw50RuleBrk},
       {"1: [b] Draw50RuleBrk after 50...Kf7", "1: 50 moves rule violation !"}},
      {"clock 99", rookShuffle(99), {d::kDraw50RuleBrk}, {}},
      {"the start position does not count", shuffle(8), {d::kDraw3xRuleBrk}, {}},
      {"third occurrence", shuffle(9), {d::kDraw3xRuleBrk}, {"1: [w] Draw3xRuleBrk after 5.Nf3"}},
      {"every later repetition", shuffle(13), {d::kDraw3xRuleBrk},
       {"1: [w] Draw3xRuleBrk after 5.Nf3", rep, "1: [b] Draw3xRuleBrk after 5...Nf6", rep,
        "1: [w] Draw3xRuleBrk after 6.Ng1", rep, "1: [b] Draw3xRuleBrk after 6...Ng8", rep,
        "1: [w] Draw3xRuleBrk after 7.Nf3"}},
      {"a pawn move between makes new positions",
       pgnGame("1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. a3 Nf6 6. Nf3 Ng8 7. Ng1 Nf6"), {d::kDraw3xRuleBrk}, {}},
      {"no plan, val 0", pgnGame("1. Nf3 Nf6 2. e4 e5 3. d4"), {d::kNoPlan},
       {"1: [w] NoPlan before 2.e4", "1: [b] NoPlan before 2...e5"}},
      {"no plan, val 3", shuffle(8), {d::kNoPlan}, {"1: [w] NoPlan before 2.Ng1"}, val(3)},
  });
}

}  // namespace
}  // namespace kestrova
