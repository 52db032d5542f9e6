#pragma once
// Which detection rules run, in which order: after every half-move of a replayed game, and once
// at its end. The order is the order of the log lines of one ply.
namespace kestrova {

struct RuleContext;

// After the ply has been played and its position checked, on the board after the move.
void runMoveRules(const RuleContext& context, int ply);

// Once after the last ply (0 for a game without moves): BestPerf, then TooFewMoves.
void runGameEndRules(const RuleContext& context, int lastPly);

}  // namespace kestrova
