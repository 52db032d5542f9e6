// Decoding SAN text into origin, destination, piece and flags.
#include <cstring>

#include "chess_support.hpp"

namespace kestrova::test {
namespace {

using namespace moveflag;

// Common SAN is checked move by move against chess.js in oracle_test; these are the unusual forms.
TEST(SanDecoding, UnusualFormsDecodeAsWritten) {
  const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
  const char* pinned = "4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1";  // the bishop pins c3; g1 and c3 reach e2
  const char* promotion = "k4r2/4P3/8/8/8/8/8/4K3 w - - 0 1";
  const char* blackPromotion = "4k3/8/8/8/8/8/4p3/7K b - - 0 1";
  const char* castling = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
  // No origin: the text cannot be decoded.
  const struct { const char *fen, *san, *from, *to; int piece; std::uint16_t flags; } cases[] = {
      {"4k3/8/8/6N1/8/8/8/4K1N1 w - - 0 1", "N1f3", "g1", "f3", kKnight, 0},
      {pinned, "Ne2", "g1", "e2", kKnight, 0},  // the pinned knight cannot go
      {"4k3/8/8/8/8/2N5/8/4K1N1 w - - 0 1", "Ne2", "c3", "e2", kKnight, 0},  // both can: the lowest square
      {"4k3/8/8/Q7/7Q/8/8/K7 w - - 0 1", "Qh4e1", "h4", "e1", kQueen, 0},  // the leftmost restriction counts
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "exd6ep", "e5", "d6", kPawn, kCapture | kEnPassant},
      {promotion, "e8Q", "e7", "e8", kPawn, kPromoteQueen},
      {promotion, "exf8=N+", "e7", "f8", kPawn, kCapture | kPromoteKnight | kCheck},
      {blackPromotion, "e1=Q", "e2", "e1", kPawn, kPromoteQueen},
      {blackPromotion, "e1Q", "e2", "e1", kPawn, 0},  // a promotion letter counts after "=" or "8"
      {castling, "O-O+", "e1", "g1", kKing, kShortCastle | kCheck},
      {castling, "O-O-O#", "e1", "c1", kKing, kLongCastle | kMate},
      {"4k3/8/8/4p3/8/8/8/Q3K3 w - - 0 1", "Qxe5!?", "a1", "e5", kQueen, kCapture},
      {castling, "0-0", nullptr, nullptr, 0, 0},  // castling needs the capital O
      {start, "e", nullptr, nullptr, 0, 0},       {start, "e9", nullptr, nullptr, 0, 0},
      {start, "e5", nullptr, nullptr, 0, 0},  // no pawn of the side to move reaches it
      {start, "Nd4", nullptr, nullptr, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fen) + " " + c.san);
    const Board board = boardOf(c.fen);
    Move move;
    std::strncpy(move.san, c.san, Move::kSanLength);
    ASSERT_EQ(decodeSanMove(tables(), board, board.side, move), c.from != nullptr);
    if (c.from == nullptr) continue;
    EXPECT_EQ(move.from, sq(c.from));
    EXPECT_EQ(move.to, sq(c.to));
    EXPECT_EQ(move.piece, c.piece);
    EXPECT_EQ(move.flags, c.flags);
  }
}

}  // namespace
}  // namespace kestrova::test
