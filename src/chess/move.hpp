#pragma once
// Squares, colours, piece types, position keys and the chess fields of one half-move.
#include <cstdint>

namespace kestrova {

using Bitboard = std::uint64_t;

// Squares 0..63 from a8 (0 = a8, 7 = h8, 56 = a1, 63 = h1).
enum Colour : int { kBlack = 0, kWhite = 1 };
enum PieceType : int { kNoPiece = 0, kKing = 1, kQueen = 2, kRook = 3, kBishop = 4, kKnight = 5, kPawn = 6 };

// Zobrist keys over piece placement and side to move only.
struct PositionKeys {
  std::uint64_t primary = 0;
  std::uint64_t secondary = 0;
  friend bool operator==(const PositionKeys&, const PositionKeys&) = default;
};

namespace moveflag {
constexpr std::uint16_t kCapture = 1;
constexpr std::uint16_t kCheck = 2;
constexpr std::uint16_t kPromoteQueen = 4;
constexpr std::uint16_t kPromoteRook = 8;
constexpr std::uint16_t kPromoteBishop = 16;
constexpr std::uint16_t kPromoteKnight = 32;
constexpr std::uint16_t kEnPassant = 64;
constexpr std::uint16_t kShortCastle = 128;
constexpr std::uint16_t kLongCastle = 256;
constexpr std::uint16_t kMate = 1024;
constexpr std::uint16_t kPromotion = kPromoteQueen | kPromoteRook | kPromoteBishop | kPromoteKnight;
}  // namespace moveflag

struct Move {
  static constexpr int kSanLength = 19;

  std::uint8_t from = 0;
  std::uint8_t to = 0;
  std::uint16_t flags = 0;
  std::uint8_t piece = 0;
  std::uint8_t capturedPiece = 0;
  std::uint8_t capturedSquare = 0;
  char san[kSanLength + 1] = {};
  PositionKeys keys;  // of the position after the move
};

}  // namespace kestrova
