// Playing moves on the board, book moves from squares, and the plausibility test.
#include "chess/position_check.hpp"
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

using namespace moveflag;

// Plays one hand-built move at ply 1 (or 2 with the start keys in ply 1).
const Move& play(App& app, const char* fen, int ply, const char* from, const char* to, int piece,
                 std::uint16_t flags = 0) {
  setPositionFromFen(app.chess, app.game, fen);
  app.game.plies[1].keys = app.game.startKeys;
  PlyRecord& move = app.game.plies[ply];
  move.from = static_cast<std::uint8_t>(sq(from));
  move.to = static_cast<std::uint8_t>(sq(to));
  move.piece = static_cast<std::uint8_t>(piece);
  move.flags = flags;
  makeMove(app.chess, app.game, ply, app.console);
  return move;
}

TEST(MakeMove, RookLeavingOrCapturedOnH1LosesTheRight) {
  auto app = makeApp();
  play(*app, "4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", 1, "h1", "h5", kRook);
  EXPECT_EQ(app->chess.board.castling, squares({"a1"}));
  const Move& move = play(*app, "4k3/8/8/8/8/6n1/8/R3K2R b KQ - 0 1", 2, "g3", "h1", kKnight, kCapture);
  EXPECT_EQ(move.capturedPiece, kRook);
  EXPECT_EQ(app->chess.board.castling, squares({"a1"}));
}

TEST(MakeMove, BookMovesPromoteToQueenAndCastleByTheKingStep) {
  auto app = makeApp();
  setPositionFromFen(app->chess, app->game, "4k3/P7/8/3pP3/8/8/8/4K2R w K d6 0 1");
  makeMoveFromSquares(app->chess, app->game, sq("a7"), sq("a8"), app->console);
  EXPECT_EQ(std::string(app->game.positionHistory[1].data()), "4k3/P7/8/3pP3/8/8/8/4K2R w - - 0 0");
  makeMoveFromSquares(app->chess, app->game, sq("e8"), sq("e7"), app->console);
  makeMoveFromSquares(app->chess, app->game, sq("e1"), sq("g1"), app->console);
  makeMoveFromSquares(app->chess, app->game, sq("e7"), sq("e6"), app->console);
  makeMoveFromSquares(app->chess, app->game, sq("e5"), sq("d6"), app->console);  // en passant, no mark needed
  EXPECT_EQ(app->game.currentPly, 5);
  EXPECT_EQ(app->game.plies[1].flags, kPromoteQueen);
  EXPECT_EQ(app->game.plies[3].flags, kShortCastle);
  EXPECT_EQ(app->game.plies[5].flags, kCapture);
  EXPECT_EQ(app->game.plies[5].capturedSquare, sq("d5"));
  EXPECT_EQ(std::string(app->game.positionHistory[4].data()), "Q7/4k3/8/3pP3/8/8/8/5RK1 b - - 0 0");
  EXPECT_EQ(placementOf(app->chess.board), "Q7/8/3Pk3/8/8/8/8/5RK1");
  EXPECT_TRUE(isConsistent(app->chess.board));
}

TEST(MakeMove, FaultyMovesLeaveTheBoardsAgreeingWithTheMailbox) {
  struct Case {
    const char* fen;
    const char* from;
    const char* to;
    int piece;
    std::uint16_t flags;
    const char* after;  // placement
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1", "a5", kRook, kCapture, "4k3/8/8/R7/8/8/8/4K3"},  // nothing to take
      {"4k3/8/8/P7/8/8/8/R3K3 w - - 0 1", "a1", "a6", kRook, kCapture, "4k3/8/R7/P7/8/8/8/4K3"},
      {"4k3/8/8/r7/8/8/8/R3K3 w - - 0 1", "a1", "a5", kRook, 0, "4k3/8/8/R7/8/8/8/4K3"},  // capture not flagged
      {"4k3/8/8/N7/8/8/8/R3K3 w - - 0 1", "a1", "a5", kRook, kCapture, "4k3/8/8/R7/8/8/8/4K3"},  // own piece
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "e1", "g1", kKing, kShortCastle, "4k3/8/8/8/8/8/8/6K1"},  // no rook
      {"4k3/8/8/8/8/8/8/4KB1R w K - 0 1", "e1", "g1", kKing, kShortCastle, "4k3/8/8/8/8/8/8/5BKR"},
      {"4k3/8/8/8/8/8/8/N3K3 w - - 0 1", "a1", "b3", kKnight, kPromoteQueen, "4k3/8/8/8/8/1N6/8/4K3"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "a1", "a5", kRook, 0, "4k3/8/8/8/8/8/8/4K3"},  // empty origin
      {"4k3/8/8/8/8/8/8/N3K3 w - - 0 1", "a1", "c2", kBishop, 0, "4k3/8/8/8/8/8/2B5/4K3"},  // wrong piece type
  };
  auto app = makeApp();
  app->chess.keyCheck = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.from + c.to);
    play(*app, c.fen, 1, c.from, c.to, c.piece, c.flags);
    EXPECT_TRUE(isConsistent(app->chess.board));
    EXPECT_EQ(placementOf(app->chess.board), c.after);
    EXPECT_EQ(app->game.plies[1].keys, computePositionKeys(*app->chess.zobrist, app->chess.board, app->chess.board.side));
  }
  EXPECT_EQ(app->console.captured(), "");
}

TEST(MakeMove, AnyPairOfSquaresKeepsBoardsAndKeysConsistent) {
  auto app = makeApp();
  app->chess.keyCheck = true;
  int broken = 0;
  for (const char* fen : {kStartPosition.data(), "r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6 0 1"}) {
    for (int from = 0; from < 64; ++from) {
      for (int to = 0; to < 64; ++to) {
        setPositionFromFen(app->chess, app->game, fen);
        makeMoveFromSquares(app->chess, app->game, from, to, app->console);
        const Board& b = app->chess.board;
        if (!isConsistent(b) || app->game.plies[1].keys != computePositionKeys(*app->chess.zobrist, b, b.side)) {
          ADD_FAILURE() << fen << " " << from << "-" << to << (isConsistent(b) ? ": keys" : ": boards");
          if (++broken == 10) return;
        }
      }
    }
  }
  EXPECT_EQ(app->console.captured(), "");
}

TEST(PositionSanity, JudgesThePositionAfterTheMoveAndShowsTheBoardOnFailure) {
  struct Case {
    const char* fen;  // the position after the move
    int ply, before, after;
    bool sane;
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/4r3/4K3 b - - 0 1", 1, 3, 3, false},  // own king left in check
      {"4k3/8/8/8/8/8/4r3/4K3 w - - 0 1", 2, 3, 3, true},   // the opponent's king in check is fine
      {"4k3/8/8/8/8/P7/PPPPPPPP/4K3 b - - 0 1", 1, 11, 11, false},  // nine pawns
      {"4k3/8/8/8/8/8/8/K3K3 b - - 0 1", 1, 3, 3, false},
      {"4k3/8/8/8/8/8/8/8 b - - 0 1", 1, 1, 1, false},  // the mover's king missing
      {"4k3/8/8/8/8/8/8/4K3 b - - 0 1", 1, 4, 2, false},  // two pieces removed
      {"4k3/8/8/8/8/8/8/4K3 b - - 0 1", 1, 3, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    auto app = makeApp();
    parseFen(app->chess.board, c.fen);
    EXPECT_EQ(checkPositionSane(*app, c.ply, c.before, c.after), c.sane);
    EXPECT_EQ(app->console.captured().find("+--+") != std::string::npos, !c.sane);
  }
}

}  // namespace
}  // namespace kestrova::test
