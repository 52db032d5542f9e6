// The attack queries on the rotated tables.
#include <random>

#include "chess/slider_rays.hpp"
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

// The slider search, an implementation of its own, is the reference for the rotated look-ups (the
// leaper tables are checked by the knight, king and pawn moves of oracle_test). Every square, on
// boards of every density.
TEST(Attacks, QueriesAgreeWithTheSliderSearch) {
  const AttackTables& t = tables();
  std::mt19937_64 random(7);
  for (int round = 0; round < 2000; ++round) {
    Board board;
    const Bitboard fill = (random() & random()) | (round % 2 ? random() & random() : 0);
    for (int s = 0; s < 64; ++s) {
      if (fill & squareBit(s)) board.put(int(random() % 2), kKing + int(random() % 6), s);
    }
    for (int s = 0; s < 64; ++s) {
      for (int colour : {kWhite, kBlack}) {
        const auto& own = board.pieces[colour];
        const Bitboard expected = slidersReaching(own[kRook] | own[kQueen], board.occupied, s, true, false) |
                                  slidersReaching(own[kBishop] | own[kQueen], board.occupied, s, false, true) |
                                  (t.knightAttacks[s] & own[kKnight]) | (t.pawnAttackers[colour][s] & own[kPawn]);
        ASSERT_EQ(attackersOf(t, board, colour, s), expected) << round << " " << s;
        ASSERT_EQ(isAttacked(t, board, colour, s), (expected | (t.kingAttacks[s] & own[kKing])) != 0);
      }
    }
  }
}

}  // namespace
}  // namespace kestrova::test
