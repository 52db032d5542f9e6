#pragma once
// Replaying the loaded game through the chess core, with the hooks of the commands that look at
// every position.
namespace kestrova {

struct App;

namespace replay {
constexpr int kMoveRules = 1;   // the scan's per-move detection rules after each move
constexpr int kGameEndRules = 2;  // the scan's end-of-game rules after the last move
constexpr int kEpdSearch = 4;   // the position search of fepd after each move
}  // namespace replay

// What a command runs during a replay; the hook flags choose which of these are called.
class ReplayHooks {
 public:
  virtual ~ReplayHooks() = default;
  virtual void runMoveRules(App& app, int ply) {}
  virtual void runGameEndRules(App& app, int lastPly) {}
  virtual void matchEpdAfterPly(App& app, int ply) {}
};

// Decodes and makes every half-move from the start position already set; after each one checks
// the position and runs the hooks the flags ask for (unless debug stepping holds the ply).
// Returns 0 when a move cannot be read or a position is illegal (reported), else 1.
int replayGame(App& app, int hookFlags, ReplayHooks* hooks = nullptr);

// Plays the half-moves before `target`; returns target, the ply count + 1 for a shorter game, or 0
// on an unreadable move.
int replayTo(App& app, int target);

// Undoes the current ply from the game's position history (book commands). 1 when done.
int takeBack(App& app);

}  // namespace kestrova
