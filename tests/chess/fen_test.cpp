// Reading and writing position strings, and starting a game from its FEN tag.
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

TEST(Fen, StartStringIsReadAndWrittenBack) {
  Board board;
  parseFen(board, kStartPosition);
  EXPECT_EQ(board.castling, squares({"a1", "h1", "a8", "h8"}));
  EXPECT_TRUE(isConsistent(board));
  std::string fen;
  writeFen(board, kWhite, fen);
  EXPECT_EQ(fen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 0;");
  writePlacementFen(board, kWhite, fen);
  EXPECT_EQ(fen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 0");
  std::array<char, 20> shortText;  // cut to the buffer, terminated
  writePlacementFen(board, kBlack, shortText);
  EXPECT_EQ(std::string(shortText.data()), "rnbqkbnr/pppppppp/8");
}

TEST(Fen, SideCastlingAndEnPassantFields) {
  struct Case {
    const char* fen;
    int side;
    Bitboard castling, enPassant;
  };
  const Case cases[] = {
      {"5k2/8/8/8/8/8/8/5K1R w K - 0 1", kWhite, 0, 0},  // the king is not on e1
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", kBlack, squares({"a1", "h1", "a8", "h8"}), 0},
      {"r3k3/8/8/8/8/8/8/4K2R w KQkq - 0 1", kWhite, squares({"h1", "a8"}), 0},
      {"4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1", kBlack, 0, squares({"e3"})},
      {"4k3/8/8/8/8/8/8/4K3 x", kWhite, 0, 0},
      {"8/8/8/8/8/8/8/8", -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    Board board;
    parseFen(board, c.fen);
    EXPECT_EQ(board.side, c.side);
    EXPECT_EQ(board.castling, c.castling);
    EXPECT_EQ(board.enPassant, c.enPassant);
  }
}

TEST(Fen, PlacementStopsAtTheLastSquare) {
  Board board;
  parseFen(board, "4k3/8/8/8/8/8/8/4K3/QQQQ w");  // a ninth row: nothing beyond h1
  EXPECT_EQ(board.occupied, squares({"e8", "e1"}));
  EXPECT_EQ(board.side, kWhite);
  parseFen(board, "4k38888887K");  // rows without slashes
  EXPECT_EQ(board.occupied, squares({"e8", "h1"}));
  parseFen(board, "pppppppp/pppppppp/pppppppp/pppppppp/pppppppp/pppppppp/pppppppp/pppppppp/PPPP b");
  EXPECT_EQ(board.occupied, ~Bitboard{0});
  EXPECT_EQ(board.colours[kWhite], 0u);
  EXPECT_TRUE(isConsistent(board));
}

TEST(Fen, GameStartsFromItsFenTagAndResetsItsState) {
  auto app = makeApp();
  Game& game = app->game;
  game.currentPly = 12;
  game.halfMoveClock = game.previousHalfMoveClock = game.maxHalfMoveClock = 7;
  game.castled.whiteShort = true;
  HeaderLines header;
  header.lines[0] = "[Event \"x\"]\n";
  header.lines[1] = "[FEN \"8/8/8/4k3/8/8/8/4K3 w - - 0 1\"]\n";
  header.count = 2;
  EXPECT_EQ(setPositionFromFen(app->chess, game, kStartPosition, &header), 1);
  EXPECT_EQ(app->chess.board.occupied, squares({"e5", "e1"}));
  EXPECT_EQ(app->chess.currentFen, "8/8/8/4k3/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(app->chess.previousFen, app->chess.currentFen);
  EXPECT_EQ(game.currentPly, 0);
  EXPECT_EQ(game.halfMoveClock + game.previousHalfMoveClock + game.maxHalfMoveClock, 0);
  EXPECT_FALSE(game.castled.whiteShort);
  EXPECT_EQ(game.startKeys, computePositionKeys(*app->chess.zobrist, app->chess.board, kWhite));
  header.lines[1] = "[FEN \"8/8\"]\n";  // 5 characters or fewer: ignored
  setPositionFromFen(app->chess, game, kStartPosition, &header);
  EXPECT_EQ(app->chess.currentFen, kStartPosition);
}

}  // namespace
}  // namespace kestrova::test
