#pragma once
// The single current position: bitboards per piece and colour, the occupancy in normal and three
// rotated bit orders, and a mailbox of piece types.
#include <array>
#include <bit>
#include <cstdint>

#include "chess/move.hpp"

namespace kestrova {

// The value of highestSquare for an empty board and of a square that cannot be read.
constexpr int kNoSquare = 99;

constexpr int fileOf(int square) { return square & 7; }
constexpr int rowOf(int square) { return square >> 3; }  // 0 = rank 8, 7 = rank 1
constexpr Bitboard squareBit(int square) { return Bitboard{1} << square; }

// Bit positions of a square in the rotated occupancy boards: each file, and each diagonal of
// either direction, becomes one contiguous run of bits, so a line's occupancy is a shift and a mask.
constexpr int fileRotation(int square) { return 56 - 8 * fileOf(square) + rowOf(square); }
constexpr int diagARotation(int square) { return (32 + 8 * rowOf(square) - 7 * fileOf(square)) & 63; }
constexpr int diagBRotation(int square) { return (40 + 8 * rowOf(square) + 9 * fileOf(square)) & 63; }

// Each square's bit in the three rotated boards, looked up rather than computed on every move.
struct RotatedBits {
  std::array<Bitboard, 64> files{};
  std::array<Bitboard, 64> diagA{};
  std::array<Bitboard, 64> diagB{};
};
inline constexpr RotatedBits kRotatedBits = [] {
  RotatedBits bits;
  for (int square = 0; square < 64; ++square) {
    bits.files[square] = squareBit(fileRotation(square));
    bits.diagA[square] = squareBit(diagARotation(square));
    bits.diagB[square] = squareBit(diagBRotation(square));
  }
  return bits;
}();

// The square of a file letter 'a'..'h' and a rank digit '1'..'8', or kNoSquare.
constexpr int squareOf(char file, char rank) {
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return kNoSquare;
  return ('8' - rank) * 8 + (file - 'a');
}

// Number of squares of a board; the same as adding the counts of its four 16-bit words.
// Counted inline: without a popcnt instruction in the target (the program runs on any amd64),
// std::popcount becomes a call into the compiler's support library.
constexpr int popCount(Bitboard bits) {
  bits -= (bits >> 1) & 0x5555555555555555ULL;
  bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((bits * 0x0101010101010101ULL) >> 56);
}

// The highest-numbered square of a board, kNoSquare when it is empty.
constexpr int highestSquare(Bitboard bits) { return bits ? 63 - std::countl_zero(bits) : kNoSquare; }

struct Board {
  int side = -1;  // 1 White, 0 Black, -1 when a position string gave no side
  std::array<std::uint8_t, 64> mailbox{};
  std::array<std::array<Bitboard, 7>, 2> pieces{};  // [colour][type]; type 0 stays empty
  std::array<Bitboard, 2> colours{};
  Bitboard occupied = 0;
  Bitboard occupiedDiagA = 0;
  Bitboard occupiedFiles = 0;
  Bitboard occupiedDiagB = 0;
  Bitboard castling = 0;   // rook squares a8, h8, a1, h1 whose right still stands
  Bitboard enPassant = 0;  // the square jumped over by the last double step
  std::uint16_t halfMoveClock = 0;   // half-moves since the last capture or pawn move
  std::uint16_t fullMoveNumber = 1;  // the number of the move to be played, as FEN counts it

  void clear() { *this = Board{}; }

  // Puts a piece on an empty square, in every board that holds it.
  void put(int colour, int type, int square) {
    mailbox[square] = static_cast<std::uint8_t>(type);
    pieces[colour][type] |= squareBit(square);
    colours[colour] |= squareBit(square);
    occupied |= squareBit(square);
    occupiedFiles |= kRotatedBits.files[square];
    occupiedDiagA |= kRotatedBits.diagA[square];
    occupiedDiagB |= kRotatedBits.diagB[square];
  }

  // Takes whatever stands on a square off every board; nothing happens on an empty square.
  void remove(int square) {
    const Bitboard bit = squareBit(square);
    if (!(occupied & bit)) return;
    const int colour = colourOn(square);
    pieces[colour][mailbox[square]] &= ~bit;
    colours[colour] &= ~bit;
    mailbox[square] = kNoPiece;
    occupied &= ~bit;
    occupiedFiles &= ~kRotatedBits.files[square];
    occupiedDiagA &= ~kRotatedBits.diagA[square];
    occupiedDiagB &= ~kRotatedBits.diagB[square];
  }

  // Moves a piece of the colour and type from one square to an empty one.
  void shift(int colour, int type, int from, int to) {
    const Bitboard both = squareBit(from) | squareBit(to);
    mailbox[to] = static_cast<std::uint8_t>(type);
    mailbox[from] = kNoPiece;
    pieces[colour][type] ^= both;
    colours[colour] ^= both;
    occupied ^= both;
    occupiedFiles ^= kRotatedBits.files[from] | kRotatedBits.files[to];
    occupiedDiagA ^= kRotatedBits.diagA[from] | kRotatedBits.diagA[to];
    occupiedDiagB ^= kRotatedBits.diagB[from] | kRotatedBits.diagB[to];
  }

  bool isEmpty(int square) const { return !(occupied & squareBit(square)); }
  // kWhite or kBlack for an occupied square; the colour is never kept in the mailbox.
  int colourOn(int square) const { return (colours[kWhite] & squareBit(square)) ? kWhite : kBlack; }
};

}  // namespace kestrova
