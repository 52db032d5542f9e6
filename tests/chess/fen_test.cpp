// Reading and writing position strings.
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

TEST(Fen, NothingIsRejected) {
  const std::string blackPawns = "pppppppp/pppppppp/pppppppp/pppppppp/pppppppp/pppppppp/pppppppp/pppppppp";
  // A position string and the position read from it as written back: placement, side, castling, en passant.
  const struct { std::string fen, read; } cases[] = {
      {"5k2/8/8/8/8/8/8/5K1R w K - 0 1", "5k2/8/8/8/8/8/8/5K1R w - -"},  // a right needs king and rook at home
      {"r3k3/8/8/8/8/8/8/4K2R b KQkq - 0 1", "r3k3/8/8/8/8/8/8/4K2R b Kq -"},
      {"4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1", "4k3/8/8/8/4P3/8/8/4K3 b - e3"},
      {"4k3/8/8/8/8/8/8/4K3 x", "4k3/8/8/8/8/8/8/4K3 w - -"},       // any side but "b" is White
      {"4k3/8/8/8/8/8/8/4K3/QQQQ w", "4k3/8/8/8/8/8/8/4K3 w - -"},  // nothing beyond h1
      {"4k38888887K b", "4k3/8/8/8/8/8/8/7K b - -"},                // rows without slashes
      {blackPawns + "/PPPP b", blackPawns + " b - -"},
  };
  for (const auto& c : cases) {
    const Board board = boardOf(c.fen);
    EXPECT_EQ(positionOf(board), c.read) << c.fen;
    EXPECT_TRUE(isConsistent(board)) << c.fen;
  }
  EXPECT_EQ(boardOf("8/8/8/8/8/8/8/8").side, -1) << "no side field";
  std::array<char, 20> shortText;  // the short form, cut to the room and terminated
  writePlacementFen(boardOf(kStartPosition), kBlack, shortText);
  EXPECT_EQ(std::string(shortText.data()), "rnbqkbnr/pppppppp/8");
}

}  // namespace
}  // namespace kestrova::test
