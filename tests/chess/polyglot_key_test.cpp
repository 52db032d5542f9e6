// Polyglot keys and move codes, against the worked examples published with the book format.
#include <sstream>

#include "chess/polyglot_key.hpp"
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

TEST(PolyglotKey, GivesThePublishedKeysWithEnPassantOnlyWhenACaptureStands) {
  // After e2e4 no black pawn stands beside e4: no en-passant file; after f7f5 the e5 pawn can take.
  const std::pair<const char*, std::uint64_t> cases[] = {
      {"", 0x463b96181691fc9c},
      {"e2e4", 0x823c9b50fd114196},
      {"e2e4 d7d5", 0x0756b94461c50fb0},
      {"e2e4 d7d5 e4e5", 0x662fafb965db29d4},
      {"e2e4 d7d5 e4e5 f7f5", 0x22a48b5a8e47ff78},
      {"e2e4 d7d5 e4e5 f7f5 e1e2", 0x652a607ca3f242c1},
      {"e2e4 d7d5 e4e5 f7f5 e1e2 e8f7", 0x00fdd303c946bdd9},
      {"a2a4 b7b5 h2h4 b5b4 c2c4", 0x3c8123ea7b067637},
      {"a2a4 b7b5 h2h4 b5b4 c2c4 b4c3 a1a3", 0x5c3f9b829b279560},
  };
  ChessCore core;
  for (const auto& [moves, key] : cases) {
    core.board = boardOf(kStartPosition);
    std::istringstream line(moves);
    for (std::string m; line >> m;) {
      Move move = moveFromSquares(core.board, sq(m.c_str()), sq(m.c_str() + 2));
      makeMove(core, move, {});
    }
    EXPECT_EQ(polyglotKey(core.board, core.board.side), key) << moves;
  }
}

TEST(PolyglotMove, NamesCastlingAsTheKingTakingItsRookAndThePromotedPiece) {
  // to + 64 from + 4096 promotion, squares from a1 = 0: e2e4 12 -> 28, e1h1 4 -> 7, e8a8 60 -> 56, a7a8 48 -> 56.
  const Board castles = boardOf("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  const auto promotion = [](std::uint16_t flag) {
    Move move;
    move.from = static_cast<std::uint8_t>(sq("a7")), move.to = static_cast<std::uint8_t>(sq("a8")), move.flags = flag;
    return move;
  };
  const std::pair<Move, int> cases[] = {
      {moveFromSquares(boardOf(kStartPosition), sq("e2"), sq("e4")), 796},
      {moveFromSquares(castles, sq("e1"), sq("g1")), 263},
      {moveFromSquares(castles, sq("e8"), sq("c8")), 3896},
      {promotion(moveflag::kPromoteKnight), 4096 + 3128},
      {promotion(moveflag::kPromoteQueen), 4 * 4096 + 3128},
  };
  for (const auto& [move, code] : cases) EXPECT_EQ(polyglotMove(move), code) << int{move.from} << " " << int{move.to};
}

}  // namespace
}  // namespace kestrova::test
