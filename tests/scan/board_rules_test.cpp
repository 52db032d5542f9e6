// The rules on the board and the course of the game, on hand-made games whose expected reports
// follow from the rule's text, and the board's shortcuts against the rules' definitions.
#include "scan/board_rules.hpp"

#include <gtest/gtest.h>

#include <tuple>

#include "chess/fen.hpp"
#include "scan/scan_support.hpp"

namespace kestrova {
namespace {

using test::cycle;
using test::expectReports;
using test::movetext;
using test::pgnGame;

// A game from a position; a bare placement gets " w - - 0 1".
std::string from(std::string fen, const std::string& moves = "1. Kd1 Kd8 2. Ke1 Ke8") {
  if (fen.find(' ') == std::string::npos) fen += " w - - 0 1";
  return pgnGame(moves, "1/2-1/2", "[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n");
}

// Men at file f and rank r (1..8; outside the board there is none).
bool at(Bitboard men, int f, int r) {
  return f >= 1 && f <= 8 && r >= 1 && r <= 8 && (men & squareBit((8 - r) * 8 + f - 1));
}

TEST(BoardShortcuts, PawnShapesStormsAndTheConfusionIndexOfRandomBoardsFollowTheDefinitions) {
  const auto tables = buildAttackTables();
  std::uint64_t state = 88172645463325252ULL;
  auto random = [&] { return state ^= state << 13, state ^= state >> 7, state ^= state << 17; };
  for (int trial = 0; trial < 3000; ++trial) {
    const Bitboard p = random() | random(), opposing = random() & random() & random(), white = opposing & random();
    const Bitboard black = opposing & ~white;
    Bitboard shapes[4] = {}, stoppers[2] = {};
    int index = 0;
    for (int s = 0; s < 64; ++s) {
      const int f = s % 8 + 1, r = 8 - s / 8;
      const bool line3 = at(p, f, r) && at(p, f, r + 1) && at(p, f, r + 2);
      const bool shape[4] = {at(p, f, r) && at(p, f - 1, r + 1) && at(p, f + 1, r + 1) && at(p, f, r + 2), line3,
                             line3 && at(p, f, r + 3), at(p, f, r) && at(p, f + 1, r) && at(p, f, r + 1) && at(p, f + 1, r + 1)};
      for (int i = 0; i < 4; ++i) shapes[i] |= shape[i] ? squareBit(s) : 0;
      // A storm of a side stops at a square with an opposing pawn on files f-2..f+2 at its rank or ahead.
      for (int of = f - 2; of <= f + 2; ++of) {
        for (int orank = 1; orank <= 8; ++orank) {
          if (!at(opposing, of, orank)) continue;
          if (orank >= r) stoppers[kWhite] |= squareBit(s);
          if (orank <= r) stoppers[kBlack] |= squareBit(s);
        }
      }
      // Confusion, man by man: 5 with an opponent behind on its file, else the opponents on the six
      // squares of the two ranks behind it; 4 on the three farthest ranks, 2 on the next one.
      for (const auto& [own, other, up] : {std::tuple{white, black, 1}, std::tuple{black, white, -1}}) {
        if (!at(own, f, r)) continue;
        bool behind = false;
        for (int b = r - up; b >= 1 && b <= 8; b -= up) behind |= at(other, f, b);
        for (int df = -1; df <= 1 && !behind; ++df) index += at(other, f + df, r - up) + at(other, f + df, r - 2 * up);
        const int advance = up == 1 ? r : 9 - r;
        index += (behind ? 5 : 0) + (advance >= 6 ? 4 : advance == 5 ? 2 : 0);
      }
    }
    const int kinds[] = {detection::kDiamond, detection::kPawn1x3, detection::kPawn1x4, detection::kPawn2x2};
    for (int i = 0; i < 4; ++i) ASSERT_EQ(shapeAnchors(kinds[i], p), shapes[i]) << i << " " << p;
    for (int side : {kWhite, kBlack}) ASSERT_EQ(stormStoppers(side, opposing), stoppers[side]) << side << " " << opposing;
    Board board;
    board.colours[kWhite] = white, board.colours[kBlack] = black, board.occupied = opposing;
    ASSERT_EQ(confusionIndex(*tables, board), index) << opposing << " " << white;
  }
}

TEST(BoardRules, ShapesStormsAndConfusionAreReportedAtTheFirstPlyTheyStandOnTheBoard) {
  // Confusion: index 2 after 2.Nd5 and 2...e6 (the knight on the fifth rank; before ply 5 the last
  // index is reset to 0), 4 after 3.Nb6 (on the sixth).
  const std::string game = pgnGame("1. Nc3 Nf6 2. Nd5 e6 3. Nb6 d6");
  const std::string c = "1: [b] Confusion (ind=", c2 = c + "2) after 2.Nd5", c4 = c + "4) after 3.Nb6";
  expectReports({
      {"Diamond", from("4k3/8/2P5/1P1P4/2P5/8/8/4K3"), {"1: [w] Diamond after 1.Kd1"}},
      {"Pawn1x3 Pawn1x4", from("4k3/8/8/3P4/3P4/3P4/3P4/4K3"), {"1: [w] Pawn1x3 after 1.Kd1", "1: [w] Pawn1x4 after 1.Kd1"}},
      {"Pawn1x3", from("4k3/3p4/3p4/3p4/8/8/8/4K3"), {"1: [b] Pawn1x3 after 1.Kd1"}},  // not mirrored: anchored at d5
      {"Pawn2x2", from("4k3/8/8/2PP4/2PP4/8/8/4K3"), {"1: [w] Pawn2x2 after 1.Kd1"}},
      {"PawnStorm", from("4k3/8/8/5PPP/8/8/8/4K3"), {"1: [w] PawnStorm after 1.Kd1"}},
      {"PawnStorm", from("4k3/8/8/8/1ppp4/8/8/4K3"), {"1: [b] PawnStorm after 1.Kd1"}},
      {"PawnStorm", from("4k3/7p/8/5PPP/8/8/8/4K3"), {}},  // h7 stops it
      {"PawnStorm", from("4k3/8/8/8/5PPP/8/8/4K3"), {}},   // the fourth rank is not deep enough
      {"PawnStorm", from("4k3/8/P7/P7/P7/8/8/4K3"), {}},   // the a-file never anchors
      {"Confusion: mnv=1", game, {c2}},                    {"Confusion", game, {}},  // the window starts at 50
      {"Confusion: mnv=3, mxo=5", game, {c4}},             {"Confusion: mnv=1, mxv=3, mxo=5", game, {c2, c + "2) after 2...e6"}},
      // Ply 3 only counts; ply 4 (still above the last reported 0) counts and reports.
      {"Confusion: mnv=1, mxo=5, mno=2", pgnGame("1. Nc3 Nf6 2. Nd5 e6 3. Nb6"), {c + "2) after 2...e6", c4}},
      {"Confusion: mnv=1", from("R6k/4R3/8/8/8/4P3/3n4/r3K3", "1. Kd1"), {}},  // fewer than 20 men
  });
}

TEST(BoardRules, KingsMaterialAndCastling) {
  const std::string italian = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. O-O Nf6 ", x = "] ExceedingPc (";
  auto white = [](const char* ranks) { return from(std::string(ranks) + "/PPPPPPPP/RNBQ1BNR w kq - 0 1", "1. a3 a6"); };
  expectReports({
      {"CrazyKing", white("rnbqkbnr/pppppppp/8/8/8/4K3"), {"1: [w] CrazyKing after 1.a3"}},
      {"CrazyKing", white("rnbqkbnr/pppppppp/8/8/8/5K2"), {}},  // f3 is near, unlike d3 and e3
      {"CrazyKing", white("rnb1kbnr/pppppppp/8/8/8/4K3"), {}},  // no opposing queen
      {"CrazyKing", from("rnbq1bnr/pppppppp/4k3/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1", "1. a3"), {"1: [b] CrazyKing after 1.a3"}},
      // val 0: the normal set is a surplus; mno 2 leaves out each side's first count.
      {"ExceedingPc: mno=2", pgnGame("1. e4 e5"),
       {"1: [w" + x + "R) after 1.e4", "1: [w" + x + "B) after 1.e4", "1: [w" + x + "N) after 1.e4",
        "1: [b" + x + "R) after 1.e4", "1: [b" + x + "B) after 1.e4", "1: [b" + x + "N) after 1.e4"}},
      {"ExceedingPc: val=1", pgnGame("1. e4 e5"), {}},
      {"ExceedingPc: val=1", from("3qk3/8/8/8/8/8/8/QQ2K3", "1. Kf2"), {"1: [w] ExceedingPc (Q) after 1.Kf2"}},
      {"ExceedingPc: val=1", from("4k3/8/8/8/8/8/8/QQ2K3", "1. Kf2"), {}},  // a surplus queen counts against a queen
      {"MvWeakCastle", pgnGame(italian + "5. g4"), {"1: [w] MvWeakCastle after 5.g4"}},
      {"MvWeakCastle", pgnGame(italian + "5. h4"), {"1: [w] MvWeakCastle after 5.h4"}},
      {"MvWeakCastle", pgnGame(italian + "5. g3 d6 6. h4"), {}},  // h4 defended
      {"MvWeakCastle", pgnGame(italian + "5. d4"), {}},           {"MvWeakCastle: val=33", pgnGame(italian + "5. g4"), {}},
      {"OppCastles", pgnGame("1. e4 e5 2. Nf3 Nc6 3. Bc4 d6 4. O-O Be6 5. d3 Qd7 6. Nc3 O-O-O"), {"1: [b] OppCastles after 6...O-O-O"}},
      {"OppCastles", pgnGame(italian + "5. d3 O-O"), {}},
  });
}

std::string shuffle(int plies) { return pgnGame(movetext(cycle(plies))); }

TEST(BoardRules, LengthsClocksAndRepetitions) {
  const std::string rep = "1: 3 repetitions rule violation !", crash = "1: [b] TooFewMoves (crash?)  0...";
  auto rooks = [](int plies) { return from("8/5k2/8/8/8/8/4K3/R7", movetext(cycle(plies, {"Ra2", "Kg7", "Ra1", "Kf7"}))); };
  expectReports({
      {"VeryShortGame", shuffle(40), {"1: [b] VeryShortGame (20 mv) after 20...Ng8"}}, {"VeryShortGame", shuffle(41), {}},
      {"VeryLongGame: val=5", shuffle(11), {"1: [w] VeryLongGame (6 mv) after 6.Ng1"}}, {"VeryLongGame: val=5", shuffle(9), {}},
      {"TooFewMoves", pgnGame(""), {crash}},
      {"TooFewMoves", from("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", ""), {crash}},
      {"TooFewMoves: val=2", shuffle(4), {"1: [b] TooFewMoves (crash?) after 2...Ng8"}}, {"TooFewMoves: val=2", shuffle(5), {}},
      {"Draw50RuleBrk", rooks(100), {"1: [b] Draw50RuleBrk after 50...Kf7"}}, {"Draw50RuleBrk", rooks(99), {}},
      {"Draw50RuleBrk", rooks(103), {"1: [b] Draw50RuleBrk after 50...Kf7", "1: 50 moves rule violation !"}},
      {"Draw3xRuleBrk", shuffle(8), {}},  // the start position does not count
      {"Draw3xRuleBrk", shuffle(13),
       {"1: [w] Draw3xRuleBrk after 5.Nf3", rep, "1: [b] Draw3xRuleBrk after 5...Nf6", rep, "1: [w] Draw3xRuleBrk after 6.Ng1",
        rep, "1: [b] Draw3xRuleBrk after 6...Ng8", rep, "1: [w] Draw3xRuleBrk after 7.Nf3"}},
      {"Draw3xRuleBrk", pgnGame("1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. a3 Nf6 6. Nf3 Ng8 7. Ng1 Nf6"), {}},
      {"NoPlan", pgnGame("1. Nf3 Nf6 2. e4 e5 3. d4"), {"1: [w] NoPlan before 2.e4", "1: [b] NoPlan before 2...e5"}},
      {"NoPlan: val=3", shuffle(8), {"1: [w] NoPlan before 2.Ng1"}},
  });
}

}  // namespace
}  // namespace kestrova
