#include "chess/slider_rays.hpp"

#include <gtest/gtest.h>

#include <random>

#include "chess/attacks.hpp"
#include "chess_support.hpp"

namespace kestrova {
namespace {

using test::sq;
using test::squares;

TEST(SlidersReaching, StopsAtTheFirstPieceOfEachLine) {
  Board board;
  for (const char* name : {"a1", "a8", "h8", "d4", "f6", "b4"}) board.put(kWhite, kRook, sq(name));
  board.put(kBlack, kPawn, sq("a5"));
  const Bitboard rooks = board.pieces[kWhite][kRook];
  EXPECT_EQ(slidersReaching(rooks, board.occupied, sq("a4"), true, false), squares({"a1", "b4"}));
  EXPECT_EQ(slidersReaching(rooks, board.occupied, sq("h1"), true, false), squares({"a1", "h8"}));
  EXPECT_EQ(slidersReaching(rooks, board.occupied, sq("a4"), false, true), 0u) << "no diagonal for rooks";
  EXPECT_EQ(slidersReaching(rooks, board.occupied, sq("h2"), true, true), squares({"h8"}));
  EXPECT_EQ(slidersReaching(rooks, board.occupied, sq("g7"), false, true), squares({"h8", "f6"}));
  EXPECT_EQ(slidersReaching(rooks, board.occupied, sq("d4"), true, true), squares({"b4", "f6", "a1"}))
      << "the piece on the square itself is not one that reaches it";
}

// The rotated look-up tables are the reference: every square, on boards of every density.
TEST(SlidersReaching, FindsWhatTheRotatedTablesFind) {
  const auto tables = buildAttackTables();
  std::mt19937_64 random(7);
  for (int round = 0; round < 2000; ++round) {
    Board board;
    Bitboard fill = random() & random();
    if (round % 2) fill |= random() & random();
    for (int square = 0; square < 64; ++square) {
      if (fill & squareBit(square)) {
        board.put(static_cast<int>(random() % 2), 2 + static_cast<int>(random() % 5), square);
      }
    }
    for (int square = 0; square < 64; ++square) {
      for (int colour : {kWhite, kBlack}) {
        const Bitboard* pieces = board.pieces[colour].data();
        ASSERT_EQ(slidersReaching(pieces[kRook], board.occupied, square, true, false),
                  rookAttackersOf(*tables, board, colour, square));
        ASSERT_EQ(slidersReaching(pieces[kBishop], board.occupied, square, false, true),
                  bishopAttackersOf(*tables, board, colour, square));
        ASSERT_EQ(slidersReaching(pieces[kQueen], board.occupied, square, true, true),
                  queenAttackersOf(*tables, board, colour, square));
      }
    }
  }
}

}  // namespace
}  // namespace kestrova
