#pragma once
// Sliding pieces that reach a square, computed without look-up tables.
#include <bit>

#include "chess/board.hpp"

namespace kestrova {

// The sliders that reach the square along a free rank or file (straight) or diagonal: the same
// as the rotated look-ups of attacks.hpp, found from the sliders' squares and the occupancy alone.
// A position has few sliders, and each look-up in the large rotated tables may cost a cache miss
// on the hot paths (SAN decoding, the check test after every half-move).
inline Bitboard slidersReaching(Bitboard sliders, Bitboard occupied, int to, bool straight, bool diagonal) {
  constexpr Bitboard kFileA = 0x0101010101010101u;
  constexpr Bitboard kDiagonal = 0x8040201008040201u;      // row == file: a8 to h1
  constexpr Bitboard kAntiDiagonal = 0x0102040810204080u;  // row + file == 7: h8 to a1
  const int toRow = rowOf(to), toFile = fileOf(to);
  Bitboard found = 0;
  for (Bitboard rest = sliders; rest; rest &= rest - 1) {
    const int from = std::countr_zero(rest);
    const int rows = rowOf(from) - toRow, files = fileOf(from) - toFile;
    Bitboard line;
    if (straight && rows == 0 && files != 0) {
      line = Bitboard{0xFF} << (8 * toRow);
    } else if (straight && files == 0 && rows != 0) {
      line = kFileA << toFile;
    } else if (diagonal && rows == files && rows != 0) {
      const int shift = 8 * (toRow - toFile);
      line = shift >= 0 ? kDiagonal << shift : kDiagonal >> -shift;
    } else if (diagonal && rows == -files && rows != 0) {
      const int shift = 8 * (toRow + toFile - 7);
      line = shift >= 0 ? kAntiDiagonal << shift : kAntiDiagonal >> -shift;
    } else {
      continue;
    }
    const int low = from < to ? from : to, high = from < to ? to : from;
    const Bitboard between = line & (squareBit(high) - 1) & ~((squareBit(low) << 1) - 1);
    if (!(between & occupied)) found |= squareBit(from);
  }
  return found;
}

}  // namespace kestrova
