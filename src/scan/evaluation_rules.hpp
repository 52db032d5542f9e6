#pragma once
// The detection rules that judge the engines' evaluations, depths and times and the game's result.
// Each takes the ply just played (after its checks) and reports through the report writer.
namespace kestrova {

struct App;

void checkValDrop(App& app, int ply);
void checkValJump(App& app, int ply);
void checkDepthDrop(App& app, int ply);
void checkLowDepth(App& app, int ply);
void checkMatEvalBug(App& app, int ply);
void checkSuspOpening(App& app, int ply);
void checkAbnormTerm(App& app, int ply);
void checkWinAfterDraw(App& app, int ply);
void checkWinGmNotWon(App& app, int ply);

// At the end of the game (lastPly 0 for a game without moves).
void checkBestPerf(App& app, int lastPly);

}  // namespace kestrova
