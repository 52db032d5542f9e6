#include "scan/rule_driver.hpp"

#include "pgn/pgn_writer.hpp"
#include "scan/board_rules.hpp"
#include "scan/evaluation_rules.hpp"
#include "shell/app.hpp"

namespace kestrova {

void runMoveRules(App& app, int ply) {
  checkPawnShapes(app, ply);
  checkConfusion(app, ply);
  checkCrazyKing(app, ply);
  checkExceedingPc(app, ply);
  checkValDrop(app, ply);
  checkValJump(app, ply);
  checkDepthDrop(app, ply);
  checkLowDepth(app, ply);
  checkMatEvalBug(app, ply);
  checkSuspOpening(app, ply);
  checkAbnormTerm(app, ply);
  checkVeryShortGame(app, ply);
  checkVeryLongGame(app, ply);
  checkOppCastles(app, ply);
  checkMvWeakCastle(app, ply);
  checkDraw50RuleBrk(app, ply);
  checkDraw3xRuleBrk(app, ply);
  checkNoPlan(app, ply);
  checkWinAfterDraw(app, ply);
  checkWinGmNotWon(app, ply);
}

void runGameEndRules(App& app, int lastPly) {
  // A game that starts with Black to move and has no moves keeps only its empty first ply.
  if (lastPly < app.game.firstPly()) lastPly = 0;
  checkBestPerf(app, lastPly);
  checkTooFewMoves(app, lastPly);
  DetectionSettings& d = app.detections;
  if (d.keepGame && d.pgn != nullptr) writePgn(app.game, app.pgn, *d.pgn, app.settings.printCmt);
}

}  // namespace kestrova
