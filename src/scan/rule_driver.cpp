#include "scan/rule_driver.hpp"

#include "pgn/game.hpp"
#include "scan/board_rules.hpp"
#include "scan/evaluation_rules.hpp"
#include "scan/rule_context.hpp"

namespace kestrova {

void runMoveRules(const RuleContext& context, int ply) {
  checkPawnShapes(context, ply);
  checkConfusion(context, ply);
  checkCrazyKing(context, ply);
  checkExceedingPc(context, ply);
  checkValDrop(context, ply);
  checkValJump(context, ply);
  checkDepthDrop(context, ply);
  checkLowDepth(context, ply);
  checkMatEvalBug(context, ply);
  checkSuspOpening(context, ply);
  checkAbnormTerm(context, ply);
  checkVeryShortGame(context, ply);
  checkVeryLongGame(context, ply);
  checkOppCastles(context, ply);
  checkMvWeakCastle(context, ply);
  checkDraw50RuleBrk(context, ply);
  checkDraw3xRuleBrk(context, ply);
  checkNoPlan(context, ply);
  checkWinAfterDraw(context, ply);
  checkWinGmNotWon(context, ply);
}

void runGameEndRules(const RuleContext& context, int lastPly) {
  // A game that starts with Black to move and has no moves keeps only its empty first ply.
  if (lastPly < context.game.firstPly()) lastPly = 0;
  checkBestPerf(context, lastPly);
  checkTooFewMoves(context, lastPly);
}

}  // namespace kestrova
