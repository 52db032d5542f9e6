#pragma once
// What every detection rule reads of a ply: its side, whether it carried an evaluation, its
// evaluation, depth and time; and the exact result texts the rules compare with.
#include <string_view>

#include "pgn/game.hpp"

namespace kestrova {

// The side code of the mover of a ply: White (1) for odd plies, Black (0) for even ones.
constexpr int moverOf(int ply) { return ply % 2 == 1 ? 1 : 0; }

// A ply of the game that carried an evaluation; plies outside the game and the empty first ply
// of a game that starts with Black to move have none.
inline bool hasEvaluation(const Game& game, int ply) {
  return ply >= 1 && ply <= game.plyCount && game.plies[ply].evaluationPresent != 0;
}

inline bool resultIs(const Game& game, std::string_view text) { return game.tags.value(kTagResult) == text; }

// The mover of the ply won: "1-0" for a White ply, "0-1" for a Black one.
inline bool moverWon(const Game& game, int ply) { return resultIs(game, moverOf(ply) == 1 ? "1-0" : "0-1"); }
inline bool moverLost(const Game& game, int ply) { return resultIs(game, moverOf(ply) == 1 ? "0-1" : "1-0"); }

// Evaluations beyond these bounds announce a mate.
constexpr int kMateBound = 5000;

}  // namespace kestrova
