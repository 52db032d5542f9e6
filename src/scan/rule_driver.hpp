#pragma once
// Which detection rules run, in which order: after every half-move of a replayed game, and once
// at its end. The order is the order of the log lines of one ply.
namespace kestrova {

struct App;

// After the ply has been played and its position checked, on the board after the move.
void runMoveRules(App& app, int ply);

// Once after the last ply (0 for a game without moves): BestPerf, TooFewMoves, then the game goes
// to the PGN output when a report asked for it.
void runGameEndRules(App& app, int lastPly);

}  // namespace kestrova
