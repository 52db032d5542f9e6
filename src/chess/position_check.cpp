#include "chess/position_check.hpp"

#include "chess/attacks.hpp"
#include "chess/diagram.hpp"
#include "shell/app.hpp"

namespace kestrova {

bool isPositionSane(const AttackTables& tables, const Board& board, int ply, int occupiedBefore, int occupiedAfter) {
  const int mover = (ply & 1) ? kWhite : kBlack;
  const Bitboard king = board.pieces[mover][kKing];
  // A missing king is caught by the count below; it has no square to test.
  if (king && isAttacked(tables, board, 1 - mover, highestSquare(king))) return false;
  if (popCount(board.pieces[kWhite][kKing] | board.pieces[kBlack][kKing]) != 2) return false;
  if (popCount(board.pieces[kWhite][kPawn]) > 8 || popCount(board.pieces[kBlack][kPawn]) > 8) return false;
  return occupiedAfter == occupiedBefore || occupiedAfter == occupiedBefore - 1;
}

bool checkPositionSane(App& app, int ply, int occupiedBefore, int occupiedAfter) {
  if (isPositionSane(*app.chess.attacks, app.chess.board, ply, occupiedBefore, occupiedAfter)) return true;
  printDiagram(app);
  return false;
}

}  // namespace kestrova
