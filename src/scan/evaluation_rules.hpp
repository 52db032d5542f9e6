#pragma once
// The detection rules that judge the engines' evaluations, depths and times and the game's result.
// Each takes the ply just played (after its checks) and reports through the report writer.
namespace kestrova {

struct RuleContext;

void checkValDrop(const RuleContext& context, int ply);
void checkValJump(const RuleContext& context, int ply);
void checkDepthDrop(const RuleContext& context, int ply);
void checkLowDepth(const RuleContext& context, int ply);
void checkMatEvalBug(const RuleContext& context, int ply);
void checkSuspOpening(const RuleContext& context, int ply);
void checkAbnormTerm(const RuleContext& context, int ply);
void checkWinAfterDraw(const RuleContext& context, int ply);
void checkWinGmNotWon(const RuleContext& context, int ply);

// At the end of the game (lastPly 0 for a game without moves).
void checkBestPerf(const RuleContext& context, int lastPly);

}  // namespace kestrova
