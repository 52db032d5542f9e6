#pragma once
// The generator's own legal moves on the chess core's board, built from its attack tables only,
// so that generated games do not depend on the move making they are used to measure.
#include <array>
#include <cstdint>

#include "chess/attack_tables.hpp"
#include "chess/board.hpp"

namespace kestrova::bench {

enum class MoveKind : std::uint8_t { kNormal, kDoubleStep, kEnPassant, kShortCastle, kLongCastle };

struct GenMove {
  std::uint8_t from = 0;
  std::uint8_t to = 0;
  std::uint8_t piece = kNoPiece;
  std::uint8_t captured = kNoPiece;   // the piece taken (a pawn for en passant)
  std::uint8_t promotion = kNoPiece;  // the piece a pawn becomes
  MoveKind kind = MoveKind::kNormal;
  bool givesCheck = false;
};

struct GenMoveList {
  static constexpr int kCapacity = 256;  // no position has more than 218 legal moves
  std::array<GenMove, kCapacity> moves;
  int count = 0;
};

// The standard start position, White to move, all castlings allowed.
void setStartPosition(Board& board);

// Plays a move generated for the board (side, castling and en-passant square follow).
void playGenMove(Board& board, const GenMove& move);

// Every legal move of the side to move, each with whether it gives check.
void generateLegalMoves(const AttackTables& tables, const Board& board, GenMoveList& list);

// Whether the side to move is in check.
bool sideInCheck(const AttackTables& tables, const Board& board);

}  // namespace kestrova::bench
