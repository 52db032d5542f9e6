// Every half-move of the sample games, decoded and made by the core, against chess.js
// (tests/data/oracle/moves.tsv, written by tools/oracle).
#include <cstring>
#include <fstream>
#include <sstream>

#include "chess_support.hpp"

namespace kestrova::test {
namespace {

std::vector<std::string> split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
  return fields;
}

// "-" (none), "k" (king) .. "p" (pawn), as chess.js writes piece types.
int typeOf(const std::string& letter) { return static_cast<int>(std::string_view("-kqrbnp").find(letter[0])); }

TEST(SampleGames, EveryHalfMoveAgreesWithChessJs) {
  std::ifstream in(std::string(KESTROVA_TEST_DATA) + "/oracle/moves.tsv");
  ChessCore core;
  core.keyCheck = true;
  PositionKeys keys;
  int plies = 0;
  for (std::string line; std::getline(in, line);) {
    // "#game" file game start-FEN, or: file game ply san from to piece captured flags promotion FEN
    const std::vector<std::string> f = split(line, '\t');
    if (f[0] == "#game") {
      core.board = boardOf(f[3]);
      keys = computePositionKeys(*core.zobrist, core.board, core.board.side);
    }
    if (line.starts_with("#")) continue;
    SCOPED_TRACE(f[0] + " game " + f[1] + " ply " + f[2] + " " + f[3]);
    const std::string& san = f[3];
    const std::string& flags = f[8];
    Move move;
    std::strncpy(move.san, san.c_str(), Move::kSanLength);
    const int mover = core.board.side;
    ASSERT_EQ(decodeSanMove(tables(), core.board, mover, move), MoveCheck::kLegal);
    EXPECT_EQ(move.from, sq(f[4].c_str()));
    EXPECT_EQ(move.to, sq(f[5].c_str()));
    EXPECT_EQ(move.piece, typeOf(f[6]));
    EXPECT_EQ(promotedType(move.flags), typeOf(f[9]));
    const bool capture = flags.find_first_of("ce") != std::string::npos;
    EXPECT_EQ((move.flags & moveflag::kCapture) != 0, capture);
    EXPECT_EQ((move.flags & moveflag::kShortCastle) != 0, flags.find('k') != std::string::npos);
    EXPECT_EQ((move.flags & moveflag::kLongCastle) != 0, flags.find('q') != std::string::npos);
    EXPECT_EQ((move.flags & moveflag::kCheck) != 0, san.find('+') != std::string::npos);
    EXPECT_EQ((move.flags & moveflag::kMate) != 0, san.find('#') != std::string::npos);

    const int menBefore = popCount(core.board.occupied);
    EXPECT_TRUE(makeMove(core, move, keys)) << "incremental keys differ from a full computation";
    keys = move.keys;
    EXPECT_EQ(move.capturedPiece, typeOf(f[7]));
    const bool enPassant = flags.find('e') != std::string::npos;
    const int victim = !capture ? 0 : enPassant ? move.to + (mover == kWhite ? 8 : -8) : move.to;
    EXPECT_EQ(move.capturedSquare, victim);
    // Placement, side and castling rights as chess.js has them, and an en-passant square after
    // every double step (chess.js writes one only when the capture is possible).
    const std::vector<std::string> after = split(f[10], ' ');
    const std::string ours = positionOf(core.board);
    ASSERT_EQ(ours.substr(0, ours.rfind(' ')), after[0] + " " + after[1] + " " + after[2]);
    const bool doubleStep = flags.find('b') != std::string::npos;
    EXPECT_EQ(core.board.enPassant, doubleStep ? squareBit((move.from + move.to) / 2) : 0u);
    EXPECT_TRUE(isPositionSane(tables(), core.board, mover, menBefore, popCount(core.board.occupied)));
    ++plies;
  }
  EXPECT_EQ(plies, 9926);
}

}  // namespace
}  // namespace kestrova::test
