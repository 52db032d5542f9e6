#include "chess/position_check.hpp"

#include "chess/attacks.hpp"
#include "chess/slider_rays.hpp"

namespace kestrova {

namespace {

// Exactly two squares: without a count, which is a library call on machines without a
// population-count instruction.
bool holdsTwo(Bitboard bits) {
  const Bitboard rest = bits & (bits - 1);
  return rest != 0 && (rest & (rest - 1)) == 0;
}

// More than eight squares: what stays after taking the lowest eight away.
bool holdsMoreThanEight(Bitboard bits) {
  for (int i = 0; i < 8; ++i) bits &= bits - 1;
  return bits != 0;
}

// isAttacked for the king's square, with the sliders found without the rotated tables.
bool kingAttacked(const AttackTables& t, const Board& b, int colour, int square) {
  if (t.pawnAttackers[colour][square] & b.pieces[colour][kPawn]) return true;
  if (t.knightAttacks[square] & b.pieces[colour][kKnight]) return true;
  if (t.kingAttacks[square] & b.pieces[colour][kKing]) return true;
  const Bitboard queens = b.pieces[colour][kQueen];
  const Bitboard straight = (b.pieces[colour][kRook] | queens) & t.rookLines[square];
  const Bitboard diagonal = (b.pieces[colour][kBishop] | queens) & t.bishopLines[square];
  return slidersReaching(straight, b.occupied, square, true, false) != 0 ||
         slidersReaching(diagonal, b.occupied, square, false, true) != 0;
}

}  // namespace

PositionFault checkPosition(const AttackTables& tables, const Board& board, int mover, int occupiedBefore,
                            int occupiedAfter) {
  const Bitboard king = board.pieces[mover][kKing];
  // A missing king is caught by the count below; it has no square to test.
  if (king && kingAttacked(tables, board, 1 - mover, highestSquare(king))) return PositionFault::kKingLeftInCheck;
  const bool plausible = holdsTwo(board.pieces[kWhite][kKing] | board.pieces[kBlack][kKing]) &&
                         !holdsMoreThanEight(board.pieces[kWhite][kPawn]) &&
                         !holdsMoreThanEight(board.pieces[kBlack][kPawn]) &&
                         (occupiedAfter == occupiedBefore || occupiedAfter == occupiedBefore - 1);
  return plausible ? PositionFault::kNone : PositionFault::kImplausible;
}

}  // namespace kestrova
