// Decoding SAN text into origin, destination, piece and flags.
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

using namespace moveflag;

// Common SAN is checked move by move against chess.js in oracle_test; these are the unusual forms.
struct SanCase {
  const char* name;
  const char* fen;
  int ply;  // odd: White moves
  const char* san;
  int result;
  const char* from;
  const char* to;
  int piece;
  std::uint16_t flags;
};

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// Knights on c3 and g1 both reach e2; the Black bishop on a5 pins c3 against the king on e1.
constexpr const char* kPinned = "4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1";
constexpr const char* kPromotion = "k4r2/4P3/8/8/8/8/8/4K3 w - - 0 1";
constexpr const char* kCastling = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";

const SanCase kCases[] = {
    {"KnightByRank", "4k3/8/8/6N1/8/8/8/4K1N1 w - - 0 1", 1, "N1f3", 1, "g1", "f3", kKnight, 0},
    {"PinnedKnightByKingSafety", kPinned, 1, "Ne2", 1, "g1", "e2", kKnight, 0},
    {"LowestSquareWhenBothLegal", "4k3/8/8/8/8/2N5/8/4K1N1 w - - 0 1", 1, "Ne2", 1, "c3", "e2", kKnight, 0},
    {"LeftmostRestrictionWins", "4k3/8/8/Q7/7Q/8/8/K7 w - - 0 1", 1, "Qh4e1", 1, "h4", "e1", kQueen, 0},
    {"EnPassantMarked", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", 1, "exd6ep", 1, "e5", "d6", kPawn, kCapture | kEnPassant},
    {"PromotionAfterEight", kPromotion, 1, "e8Q", 1, "e7", "e8", kPawn, kPromoteQueen},
    {"CapturePromotionWithCheck", kPromotion, 1, "exf8=N+", 1, "e7", "f8", kPawn, kCapture | kPromoteKnight | kCheck},
    {"BlackPromotionWithEquals", "4k3/8/8/8/8/8/4p3/7K b - - 0 1", 2, "e1=Q", 1, "e2", "e1", kPawn, kPromoteQueen},
    {"BlackPromotionWithoutEquals", "4k3/8/8/8/8/8/4p3/7K b - - 0 1", 2, "e1Q", 1, "e2", "e1", kPawn, 0},
    {"ShortCastlingWithCheck", kCastling, 1, "O-O+", 1, "e1", "g1", kKing, kShortCastle | kCheck},
    {"LongCastlingMate", kCastling, 1, "O-O-O#", 1, "e1", "c1", kKing, kLongCastle | kMate},
    {"CastlingWithZerosFails", kCastling, 1, "0-0", 0, nullptr, nullptr, 0, 0},
    {"AnnotationsIgnored", "4k3/8/8/4p3/8/8/8/Q3K3 w - - 0 1", 1, "Qxe5!?", 1, "a1", "e5", kQueen, kCapture},
    {"OneCharacterFails", kStart, 1, "e", 0, nullptr, nullptr, 0, 0},
    {"WrongColourFails", kStart, 1, "e5", 0, nullptr, nullptr, 0, 0},
    {"UnreachableSquareFails", kStart, 1, "Nd4", 0, nullptr, nullptr, 0, 0},
    {"RankNineFails", kStart, 1, "e9", 0, nullptr, nullptr, 0, 0},
};

class SanDecoding : public ::testing::TestWithParam<SanCase> {};

TEST_P(SanDecoding, DecodesAsWritten) {
  const SanCase& c = GetParam();
  auto app = makeApp();
  setPositionFromFen(app->chess, app->game, c.fen);
  const Board before = app->chess.board;
  app->game.plyCount = 5;
  setSan(app->game, c.ply, c.san);
  ASSERT_EQ(decodeSanMove(app->chess, app->game, c.ply), c.result);
  EXPECT_EQ(app->chess.board.mailbox, before.mailbox);
  EXPECT_EQ(app->chess.board.occupied, before.occupied);
  if (c.result == 0) {
    EXPECT_EQ(app->game.plyCount, 4);
    return;
  }
  const Move& move = app->game.plies[c.ply];
  EXPECT_EQ(move.from, sq(c.from));
  EXPECT_EQ(move.to, sq(c.to));
  EXPECT_EQ(move.piece, c.piece);
  EXPECT_EQ(move.flags, c.flags);
  EXPECT_EQ(app->game.plyCount, 5);
}

INSTANTIATE_TEST_SUITE_P(Cases, SanDecoding, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SanDecoding, CastlingSetsTheGameMarker) {
  auto app = makeApp();
  EXPECT_TRUE(playSan(*app, kCastling, {"O-O-O", "O-O"}));
  EXPECT_TRUE(app->game.castled.whiteLong);
  EXPECT_TRUE(app->game.castled.blackShort);
  EXPECT_FALSE(app->game.castled.whiteShort || app->game.castled.blackLong);
  setPositionFromFen(app->chess, app->game, kCastling);
  EXPECT_FALSE(app->game.castled.whiteLong || app->game.castled.blackShort);
}

TEST(SanDecoding, MalformedTextsNeverTouchTheBoard) {
  auto app = makeApp();
  const char* texts[] = {"x", "=Q", "O", "8", "h9", "Kxx", "e8=Q=N", "a0", "i4", "Qxx9", "ep", "++", "Z", "exd1ep",
                         "Nbxx", "O-O-O-O-O-O-O-O-O-O", "bxa1=Q#!?!?!?!?!?!", "1234567890123456789"};
  for (const char* text : texts) {
    for (int ply : {1, 2}) {
      setPositionFromFen(app->chess, app->game, "r3k2r/1P4P1/8/3pP3/8/8/1p4p1/R3K2R w KQkq d6 0 1");
      const Board before = app->chess.board;
      setSan(app->game, ply, text);
      if (decodeSanMove(app->chess, app->game, ply)) makeMove(app->chess, app->game, ply, app->console);
      else EXPECT_EQ(app->chess.board.mailbox, before.mailbox) << text;
      EXPECT_TRUE(isConsistent(app->chess.board)) << text;
    }
  }
}

}  // namespace
}  // namespace kestrova::test
