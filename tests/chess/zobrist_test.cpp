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

TEST(Zobrist, GeneratorRepeatsTheRuntimeLibrarySequence) {
  // The first values of the C run-time library's rand() after srand(1).
  RuntimeRandom random(1);
  for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) {
    EXPECT_EQ(random.draw(), expected);
  }
}

TEST(Zobrist, FirstEntryTakesPrimaryThenSecondaryKey) {
  const auto keys = generateZobristKeys(1);
  EXPECT_EQ(keys->pieces[0][0][0].primary, fold(41, 18467, 6334, 26500, 19169));
  EXPECT_EQ(keys->pieces[0][0][0].secondary, fold(15724, 11478, 29358, 26962, 24464));
}

TEST(Zobrist, BlackToMoveDiffersByTheSideKeyOnly) {
  auto app = makeApp();
  const PositionKeys white = keysOf(*app, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  const PositionKeys black = keysOf(*app, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
  EXPECT_EQ(white.primary ^ black.primary, app->chess.zobrist->side);
  EXPECT_EQ(white.secondary ^ black.secondary, app->chess.zobrist->side);
}

TEST(Zobrist, CastlingRightsAndEnPassantAreNotInTheKeys) {
  auto app = makeApp();
  EXPECT_EQ(keysOf(*app, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"),
            keysOf(*app, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b - - 0 1"));
}

TEST(Zobrist, MoveOrdersReachingOnePositionGiveEqualKeys) {
  auto app = makeApp();
  ASSERT_TRUE(playSan(*app, kStartPosition.data(), {"Nf3", "Nf6", "Nc3", "Nc6"}));
  const PositionKeys first = app->game.plies[4].keys;
  ASSERT_TRUE(playSan(*app, kStartPosition.data(), {"Nc3", "Nc6", "Nf3", "Nf6"}));
  EXPECT_EQ(app->game.plies[4].keys, first);
  EXPECT_EQ(first, keysOf(*app, "r1bqkb1r/pppppppp/2n2n2/8/8/2N2N2/PPPPPPPP/R1BQKB1R w KQkq - 4 3"));
}

struct SpecialMove {
  const char* name;
  const char* before;
  int ply;
  const char* san;
  const char* after;  // placement and side after the move, written by hand
};

const SpecialMove kSpecialMoves[] = {
    {"ShortCastling", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 1, "O-O", "r3k2r/8/8/8/8/8/8/R4RK1 b"},
    {"LongCastling", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", 2, "O-O-O", "2kr3r/8/8/8/8/8/8/R3K2R w"},
    {"EnPassant", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", 1, "exd6", "4k3/8/3P4/8/8/8/8/4K3 b"},
    {"QueenPromotion", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", 1, "a8=Q", "Qr2k3/8/8/8/8/8/8/4K3 b"},
    {"RookPromotion", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", 1, "axb8=R", "1R2k3/8/8/8/8/8/8/4K3 b"},
    {"BishopPromotion", "4k3/8/8/8/8/8/p7/1R2K3 b - - 0 1", 2, "a1=B", "4k3/8/8/8/8/8/8/bR2K3 w"},
    {"KnightPromotion", "4k3/8/8/8/8/8/p7/1R2K3 b - - 0 1", 2, "axb1=N+", "4k3/8/8/8/8/8/8/1n2K3 w"},
};

class IncrementalKeys : public ::testing::TestWithParam<SpecialMove> {};

TEST_P(IncrementalKeys, EqualFullComputationWithoutCorruptionMessage) {
  const SpecialMove& c = GetParam();
  auto app = makeApp();
  app->chess.keyCheck = true;
  setPositionFromFen(app->chess, app->game, c.before);
  if (c.ply == 2) app->game.plies[1].keys = app->game.startKeys;
  setSan(app->game, c.ply, c.san);
  ASSERT_EQ(decodeSanMove(app->chess, app->game, c.ply), 1);
  makeMove(app->chess, app->game, c.ply, app->console);
  EXPECT_EQ(app->game.plies[c.ply].keys, keysOf(*app, c.after));
  EXPECT_EQ(placementOf(app->chess.board) + (c.ply == 1 ? " b" : " w"), c.after);
  EXPECT_EQ(app->console.captured(), "");
}

INSTANTIATE_TEST_SUITE_P(Moves, IncrementalKeys, ::testing::ValuesIn(kSpecialMoves),
                         [](const auto& info) { return std::string(info.param.name); });

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
