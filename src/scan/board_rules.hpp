#pragma once
// The detection rules that judge the board after a half-move and the course of the game: pawn
// shapes and storms, interpenetrated armies, wandering kings, surplus pieces, castling, game
// length, and breaches of the fifty-move and threefold-repetition rules.
namespace kestrova {

struct RuleContext;

// Diamond, Pawn1x3, Pawn1x4, Pawn2x2 and PawnStorm, square by square.
void checkPawnShapes(const RuleContext& context, int ply);
void checkConfusion(const RuleContext& context, int ply);
void checkCrazyKing(const RuleContext& context, int ply);
void checkExceedingPc(const RuleContext& context, int ply);
void checkVeryShortGame(const RuleContext& context, int ply);
void checkVeryLongGame(const RuleContext& context, int ply);
void checkOppCastles(const RuleContext& context, int ply);
void checkMvWeakCastle(const RuleContext& context, int ply);
void checkDraw50RuleBrk(const RuleContext& context, int ply);
void checkDraw3xRuleBrk(const RuleContext& context, int ply);
void checkNoPlan(const RuleContext& context, int ply);

// At the end of the game (lastPly 0 for a game without moves).
void checkTooFewMoves(const RuleContext& context, int lastPly);

}  // namespace kestrova
