// The rules on the board and the course of the game, on hand-made games worked out from the rules' text.
#include "scan/board_rules.hpp"

#include <gtest/gtest.h>

#include "scan/scan_support.hpp"

namespace kestrova::test {
namespace {

// A game from a position; a bare placement gets " w - - 0 1".
std::string from(std::string fen, const std::string& moves = "1. Kd1 Kd8 2. Ke1 Ke8") {
  if (fen.find(' ') == std::string::npos) fen += " w - - 0 1";
  return pgnGame(moves, "1/2-1/2", "[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n");
}

TEST(BoardRules, ShapesStormsAndConfusionAreReportedAtTheFirstPlyTheyStandOnTheBoard) {
  // Confusion 2 after 2.Nb5 (a knight on the fifth rank) and 2...e6 (reset before ply 5); 14 after 3.Nxc7+ (the
  // knight on the seventh, 4, with the knight c6 behind it, 5, and it behind that one, 5).
  const std::string game = pgnGame("1. Nc3 Nc6 2. Nb5 e6 3. Nxc7+ Ke7");
  const std::string c = "1: [b] Confusion (ind=", c2 = c + "2) after 2.Nb5", c14 = c + "14) after 3.Nxc7+";
  expectReports({
      {"Diamond", from("4k3/8/2P5/1P1P4/2P5/8/8/4K3"), {"1: [w] Diamond after 1.Kd1"}},
      {"Pawn1x3 Pawn1x4", from("4k3/8/8/3P4/3P4/3P4/3P4/4K3"), {"1: [w] Pawn1x3 after 1.Kd1", "1: [w] Pawn1x4 after 1.Kd1"}},
      {"Pawn2x2", from("4k3/8/8/2pp4/2pp4/8/8/4K3"), {"1: [b] Pawn2x2 after 1.Kd1"}},
      // Storms of both sides, also with a pawn behind; none with h7 ahead, on the fourth rank, on the a-file.
      {"PawnStorm", from("4k3/8/8/5PPP/8/8/8/4K3") + from("4k3/8/8/8/1ppp4/8/8/4K3") + from("4k3/8/8/5PPP/7p/8/8/4K3") +
                        from("4k3/7p/8/5PPP/8/8/8/4K3") + from("4k3/8/8/8/5PPP/8/8/4K3") + from("4k3/8/P7/P7/P7/8/8/4K3"),
       {"1: [w] PawnStorm after 1.Kd1", "2: [b] PawnStorm after 1.Kd1", "3: [w] PawnStorm after 1.Kd1"}},
      {"Confusion: mnv=1", game, {c2}},                   {"Confusion", game, {}},  // the window starts at 50
      {"Confusion: mnv=3, mxo=5", game, {c14}},           {"Confusion: mnv=1, mxv=3, mxo=5", game, {c2, c + "2) after 2...e6"}},
      {"Confusion: mnv=1, mxo=5, mno=2", game, {c + "2) after 2...e6", c14}},  // ply 3 only counts
      {"Confusion: mnv=1", from("R6k/4R3/8/8/8/4P3/3n4/r3K3", "1. Kd1"), {}},  // fewer than 20 men
  });
}

TEST(BoardRules, KingsMaterialAndCastling) {
  const std::string italian = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. O-O Nf6 ", x = "] ExceedingPc (";
  auto white = [](const char* ranks) { return from(std::string(ranks) + "/PPPPPPPP/RNBQ1BNR w kq - 0 1", "1. a3 a6"); };
  expectReports({
      // Kings on e3 and e6; none without an opposing queen.
      {"CrazyKing", white("rnbqkbnr/pppppppp/8/8/8/4K3") + white("rnb1kbnr/pppppppp/8/8/8/4K3") +
                        from("rnbq1bnr/pppppppp/4k3/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1", "1. a3"),
       {"1: [w] CrazyKing after 1.a3", "3: [b] CrazyKing after 1.a3"}},
      // val 0: the normal set is a surplus; mno 2 leaves out each side's first count.
      {"ExceedingPc: mno=2", pgnGame("1. e4 e5"),
       {"1: [w" + x + "R) after 1.e4", "1: [w" + x + "B) after 1.e4", "1: [w" + x + "N) after 1.e4",
        "1: [b" + x + "R) after 1.e4", "1: [b" + x + "B) after 1.e4", "1: [b" + x + "N) after 1.e4"}},
      // val 1: a second queen against a queen; not the normal set, nor a queen against none.
      {"ExceedingPc: val=1", from("3qk3/8/8/8/8/8/8/QQ2K3", "1. Kf2") + pgnGame("1. e4 e5") +
                                 from("4k3/8/8/8/8/8/8/QQ2K3", "1. Kf2"), {"1: [w] ExceedingPc (Q) after 1.Kf2"}},
      // g4, and h4 undefended, before the castled king; not h4 defended by g3, nor d4, nor with 32 men under val 33.
      {"MvWeakCastle", pgnGame(italian + "5. g4") + pgnGame(italian + "5. h4") + pgnGame(italian + "5. g3 d6 6. h4") +
                           pgnGame(italian + "5. d4"), {"1: [w] MvWeakCastle after 5.g4", "2: [w] MvWeakCastle after 5.h4"}},
      {"MvWeakCastle: val=33", pgnGame(italian + "5. g4"), {}},
      {"OppCastles", pgnGame("1. e4 e5 2. Nf3 Nc6 3. Bc4 d6 4. O-O Be6 5. d3 Qd7 6. Nc3 O-O-O") + pgnGame(italian + "5. d3 O-O"),
       {"1: [b] OppCastles after 6...O-O-O"}},
  });
}

std::string shuffle(int plies) { return pgnGame(movetext(plies)); }

TEST(BoardRules, LengthsClocksAndRepetitions) {
  auto rooks = [](int plies) { return from("8/5k2/8/8/8/8/4K3/R7", movetext(plies, {"Ra2", "Kg7", "Ra1", "Kf7"})); };
  expectReports({
      {"VeryShortGame", shuffle(40) + shuffle(41), {"1: [b] VeryShortGame (20 mv) after 20...Ng8"}},
      {"VeryLongGame: val=5", shuffle(11) + shuffle(9), {"1: [w] VeryLongGame (6 mv) after 6.Ng1"}},
      {"TooFewMoves", pgnGame("") + shuffle(1) + from("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", ""),
       {"1: [b] TooFewMoves (crash?)  0...", "3: [b] TooFewMoves (crash?)  0..."}},
      {"TooFewMoves: val=2", shuffle(4) + shuffle(5), {"1: [b] TooFewMoves (crash?) after 2...Ng8"}},
      // The clock reaches 100 at the last ply, at ply 100 of 103 (with the violation line), never in 99.
      {"Draw50RuleBrk", rooks(100) + rooks(103) + rooks(99),
       {"1: [b] Draw50RuleBrk after 50...Kf7", "2: [b] Draw50RuleBrk after 50...Kf7", "2: 50 moves rule violation !"}},
      // Third occurrences at plies 9 and 10 (the last); not counting the start position, nor across a pawn move.
      {"Draw3xRuleBrk", shuffle(10) + shuffle(8) + pgnGame(movetext(8) + "5. a3 Nf6 6. Nf3 Ng8 7. Ng1 Nf6"),
       {"1: [w] Draw3xRuleBrk after 5.Nf3", "1: 3 repetitions rule violation !", "1: [b] Draw3xRuleBrk after 5...Nf6"}},
      {"NoPlan", pgnGame("1. Nf3 Nf6 2. e4 e5 3. d4"), {"1: [w] NoPlan before 2.e4", "1: [b] NoPlan before 2...e5"}},
      {"NoPlan: val=3", shuffle(8), {"1: [w] NoPlan before 2.Ng1"}},
  });
}

}  // namespace
}  // namespace kestrova::test
