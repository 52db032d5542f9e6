// The rules on the board and the course of the game, each on hand-made games whose expected
// reports follow from the rule's text.
#include <gtest/gtest.h>

#include "chess/fen.hpp"
#include "scan/board_rules.hpp"
#include "scan/scan_support.hpp"

namespace kestrova {
namespace {

using test::cycle;
using test::movetext;
using test::pgnGame;
using test::runRule;
using test::runRules;
using Lines = std::vector<std::string>;

std::string fromPosition(const std::string& fen, const std::string& moves, const std::string& result = "1/2-1/2") {
  return pgnGame(moves, result, "[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n");
}

// The kings step aside and back: 1.Kd1 Kd8 2.Ke1 Ke8.
const char* const kKingsStep = "1. Kd1 Kd8 2. Ke1 Ke8";

// ---- Pawn shapes and storms

TEST(PawnShapes, ADiamondIsReportedOnceAtTheFirstPlyItStandsOnTheBoard) {
  const std::string game = fromPosition("4k3/8/2P5/1P1P4/2P5/8/8/4K3 w - - 0 1", kKingsStep);
  EXPECT_EQ(runRule(game, detection::kDiamond).reports, Lines{"1: [w] Diamond after 1.Kd1"});
  EXPECT_EQ(runRule(game, detection::kDiamond, [](DetectionEntry& e) { e.maxOccurrences = 2; }).reports,
            (Lines{"1: [w] Diamond after 1.Kd1", "1: [w] Diamond after 1...Kd8"}));
  // Without the pawn on c6 there is no diamond.
  EXPECT_EQ(runRule(fromPosition("4k3/8/8/1P1P4/2P5/8/8/4K3 w - - 0 1", kKingsStep), detection::kDiamond).reports, Lines{});
}

TEST(PawnShapes, PawnsOnOneFile) {
  const std::vector<int> both = {detection::kPawn1x3, detection::kPawn1x4};
  EXPECT_EQ(runRules(fromPosition("4k3/8/8/8/3P4/3P4/3P4/4K3 w - - 0 1", kKingsStep), both).reports,
            Lines{"1: [w] Pawn1x3 after 1.Kd1"});
  EXPECT_EQ(runRules(fromPosition("4k3/8/8/3P4/3P4/3P4/3P4/4K3 w - - 0 1", kKingsStep), both).reports,
            (Lines{"1: [w] Pawn1x3 after 1.Kd1", "1: [w] Pawn1x4 after 1.Kd1"}));
  // The masks are not mirrored: three Black pawns d7, d6, d5 fit the shape anchored at d5.
  EXPECT_EQ(runRules(fromPosition("4k3/3p4/3p4/3p4/8/8/8/4K3 w - - 0 1", kKingsStep), both).reports,
            Lines{"1: [b] Pawn1x3 after 1.Kd1"});
  // Two pawns and a gap are no shape.
  EXPECT_EQ(runRules(fromPosition("4k3/8/8/3P4/8/3P4/3P4/4K3 w - - 0 1", kKingsStep), both).reports, Lines{});
}

TEST(PawnShapes, ASquareOfFourPawns) {
  EXPECT_EQ(runRule(fromPosition("4k3/8/8/2PP4/2PP4/8/8/4K3 w - - 0 1", kKingsStep), detection::kPawn2x2).reports,
            Lines{"1: [w] Pawn2x2 after 1.Kd1"});
  EXPECT_EQ(runRule(fromPosition("4k3/8/8/2PP4/2P1P3/8/8/4K3 w - - 0 1", kKingsStep), detection::kPawn2x2).reports,
            Lines{});
}

TEST(PawnStorm, ThreePawnsTogetherWithNoOpposingPawnAhead) {
  EXPECT_EQ(runRule(fromPosition("4k3/8/8/5PPP/8/8/8/4K3 w - - 0 1", kKingsStep), detection::kPawnStorm).reports,
            Lines{"1: [w] PawnStorm after 1.Kd1"});
  // A Black pawn on h7 stands ahead of the storm.
  EXPECT_EQ(runRule(fromPosition("4k3/7p/8/5PPP/8/8/8/4K3 w - - 0 1", kKingsStep), detection::kPawnStorm).reports,
            Lines{});
  // Rank 4 is not far enough for White.
  EXPECT_EQ(runRule(fromPosition("4k3/8/8/8/5PPP/8/8/4K3 w - - 0 1", kKingsStep), detection::kPawnStorm).reports,
            Lines{});
  EXPECT_EQ(runRule(fromPosition("4k3/8/8/8/1ppp4/8/8/4K3 w - - 0 1", kKingsStep), detection::kPawnStorm).reports,
            Lines{"1: [b] PawnStorm after 1.Kd1"});
}

TEST(PawnStorm, APawnOnTheAFileNeverAnchorsAStorm) {
  EXPECT_EQ(runRule(fromPosition("4k3/8/P7/P7/P7/8/8/4K3 w - - 0 1", kKingsStep), detection::kPawnStorm).reports,
            Lines{});
  EXPECT_EQ(runRule(fromPosition("4k3/8/1P6/1P6/1P6/8/8/4K3 w - - 0 1", kKingsStep), detection::kPawnStorm).reports,
            Lines{"1: [w] PawnStorm after 1.Kd1"});
}

// The shapes by their definition on files f and ranks r (1..8), for a whole board of pawns.
Bitboard anchorsByDefinition(int shape, Bitboard pawns) {
  auto has = [&](int f, int r) {
    return f >= 1 && f <= 8 && r >= 1 && r <= 8 && (pawns & squareBit((8 - r) * 8 + (f - 1))) != 0;
  };
  Bitboard anchors = 0;
  for (int f = 1; f <= 8; ++f) {
    for (int r = 1; r <= 8; ++r) {
      bool all = false;
      switch (shape) {
        case detection::kDiamond: all = has(f, r) && has(f - 1, r + 1) && has(f + 1, r + 1) && has(f, r + 2); break;
        case detection::kPawn1x3: all = has(f, r) && has(f, r + 1) && has(f, r + 2); break;
        case detection::kPawn1x4: all = has(f, r) && has(f, r + 1) && has(f, r + 2) && has(f, r + 3); break;
        case detection::kPawn2x2: all = has(f, r) && has(f + 1, r) && has(f, r + 1) && has(f + 1, r + 1); break;
      }
      if (all) anchors |= squareBit((8 - r) * 8 + (f - 1));
    }
  }
  return anchors;
}

// A small deterministic generator for random boards.
struct Random {
  std::uint64_t state = 88172645463325252ULL;
  std::uint64_t next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
};

TEST(PawnShapes, AnchorsFoundForAllSquaresAtOnceAreThoseOfTheDefinitionAndOfTheTables) {
  const auto tables = buildAttackTables();
  const AttackTables::SquareMasks* masks[] = {&tables->diamond, &tables->pawn1x3, &tables->pawn1x4, &tables->pawn2x2};
  const int shapes[] = {detection::kDiamond, detection::kPawn1x3, detection::kPawn1x4, detection::kPawn2x2};
  Random random;
  for (int trial = 0; trial < 3000; ++trial) {
    // Dense boards, so that every shape occurs, also at the edges.
    const Bitboard pawns = random.next() | random.next();
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

TEST(PawnStorm, TheStoppersOfAllSquaresAtOnceAreThoseOfTheStormZones) {
  const auto tables = buildAttackTables();
  Random random;
  for (int trial = 0; trial < 3000; ++trial) {
    const Bitboard opposing = random.next() & random.next() & random.next();
    for (int side : {kWhite, kBlack}) {
      Bitboard expected = 0;
      for (int s = 0; s < 64; ++s) {
        const int f = s % 8 + 1, r = 8 - s / 8;
        // Files f-2..f+2 (clipped), White: ranks r..8, Black: ranks 1..r, by coordinates.
        bool stopped = false;
        for (int other = 0; other < 64; ++other) {
          const int of = other % 8 + 1, orank = 8 - other / 8;
          const bool inZone = of >= f - 2 && of <= f + 2 && (side == kWhite ? orank >= r : orank <= r);
          stopped |= inZone && (opposing & squareBit(other));
        }
        if (stopped) expected |= squareBit(s);
        ASSERT_EQ((tables->stormZone[side][s] & opposing) != 0, stopped) << "table, square " << s;
      }
      ASSERT_EQ(stormStoppers(side, opposing), expected) << side << " " << opposing;
    }
  }
}

// ---- Confusion

int indexOf(const std::string& fen) {
  Board board;
  parseFen(board, fen);
  return confusionIndex(*buildAttackTables(), board);
}

TEST(Confusion, TheIndexCountsMenBehindAndAmongTheOpponentsAndFarForward) {
  EXPECT_EQ(indexOf("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), 0);
  // Ra8 has the Black rook a1 below it on its file (5) and stands on rank 8 (4); Re7 rank 7 (4);
  // Pe3 sees Nd2 on the two ranks below (1). Ra1 has Ra8 above (5), rank 1 (4); Nd2 sees Pe3 on
  // the two ranks above (1), rank 2 (4); the kings add nothing.
  EXPECT_EQ(indexOf("R6k/4R3/8/8/8/4P3/3n4/r3K3 w - - 0 1"), 28);
  // A knight on the fifth rank: 2.
  EXPECT_EQ(indexOf("r1bqkbnr/pppppppp/2n5/3N4/8/8/PPPPPPPP/R1BQKBNR b KQkq - 0 1"), 2);
}

// The index by the rule's words, man by man, on files f and ranks r.
int indexByDefinition(Bitboard white, Bitboard black) {
  auto at = [](Bitboard men, int f, int r) {
    return f >= 1 && f <= 8 && r >= 1 && r <= 8 && (men & squareBit((8 - r) * 8 + (f - 1))) != 0;
  };
  int index = 0;
  for (int f = 1; f <= 8; ++f) {
    for (int r = 1; r <= 8; ++r) {
      if (at(white, f, r)) {
        bool behind = false;
        for (int below = r - 1; below >= 1; --below) behind |= at(black, f, below);
        if (behind) {
          index += 5;
        } else if (r != 1) {
          for (int df = -1; df <= 1; ++df) index += at(black, f + df, r - 1) + at(black, f + df, r - 2);
        }
        index += r >= 6 ? 4 : r == 5 ? 2 : 0;
      }
      if (at(black, f, r)) {
        bool behind = false;
        for (int above = r + 1; above <= 8; ++above) behind |= at(white, f, above);
        if (behind) {
          index += 5;
        } else if (r != 8) {
          for (int df = -1; df <= 1; ++df) index += at(white, f + df, r + 1) + at(white, f + df, r + 2);
        }
        index += r <= 3 ? 4 : r == 4 ? 2 : 0;
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
  // The index is 2 after 2.Nd5 (ply 3) and 2...e6 (ply 4, below ply 5 the last index is reset to
  // 0), 4 after 3.Nb6 (rank 6), still 4 after 3...d6.
  const std::string game = pgnGame("1. Nc3 Nf6 2. Nd5 e6 3. Nb6 d6");
  EXPECT_EQ(runRule(game, detection::kConfusion, [](DetectionEntry& e) { e.minValue = 1, e.maxOccurrences = 5; }).reports,
            (Lines{"1: [b] Confusion (ind=2) after 2.Nd5", "1: [b] Confusion (ind=2) after 2...e6",
                   "1: [b] Confusion (ind=4) after 3.Nb6"}));
  EXPECT_EQ(runRule(game, detection::kConfusion, [](DetectionEntry& e) { e.minValue = 3, e.maxOccurrences = 5; }).reports,
            Lines{"1: [b] Confusion (ind=4) after 3.Nb6"});
  EXPECT_EQ(runRule(game, detection::kConfusion,
                    [](DetectionEntry& e) { e.minValue = 1, e.maxValue = 3, e.maxOccurrences = 5; }).reports,
            (Lines{"1: [b] Confusion (ind=2) after 2.Nd5", "1: [b] Confusion (ind=2) after 2...e6"}));
  EXPECT_EQ(runRule(game, detection::kConfusion, [](DetectionEntry& e) { e.minValue = 1; }).reports,
            Lines{"1: [b] Confusion (ind=2) after 2.Nd5"});
  // The default window starts at 50.
  EXPECT_EQ(runRule(game, detection::kConfusion).reports, Lines{});
}

TEST(Confusion, MinOccurrencesDelayTheReport) {
  // mno 2: ply 3 only counts; ply 4 (index 2, still above the last reported 0) counts and reports.
  const std::string game = pgnGame("1. Nc3 Nf6 2. Nd5 e6 3. Nb6");
  EXPECT_EQ(runRule(game, detection::kConfusion,
                    [](DetectionEntry& e) { e.minValue = 1, e.maxOccurrences = 5, e.minOccurrences = 2; }).reports,
            (Lines{"1: [b] Confusion (ind=2) after 2...e6", "1: [b] Confusion (ind=4) after 3.Nb6"}));
}

TEST(Confusion, FewerThan20MenAreNeverConfused) {
  EXPECT_EQ(runRule(fromPosition("R6k/4R3/8/8/8/4P3/3n4/r3K3 w - - 0 1", "1. Kd1"), detection::kConfusion,
                    [](DetectionEntry& e) { e.minValue = 1; }).reports,
            Lines{});
}

// ---- CrazyKing

TEST(CrazyKing, AKingFarFromHomeWhileTheOpponentsQueenIsOnTheBoard) {
  EXPECT_EQ(runRule(fromPosition("rnbqkbnr/pppppppp/8/8/8/4K3/PPPPPPPP/RNBQ1BNR w kq - 0 1", "1. a3 a6"),
                    detection::kCrazyKing).reports,
            Lines{"1: [w] CrazyKing after 1.a3"});
  EXPECT_EQ(runRule(fromPosition("rnbqkbnr/pppppppp/8/8/8/5K2/PPPPPPPP/RNBQ1BNR w kq - 0 1", "1. a3 a6"),
                    detection::kCrazyKing).reports,
            Lines{});
  EXPECT_EQ(runRule(fromPosition("rnbq1bnr/pppppppp/4k3/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1", "1. a3 a6"),
                    detection::kCrazyKing).reports,
            Lines{"1: [b] CrazyKing after 1.a3"});
  // Without the Black queen the White king may walk.
  EXPECT_EQ(runRule(fromPosition("rnb1kbnr/pppppppp/8/8/8/4K3/PPPPPPPP/RNBQ1BNR w kq - 0 1", "1. a3 a6"),
                    detection::kCrazyKing).reports,
            Lines{});
}

// ---- ExceedingPc

TEST(ExceedingPc, WithVal0TheNormalSetAlreadyCounts) {
  EXPECT_EQ(runRule(pgnGame("1. e4 e5"), detection::kExceedingPc).reports,
            (Lines{"1: [w] ExceedingPc (Q) after 1.e4", "1: [w] ExceedingPc (R) after 1.e4",
                   "1: [w] ExceedingPc (B) after 1.e4", "1: [w] ExceedingPc (N) after 1.e4",
                   "1: [b] ExceedingPc (Q) after 1.e4", "1: [b] ExceedingPc (R) after 1.e4",
                   "1: [b] ExceedingPc (B) after 1.e4", "1: [b] ExceedingPc (N) after 1.e4"}));
  // mno 2: the first count of each side reports nothing.
  EXPECT_EQ(runRule(pgnGame("1. e4 e5"), detection::kExceedingPc, [](DetectionEntry& e) { e.minOccurrences = 2; }).reports,
            (Lines{"1: [w] ExceedingPc (R) after 1.e4", "1: [w] ExceedingPc (B) after 1.e4",
                   "1: [w] ExceedingPc (N) after 1.e4", "1: [b] ExceedingPc (R) after 1.e4",
                   "1: [b] ExceedingPc (B) after 1.e4", "1: [b] ExceedingPc (N) after 1.e4"}));
}

TEST(ExceedingPc, ASurplusQueenCountsOnlyAgainstAQueen) {
  const auto val1 = [](DetectionEntry& e) { e.value = 1; };
  EXPECT_EQ(runRule(pgnGame("1. e4 e5"), detection::kExceedingPc, val1).reports, Lines{});
  EXPECT_EQ(runRule(fromPosition("3qk3/8/8/8/8/8/8/QQ2K3 w - - 0 1", "1. Kf2"), detection::kExceedingPc, val1).reports,
            Lines{"1: [w] ExceedingPc (Q) after 1.Kf2"});
  EXPECT_EQ(runRule(fromPosition("4k3/8/8/8/8/8/8/QQ2K3 w - - 0 1", "1. Kf2"), detection::kExceedingPc, val1).reports,
            Lines{});
}

// ---- MvWeakCastle

const char* const kItalian = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. O-O Nf6 ";

TEST(MvWeakCastle, APawnRushedInFrontOfTheCastledKing) {
  EXPECT_EQ(runRule(pgnGame(std::string(kItalian) + "5. g4"), detection::kMvWeakCastle).reports,
            Lines{"1: [w] MvWeakCastle after 5.g4"});
  // The h-pawn is weakening when no pawn of the mover defends h4.
  EXPECT_EQ(runRule(pgnGame(std::string(kItalian) + "5. h4"), detection::kMvWeakCastle).reports,
            Lines{"1: [w] MvWeakCastle after 5.h4"});
  EXPECT_EQ(runRule(pgnGame(std::string(kItalian) + "5. g3 d6 6. h4"), detection::kMvWeakCastle).reports, Lines{});
  EXPECT_EQ(runRule(pgnGame(std::string(kItalian) + "5. d4"), detection::kMvWeakCastle).reports, Lines{});
  // 32 men are fewer than val 33.
  EXPECT_EQ(runRule(pgnGame(std::string(kItalian) + "5. g4"), detection::kMvWeakCastle,
                    [](DetectionEntry& e) { e.value = 33; }).reports,
            Lines{});
}

// ---- OppCastles

TEST(OppCastles, CastlingToTheOtherWingThanTheOpponent) {
  EXPECT_EQ(runRule(pgnGame("1. e4 e5 2. Nf3 Nc6 3. Bc4 d6 4. O-O Be6 5. d3 Qd7 6. Nc3 O-O-O"), detection::kOppCastles).reports,
            Lines{"1: [b] OppCastles after 6...O-O-O"});
  EXPECT_EQ(runRule(pgnGame("1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. O-O Nf6 5. d3 O-O"), detection::kOppCastles).reports,
            Lines{});
}

// ---- Game length

std::string shuffle(int plies, const std::string& result = "1/2-1/2") { return pgnGame(movetext(cycle(plies)), result); }

TEST(GameLength, VeryShortAndVeryLongGames) {
  EXPECT_EQ(runRule(shuffle(40), detection::kVeryShortGame).reports, Lines{"1: [b] VeryShortGame (20 mv) after 20...Ng8"});
  EXPECT_EQ(runRule(shuffle(41), detection::kVeryShortGame).reports, Lines{});
  const auto val5 = [](DetectionEntry& e) { e.value = 5; };
  EXPECT_EQ(runRule(shuffle(10), detection::kVeryLongGame, val5).reports, Lines{"1: [b] VeryLongGame (5 mv) after 5...Nf6"});
  EXPECT_EQ(runRule(shuffle(11), detection::kVeryLongGame, val5).reports, Lines{"1: [w] VeryLongGame (6 mv) after 6.Ng1"});
  EXPECT_EQ(runRule(shuffle(9), detection::kVeryLongGame, val5).reports, Lines{});
}

TEST(GameLength, TooFewMovesWithVal0ReportsOnlyGamesWithoutMoves) {
  EXPECT_EQ(runRule(pgnGame(""), detection::kTooFewMoves).reports, Lines{"1: [b] TooFewMoves (crash?)  0..."});
  EXPECT_EQ(runRule(shuffle(1), detection::kTooFewMoves).reports, Lines{});
  const auto val2 = [](DetectionEntry& e) { e.value = 2; };
  EXPECT_EQ(runRule(shuffle(4), detection::kTooFewMoves, val2).reports, Lines{"1: [b] TooFewMoves (crash?) after 2...Ng8"});
  EXPECT_EQ(runRule(shuffle(5), detection::kTooFewMoves, val2).reports, Lines{});
  // A game that starts with Black to move and has no moves is a game without moves as well.
  EXPECT_EQ(runRule(fromPosition("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", ""),
                    detection::kTooFewMoves).reports,
            Lines{"1: [b] TooFewMoves (crash?)  0..."});
}

// ---- Draw50RuleBrk

std::string rookShuffle(int plies) {
  return fromPosition("8/5k2/8/8/8/8/4K3/R7 w - - 0 1", movetext(cycle(plies, {"Ra2", "Kg7", "Ra1", "Kf7"})));
}

TEST(Draw50RuleBrk, TheClockReaching100) {
  EXPECT_EQ(runRule(rookShuffle(100), detection::kDraw50RuleBrk).reports, Lines{"1: [b] Draw50RuleBrk after 50...Kf7"});
  // The game went on: the violation line follows, and a clock past 100 reports no more.
  EXPECT_EQ(runRule(rookShuffle(103), detection::kDraw50RuleBrk).reports,
            (Lines{"1: [b] Draw50RuleBrk after 50...Kf7", "1: 50 moves rule violation !"}));
  EXPECT_EQ(runRule(rookShuffle(99), detection::kDraw50RuleBrk).reports, Lines{});
}

// ---- Draw3xRuleBrk

TEST(Draw3xRuleBrk, TheThirdOccurrenceOfAPositionNotCountingTheStart) {
  // After ply 8 the start position stands for the third time, but the start does not count.
  EXPECT_EQ(runRule(shuffle(8), detection::kDraw3xRuleBrk).reports, Lines{});
  EXPECT_EQ(runRule(shuffle(9), detection::kDraw3xRuleBrk).reports, Lines{"1: [w] Draw3xRuleBrk after 5.Nf3"});
  EXPECT_EQ(runRule(shuffle(10), detection::kDraw3xRuleBrk).reports,
            (Lines{"1: [w] Draw3xRuleBrk after 5.Nf3", "1: 3 repetitions rule violation !",
                   "1: [b] Draw3xRuleBrk after 5...Nf6"}));
}

TEST(Draw3xRuleBrk, EveryLaterRepetitionReportsAgain) {
  const auto run = runRule(shuffle(13), detection::kDraw3xRuleBrk);
  EXPECT_EQ(run.reports, (Lines{"1: [w] Draw3xRuleBrk after 5.Nf3", "1: 3 repetitions rule violation !",
                                "1: [b] Draw3xRuleBrk after 5...Nf6", "1: 3 repetitions rule violation !",
                                "1: [w] Draw3xRuleBrk after 6.Ng1", "1: 3 repetitions rule violation !",
                                "1: [b] Draw3xRuleBrk after 6...Ng8", "1: 3 repetitions rule violation !",
                                "1: [w] Draw3xRuleBrk after 7.Nf3"}));
}

TEST(Draw3xRuleBrk, APawnMoveBetweenMakesOtherPositions) {
  // Nf3 Nf6 Ng1 Ng8, a3, then the knights again: the positions after the pawn move are new.
  const std::string game = pgnGame("1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. a3 Nf6 6. Nf3 Ng8 7. Ng1 Nf6");
  EXPECT_EQ(runRule(game, detection::kDraw3xRuleBrk).reports, Lines{});
}

// ---- NoPlan

TEST(NoPlan, TheClockEqualToVal) {
  EXPECT_EQ(runRule(pgnGame("1. Nf3 Nf6 2. e4 e5 3. d4"), detection::kNoPlan).reports,
            (Lines{"1: [w] NoPlan before 2.e4", "1: [b] NoPlan before 2...e5"}));
  EXPECT_EQ(runRule(shuffle(8), detection::kNoPlan, [](DetectionEntry& e) { e.value = 3; }).reports,
            Lines{"1: [w] NoPlan before 2.Ng1"});
}

}  // namespace
}  // namespace kestrova
