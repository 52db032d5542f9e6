#pragma once
// Attack sets and square masks computed once at start-up and only read afterwards.
#include <array>
#include <cstdint>
#include <memory>

#include "chess/board.hpp"

namespace kestrova {

struct AttackTables {
  using SquareMasks = std::array<Bitboard, 64>;
  using LineAttacks = std::array<std::array<Bitboard, 256>, 64>;  // [square][line occupancy]

  // Where the run of a square's diagonal starts in the rotated board, and a mask of its length.
  std::array<std::uint8_t, 64> diagAStart{};
  std::array<std::uint8_t, 64> diagAMask{};
  std::array<std::uint8_t, 64> diagBStart{};
  std::array<std::uint8_t, 64> diagBMask{};

  // Reach along a line up to and including the first occupied square, both directions.
  LineAttacks rankAttacks{};
  LineAttacks fileAttacks{};
  LineAttacks diagAAttacks{};
  LineAttacks diagBAttacks{};

  // Reach on an empty board: a line is only looked up when a suitable slider stands on it.
  SquareMasks rookLines{};
  SquareMasks bishopLines{};

  // [colour][square]: where a pawn of that colour stands when it attacks the square.
  std::array<SquareMasks, 2> pawnAttackers{};
  SquareMasks knightAttacks{};
  SquareMasks kingAttacks{};

  std::array<Bitboard, 8> files{};  // file a .. h
  std::array<Bitboard, 8> ranks{};  // rank 1 .. 8
  // All squares of a file letter 'a'..'h' or a rank digit '1'..'8'; empty for any other character.
  Bitboard fileMask(char file) const { return file >= 'a' && file <= 'h' ? files[file - 'a'] : 0; }
  Bitboard rankMask(char rank) const { return rank >= '1' && rank <= '8' ? ranks[rank - '1'] : 0; }

  // Shapes of the pawn-shape detection rules, anchored at a square (f, r); empty where they do not
  // fit. Diamond: (f,r) (f-1,r+1) (f+1,r+1) (f,r+2). Pawn1x3 and Pawn1x4: the anchor and the next
  // two or three squares up its file. Pawn2x2: (f,r) (f+1,r) (f,r+1) (f+1,r+1).
  SquareMasks diamond{};
  SquareMasks pawn1x3{};
  SquareMasks pawn1x4{};
  SquareMasks pawn2x2{};
  // The square and its up to eight neighbours (the pawn-storm rule).
  SquareMasks block3x3{};
  // [colour][square]: files f-2..f+2, for White on ranks r..8, for Black on ranks 1..r; where an
  // opposing pawn would stop a pawn storm.
  std::array<SquareMasks, 2> stormZone{};
};

// Builds every table.
std::unique_ptr<const AttackTables> buildAttackTables();

}  // namespace kestrova
