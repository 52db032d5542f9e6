#pragma once
// Zobrist keys: two independent 64-bit keys over piece placement and side to move.
#include <array>
#include <cstdint>
#include <memory>

#include "chess/board.hpp"
#include "chess/move.hpp"

namespace kestrova {

// The C run-time library's linear congruential generator, written out so that the keys are the
// same on every machine whatever its own rand() does.
class RuntimeRandom {
 public:
  explicit RuntimeRandom(std::uint32_t seed) : state_(seed) {}
  // A 15-bit value: bits 16 to 30 of the next state.
  int draw() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  std::uint32_t state_;
};

// Five consecutive draws folded into 64 bits (only the low four bits of the first survive).
std::uint64_t random64(RuntimeRandom& random);

struct ZobristTables {
  // [type][colour][square]: the primary and the secondary key of a piece on a square, side by
  // side so that both come from one cache line.
  using KeyTable = std::array<std::array<std::array<PositionKeys, 64>, 2>, 7>;
  alignas(16) KeyTable pieces{};
  std::uint64_t side = 0;  // XORed into both keys when Black is to move
};

// Draws every key from a generator seeded with the seed: per type, colour and square the primary
// then the secondary entry, and last the side key.
std::unique_ptr<const ZobristTables> generateZobristKeys(std::uint32_t seed);

// The keys of the board from scratch, for the side to move (0 Black; anything else adds nothing).
// Castling rights and the en-passant square are not part of them, so transpositions compare equal.
PositionKeys computePositionKeys(const ZobristTables& zobrist, const Board& board, int side);

// The piece type a promotion flag stands for (queen, rook, bishop, knight), 0 without one.
inline int promotedType(std::uint16_t flags) {
  if (flags & moveflag::kPromoteQueen) return kQueen;
  if (flags & moveflag::kPromoteRook) return kRook;
  if (flags & moveflag::kPromoteBishop) return kBishop;
  if (flags & moveflag::kPromoteKnight) return kKnight;
  return kNoPiece;
}

// Puts a piece on a square into both keys, or takes it out.
inline void togglePieceKeys(const ZobristTables& zobrist, PositionKeys& keys, int type, int colour, int square) {
  const PositionKeys& entry = zobrist.pieces[type][colour][square];
  keys.primary ^= entry.primary;
  keys.secondary ^= entry.secondary;
}

// Turns the keys of the position before the move into those after it; the board already holds
// the position after the move (the mover's colour is read from the destination square).
inline void updatePositionKeys(const ZobristTables& zobrist, const Board& board, const Move& move, PositionKeys& keys) {
  const int colour = board.colourOn(move.to);
  const int to = move.to;
  if (move.capturedPiece != kNoPiece) {
    togglePieceKeys(zobrist, keys, move.capturedPiece, 1 - colour, move.capturedSquare);
  }
  togglePieceKeys(zobrist, keys, move.piece, colour, move.from);
  togglePieceKeys(zobrist, keys, move.piece, colour, to);
  if (move.flags & moveflag::kPromotion) {
    togglePieceKeys(zobrist, keys, kPawn, colour, to);
    togglePieceKeys(zobrist, keys, promotedType(move.flags), colour, to);
  }
  if (move.flags & moveflag::kShortCastle) {
    togglePieceKeys(zobrist, keys, kRook, colour, to + 1);
    togglePieceKeys(zobrist, keys, kRook, colour, to - 1);
  } else if (move.flags & moveflag::kLongCastle) {
    togglePieceKeys(zobrist, keys, kRook, colour, to - 2);
    togglePieceKeys(zobrist, keys, kRook, colour, to + 1);
  }
  keys.primary ^= zobrist.side;
  keys.secondary ^= zobrist.side;
}

}  // namespace kestrova
