// Decoding the notation of a half-move into a legal move; expected squares checked with chess.js.
#include <cstring>
#include <fstream>
#include <sstream>

#include "chess_support.hpp"

namespace kestrova::test {
namespace {

// Decodes the text in the position and plays it as the replay does: the decoder's verdict, then
// the king's safety once the move is made. True when the move is legal; the move is filled.
bool plays(ChessCore& core, std::string_view text, Move& move) {
  move = Move{};
  std::memcpy(move.san, text.data(), std::min<std::size_t>(text.size(), Move::kSanLength));
  const int mover = core.board.side;
  const int men = popCount(core.board.occupied);
  if (decodeSanMove(tables(), core.board, mover, move) != MoveCheck::kLegal) return false;
  makeMove(core, move, PositionKeys{});
  return checkPosition(tables(), core.board, mover, men, popCount(core.board.occupied)) !=
         PositionFault::kKingLeftInCheck;
}

TEST(MoveNotation, EveryWrittenFormOfAMoveDecodesToIt) {
  const struct { const char* fen; std::vector<const char*> texts; const char *from, *to; int promoted; } cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {"Nf3", "Ng1f3", "Ng1-f3", "g1f3", "Nf3!?"},
       "g1", "f3", 0},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {"e4", "e2e4", "e2-e4"}, "e2", "e4", 0},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", {"O-O", "0-0", "e1g1", "Ke1g1", "O-O+"}, "e1", "g1", 0},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", {"O-O-O", "0-0-0", "e1c1"}, "e1", "c1", 0},
      {"rnbqkbnr/ppp2ppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", {"exd6", "exd6e.p.", "exd6ep", "e5xd6", "e5d6"},
       "e5", "d6", 0},
      {"4k3/2P5/8/8/8/8/8/4K3 w - - 0 1", {"c8=Q", "c8Q", "c7c8q", "c7-c8=Q", "c8=Q+"}, "c7", "c8", kQueen},
      {"4k3/2P5/8/8/8/8/8/4K3 w - - 0 1", {"c8=N", "c8N"}, "c7", "c8", kKnight},
      {"4k3/8/8/8/8/8/2p5/3QK3 b - - 0 1", {"cxd1Q", "cxd1=Q", "c2xd1=Q"}, "c2", "d1", kQueen},
      // Three queens reach e1: the origin's file or rank tells them apart.
      {"4k3/8/8/8/7Q/K7/8/1Q5Q w - - 0 1", {"Qh4e1", "Q4e1"}, "h4", "e1", 0},
      {"4k3/8/8/8/7Q/K7/8/1Q5Q w - - 0 1", {"Qbe1"}, "b1", "e1", 0},
      // The bishop pins the knight on c3: the one on g1 is the only one that can go.
      {"4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1", {"Ne2"}, "g1", "e2", 0},
  };
  for (const auto& c : cases) {
    for (const char* text : c.texts) {
      SCOPED_TRACE(std::string(c.fen) + " " + text);
      ChessCore core;
      core.board = boardOf(c.fen);
      Move move;
      ASSERT_TRUE(plays(core, text, move));
      EXPECT_EQ(std::tuple(move.from, move.to, promotedType(move.flags)), std::tuple(sq(c.from), sq(c.to), c.promoted));
    }
  }
}

// Each move no position allows beside the nearest one that it allows.
TEST(MoveNotation, AnIllegalMoveIsRefusedAndItsNearestLegalOneIsNot) {
  const struct { const char *fen, *illegal, *legal; } cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w Qkq - 0 1", "O-O", "O-O-O"},                               // no right
      {"rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2", "O-O", "Nf3"},         // through own men
      {"r3k2r/8/8/8/8/8/4q3/R3K2R w KQkq - 0 1", "O-O", "Kxe2"},                             // out of check
      {"r4rk1/8/8/8/8/8/8/R3K2R w KQ - 0 1", "O-O", "O-O-O"},                                // through check
      {"r3k2r/8/8/8/8/8/8/R3K2R w kq - 0 1", "O-O-O", "Kd1"},                                // the king has moved
      {"rnbqkbnr/pppp1ppp/8/4p3/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 2", "Nxd2", "Nxe5"},     // takes its own
      {"rnbqkbnr/pppp1ppp/8/4p3/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 2", "exf3", "e3"},       // a pawn takes its own
      {"rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2", "e5", "d4"},         // onto a man
      {"rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2", "Nxf3", "Nf3"},      // takes nothing
      {"rnbqkbnr/pp2pppp/2p5/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq - 0 3", "exd6", "e6"},       // no en passant
      {"rnbqkbnr/ppp2ppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", "exf6", "exd6"},      // en passant elsewhere
      {"r1bqk1nr/pppp1ppp/2n5/4P3/1b6/2N5/PPP1PPPP/R1BQKBNR w KQkq - 0 4", "Nd5", "Bd2"},   // a pinned knight
      {"4k3/8/8/8/8/8/3r4/4K3 w - - 0 1", "Kd1", "Kxd2"},                                    // into check
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "Ke3", "Ke2"},                                       // two squares
      {"4k3/2P5/8/8/8/8/8/4K3 w - - 0 1", "c8", "c8=Q"},                                     // no promotion
      {"4k3/8/8/8/8/8/2P5/4K3 w - - 0 1", "c4=Q", "c4"},                                     // promotion elsewhere
      {"4k3/8/8/8/7Q/K7/8/1Q5Q w - - 0 1", "Qe1", "Qbe1"},                                   // which queen?
      {"4k3/8/8/8/8/2N5/8/4K1N1 w - - 0 1", "Ne2", "Nge2"},                                  // which knight?
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.illegal + " / " + c.legal);
    ChessCore core;
    core.board = boardOf(c.fen);
    Move move;
    EXPECT_FALSE(plays(core, c.illegal, move));
    core.board = boardOf(c.fen);
    EXPECT_TRUE(plays(core, c.legal, move));
  }
}

// Random games played by chess.js (tests/data/oracle/legality.tsv): every move played is accepted
// (so the game goes on as chess.js played it), every notation chess.js refuses is refused.
TEST(MoveNotation, AgreesWithChessJsOnRandomGames) {
  std::ifstream in(std::string(KESTROVA_TEST_DATA) + "/oracle/legality.tsv");
  int played = 0, refused = 0;
  for (std::string line; std::getline(in, line);) {
    ChessCore core;
    core.board = boardOf(kStartPosition);
    std::istringstream plies(line);
    for (std::string ply; plies >> ply;) {
      std::vector<std::string> texts;
      std::istringstream fields(ply);
      for (std::string text; std::getline(fields, text, '|');) texts.push_back(text);
      for (std::size_t i = 1; i < texts.size(); ++i) {
        ChessCore trial;
        trial.board = core.board;
        Move move;
        EXPECT_FALSE(plays(trial, texts[i], move)) << positionOf(core.board) << " " << texts[i];
        ++refused;
      }
      Move move;
      ASSERT_TRUE(plays(core, texts[0], move)) << texts[0];
      EXPECT_TRUE(isConsistent(core.board));
      ++played;
    }
  }
  EXPECT_GT(played, 3000);
  EXPECT_GT(refused, 5000);
}

}  // namespace
}  // namespace kestrova::test
