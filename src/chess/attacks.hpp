#pragma once
// Which pieces attack a square: table look-ups only, one shift and mask per line.
#include "chess/attack_tables.hpp"
#include "chess/board.hpp"

namespace kestrova {

inline Bitboard rankReach(const AttackTables& t, const Board& b, int square) {
  return t.rankAttacks[square][(b.occupied >> (square & ~7)) & 255];
}
inline Bitboard fileReach(const AttackTables& t, const Board& b, int square) {
  return t.fileAttacks[square][(b.occupiedFiles >> (8 * (7 - fileOf(square)))) & 255];
}
inline Bitboard diagAReach(const AttackTables& t, const Board& b, int square) {
  return t.diagAAttacks[square][(b.occupiedDiagA >> t.diagAStart[square]) & t.diagAMask[square]];
}
inline Bitboard diagBReach(const AttackTables& t, const Board& b, int square) {
  return t.diagBAttacks[square][(b.occupiedDiagB >> t.diagBStart[square]) & t.diagBMask[square]];
}

// True when any piece of the colour, its king included, attacks the square.
inline bool isAttacked(const AttackTables& t, const Board& b, int colour, int square) {
  if (t.pawnAttackers[colour][square] & b.pieces[colour][kPawn]) return true;
  const Bitboard straight = b.pieces[colour][kRook] | b.pieces[colour][kQueen];
  if (t.rookLines[square] & straight) {
    if (fileReach(t, b, square) & straight) return true;
    if (rankReach(t, b, square) & straight) return true;
  }
  const Bitboard diagonal = b.pieces[colour][kBishop] | b.pieces[colour][kQueen];
  if (t.bishopLines[square] & diagonal) {
    if (diagAReach(t, b, square) & diagonal) return true;
    if (diagBReach(t, b, square) & diagonal) return true;
  }
  if (t.knightAttacks[square] & b.pieces[colour][kKnight]) return true;
  return (t.kingAttacks[square] & b.pieces[colour][kKing]) != 0;
}

// The pawns, knights, bishops, rooks and queens of the colour that attack the square (never the king).
inline Bitboard attackersOf(const AttackTables& t, const Board& b, int colour, int square) {
  Bitboard found = (t.pawnAttackers[colour][square] & b.pieces[colour][kPawn]) |
                   (t.knightAttacks[square] & b.pieces[colour][kKnight]);
  const Bitboard straight = b.pieces[colour][kRook] | b.pieces[colour][kQueen];
  if (t.rookLines[square] & straight) found |= (fileReach(t, b, square) | rankReach(t, b, square)) & straight;
  const Bitboard diagonal = b.pieces[colour][kBishop] | b.pieces[colour][kQueen];
  if (t.bishopLines[square] & diagonal) found |= (diagAReach(t, b, square) | diagBReach(t, b, square)) & diagonal;
  return found;
}

}  // namespace kestrova
