// Zobrist keys: the generator, the draw order and incremental keys against full computation.
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

std::uint64_t fold(std::uint64_t r1, std::uint64_t r2, std::uint64_t r3, std::uint64_t r4, std::uint64_t r5) {
  return (r1 << 60) ^ (r2 << 45) ^ (r3 << 30) ^ (r4 << 15) ^ r5;
}

PositionKeys keysOf(const App& app, const std::string& fen) {
  Board board;
  parseFen(board, fen);
  return computePositionKeys(*app.chess.zobrist, board, board.side);
}

TEST(Zobrist, GeneratorRepeatsTheRuntimeLibrarySequenceAndFillsPrimaryFirst) {
  RuntimeRandom random(1);  // the C run-time library's rand() after srand(1)
  for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) {
    EXPECT_EQ(random.draw(), expected);
  }
  const auto keys = generateZobristKeys(1);
  EXPECT_EQ(keys->pieces[0][0][0].primary, fold(41, 18467, 6334, 26500, 19169));
  EXPECT_EQ(keys->pieces[0][0][0].secondary, fold(15724, 11478, 29358, 26962, 24464));
}

TEST(Zobrist, KeysHoldTheSideButNotCastlingRightsOrEnPassant) {
  auto app = makeApp();
  const PositionKeys white = keysOf(*app, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1");
  const PositionKeys black = keysOf(*app, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  EXPECT_EQ(white.primary ^ black.primary, app->chess.zobrist->side);
  EXPECT_EQ(white.secondary ^ black.secondary, app->chess.zobrist->side);
  EXPECT_EQ(black, keysOf(*app, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b - - 0 1"));
}

// Castling, en passant, queen and rook promotions are checked on every sample move in oracle_test.
TEST(Zobrist, MinorPromotionKeysEqualFullComputation) {
  auto app = makeApp();
  app->chess.keyCheck = true;
  for (const auto& [san, after] : {std::pair{"a1=B", "4k3/8/8/8/8/8/8/bR2K3 w"}, {"axb1=N+", "4k3/8/8/8/8/8/8/1n2K3 w"}}) {
    SCOPED_TRACE(san);
    setPositionFromFen(app->chess, app->game, "4k3/8/8/8/8/8/p7/1R2K3 b - - 0 1");
    app->game.plies[1].keys = app->game.startKeys;
    setSan(app->game, 2, san);
    ASSERT_EQ(decodeSanMove(app->chess, app->game, 2), 1);
    makeMove(app->chess, app->game, 2, app->console);
    EXPECT_EQ(app->game.plies[2].keys, keysOf(*app, after));
    EXPECT_EQ(placementOf(app->chess.board) + " w", after);
  }
  EXPECT_EQ(app->console.captured(), "");
}

TEST(Zobrist, CorruptKeysAreReportedAndTheMoveStaysMade) {
  auto app = makeApp();
  setPositionFromFen(app->chess, app->game, kStartPosition);
  app->game.startKeys.primary ^= 1;
  setSan(app->game, 1, "e4");
  ASSERT_EQ(decodeSanMove(app->chess, app->game, 1), 1);
  makeMove(app->chess, app->game, 1, app->console);
  EXPECT_EQ(app->console.takeCaptured(), "");  // the check is off until start-up has finished
  app->chess.keyCheck = true;
  setPositionFromFen(app->chess, app->game, kStartPosition);
  app->game.startKeys.primary ^= 1;
  ASSERT_EQ(decodeSanMove(app->chess, app->game, 1), 1);
  makeMove(app->chess, app->game, 1, app->console);
  EXPECT_EQ(app->console.captured(), "> zobrist hash keys corrupted !\n");
  EXPECT_EQ(placementOf(app->chess.board), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR");
  const PositionKeys correct = keysOf(*app, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b");
  EXPECT_EQ(app->game.plies[1].keys.primary, correct.primary ^ 1);
  EXPECT_EQ(app->game.plies[1].keys.secondary, correct.secondary);
}

}  // namespace
}  // namespace kestrova::test
