// Playing moves on the board, the key check after each, and the plausibility test.
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

using namespace moveflag;

Move pieceMove(int from, int to, int piece, std::uint16_t flags = 0) {
  Move move;
  move.from = static_cast<std::uint8_t>(from);
  move.to = static_cast<std::uint8_t>(to);
  move.piece = static_cast<std::uint8_t>(piece);
  move.flags = flags;
  return move;
}

// Makes the move from the board, starting from that position's keys; false when the key check fails.
bool play(ChessCore& core, const Board& board, Move& move) {
  core.board = board;
  return makeMove(core, move, computePositionKeys(*core.zobrist, board, board.side));
}

// A move trusted blindly (a book move, a faulty one) leaves every board agreeing with the mailbox,
// and keys kept incrementally agree with a full computation (regular moves: oracle_test).
TEST(MakeMove, AnyMoveKeepsBoardsAndKeysConsistent) {
  const std::uint16_t flagSets[] = {0, kCapture, kPromoteQueen, kCapture | kPromoteKnight, kPromoteBishop,
                                    kShortCastle, kCapture | kLongCastle, kCapture | kEnPassant};
  ChessCore core;
  core.keyCheck = true;
  for (const char* fen : {kStartPosition.data(), "r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6 0 1"}) {
    const Board board = boardOf(fen);
    for (int from = 0; from < 64; ++from) {
      for (int to = 0; to < 64; ++to) {
        Move book = moveFromSquares(board, from, to);
        ASSERT_TRUE(play(core, board, book) && isConsistent(core.board)) << fen << " " << from << "-" << to;
        for (int piece = kNoPiece; piece <= kPawn; ++piece) {
          for (std::uint16_t flags : flagSets) {
            Move move = pieceMove(from, to, piece, flags);
            ASSERT_TRUE(play(core, board, move) && isConsistent(core.board))
                << fen << " " << from << "-" << to << " piece " << piece << " flags " << flags;
          }
        }
      }
    }
  }
}

TEST(MakeMove, KeysThatDifferFromAFullComputationAreReportedAndTheMoveStaysMade) {
  ChessCore core;
  const PositionKeys start = computePositionKeys(*core.zobrist, boardOf(kStartPosition), kWhite);
  for (bool check : {false, true}) {  // no check until start-up has finished
    core.keyCheck = check;
    core.board = boardOf(kStartPosition);
    Move e4 = pieceMove(sq("e2"), sq("e4"), kPawn);
    EXPECT_EQ(makeMove(core, e4, {start.primary ^ 1, start.secondary}), !check);
    EXPECT_EQ(positionOf(core.board), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
    const PositionKeys full = computePositionKeys(*core.zobrist, core.board, kBlack);
    EXPECT_EQ(e4.keys, (PositionKeys{full.primary ^ 1, full.secondary}));
  }
}

TEST(PositionSanity, JudgesThePositionAfterTheMove) {
  // The position after the move, the mover, the numbers of pieces before and after it.
  const struct { const char* fen; int mover, before, after; bool sane; } cases[] = {
      {"4k3/8/8/8/8/8/4r3/4K3 b - - 0 1", kWhite, 3, 3, false},  // own king left in check
      {"4k3/8/8/8/8/8/4r3/4K3 w - - 0 1", kBlack, 3, 3, true},   // the opponent's king in check is fine
      {"4k3/8/8/8/8/P7/PPPPPPPP/4K3 b - - 0 1", kWhite, 11, 11, false},  // nine pawns
      {"4k3/8/8/8/8/8/8/K3K3 b - - 0 1", kWhite, 3, 3, false},           // three kings
      {"4k3/8/8/8/8/8/8/8 b - - 0 1", kWhite, 1, 1, false},              // the mover's king missing
      {"4k3/8/8/8/8/8/8/4K3 b - - 0 1", kWhite, 4, 2, false},            // two pieces removed
      {"4k3/8/8/8/8/8/8/4K3 b - - 0 1", kWhite, 3, 2, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isPositionSane(tables(), boardOf(c.fen), c.mover, c.before, c.after), c.sane) << c.fen;
  }
}

}  // namespace
}  // namespace kestrova::test
