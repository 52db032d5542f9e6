// The rotated line tables, the leaper and pawn tables, the masks and the attack queries.
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

// The squares of a run of rotated bits, in bit order.
std::vector<int> run(int start, int length, int (*rotation)(int)) {
  std::vector<int> found;
  for (int bit = start; bit < start + length; ++bit) {
    for (int s = 0; s < 64; ++s) {
      if (rotation(s) == bit) found.push_back(s);
    }
  }
  return found;
}

TEST(AttackTables, RotationsAndBitTables) {
  auto app = makeApp();
  const AttackTables& t = *app->chess.attacks;
  EXPECT_EQ(run(t.diagAStart[sq("a8")], std::popcount(t.diagAMask[sq("a8")]), diagARotation),
            (std::vector<int>{0, 9, 18, 27, 36, 45, 54, 63}));  // a8, b7, ... h1
  EXPECT_EQ(run(t.diagBStart[sq("h8")], std::popcount(t.diagBMask[sq("h8")]), diagBRotation),
            (std::vector<int>{56, 49, 42, 35, 28, 21, 14, 7}));  // a1, b2, ... h8
  for (int (*rotation)(int) : {fileRotation, diagARotation, diagBRotation}) {
    Bitboard image = 0;
    for (int s = 0; s < 64; ++s) image |= squareBit(rotation(s));
    EXPECT_EQ(image, ~Bitboard{0});  // every rotation is a permutation
  }
  EXPECT_EQ(highestSquare(squares({"a8", "h1"})), 63);
  EXPECT_EQ(highestSquare(0), kNoSquare);
  const int values[][3] = {{0, 0, 99}, {1, 1, 0}, {0x8001, 2, 15}, {0xFFFF, 16, 15}};  // value, count, highest
  for (const auto& [value, count, highest] : values) {
    EXPECT_EQ(t.bitCount[value], count) << value;
    EXPECT_EQ(t.highestBit[value], highest) << value;
  }
}

TEST(AttackTables, MasksStopAtTheBoardEdges) {
  auto app = makeApp();
  const AttackTables& t = *app->chess.attacks;
  const std::pair<Bitboard, Bitboard> cases[] = {
      {t.pawnAttackers[kWhite][sq("e4")], squares({"d3", "f3"})}, {t.pawnAttackers[kWhite][sq("a4")], squares({"b3"})},
      {t.pawnAttackers[kBlack][sq("e4")], squares({"d5", "f5"})}, {t.knightAttacks[sq("a8")], squares({"b6", "c7"})},
      {t.kingAttacks[sq("h1")], squares({"g1", "g2", "h2"})}, {t.fileMask('i') | t.rankMask('9'), 0},
      {t.diamond[sq("c4")], squares({"c4", "b5", "d5", "c6"})}, {t.diamond[sq("a4")] | t.diamond[sq("c7")], 0},
      {t.pawn1x3[sq("c2")], squares({"c2", "c3", "c4"})}, {t.pawn1x4[sq("c5")], squares({"c5", "c6", "c7", "c8"})},
      {t.pawn1x3[sq("c7")] | t.pawn1x4[sq("c6")] | t.pawn2x2[sq("h3")], 0},
      {t.pawn2x2[sq("g7")], squares({"g7", "h7", "g8", "h8"})}, {t.block3x3[sq("a1")], squares({"a1", "b1", "a2", "b2"})},
      {t.fileBelow[sq("e4")], squares({"e3", "e2", "e1"})}, {t.fileAbove[sq("e6")], squares({"e7", "e8"})},
      {t.twoRanksBelow[sq("a4")], squares({"a3", "b3", "a2", "b2"})}, {t.twoRanksAbove[sq("e7")], squares({"d8", "e8", "f8"})},
      {t.stormZone[kWhite][sq("g6")], squares({"e6", "f6", "g6", "h6", "e7", "f7", "g7", "h7", "e8", "f8", "g8", "h8"})},
      {t.stormZone[kBlack][sq("b2")], squares({"a2", "b2", "c2", "d2", "a1", "b1", "c1", "d1"})},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}

TEST(Attacks, QueriesFollowTheCurrentOccupancy) {
  struct Case {
    const char* fen;
    int colour;
    const char* target;
    std::initializer_list<const char*> attackers;  // attackersOf, never the king
    bool attacked;                                 // isAttacked, the king included
  };
  // Rook d1, bishop b1, queen h8, knight f3, pawn c3 and king e5 of White.
  const char* fen = "7Q/8/8/4K3/8/2P2N2/8/1B1R4 w - - 0 1";
  const Case cases[] = {
      {fen, kWhite, "d4", {"c3", "d1", "f3"}, true},  // the king on e5 shields d4 from the queen
      {fen, kWhite, "e4", {"b1"}, true},
      {fen, kWhite, "f4", {}, true},  // the king only
      {fen, kBlack, "d4", {}, false},
      {"4k3/8/8/8/3p4/8/8/3R4 w - - 0 1", kWhite, "d8", {}, false},  // the pawn on d4 blocks the file
  };
  auto app = makeApp();
  const AttackTables& t = *app->chess.attacks;
  const Board& b = app->chess.board;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.target);
    parseFen(app->chess.board, c.fen);
    Bitboard expected = 0;
    for (const char* name : c.attackers) expected |= squareBit(sq(name));
    EXPECT_EQ(attackersOf(t, b, c.colour, sq(c.target)), expected);
    EXPECT_EQ(isAttacked(t, b, c.colour, sq(c.target)), c.attacked);
  }
  parseFen(app->chess.board, fen);
  EXPECT_EQ(rookAttackersOf(t, b, kWhite, sq("h1")), squares({"d1"}));
  EXPECT_EQ(rookAttackersOf(t, b, kWhite, sq("a1")), 0u);  // behind the bishop
  EXPECT_EQ(bishopAttackersOf(t, b, kWhite, sq("a2")), squares({"b1"}));
  EXPECT_EQ(queenAttackersOf(t, b, kWhite, sq("h1")), squares({"h8"}));
  EXPECT_EQ(queenAttackersOf(t, b, kWhite, sq("a1")), 0u);  // behind the king
}

}  // namespace
}  // namespace kestrova::test
