#include "vellum/move_choice.hpp"

#include "book/book_statistics.hpp"

namespace kestrova {

int chooseBookMove(const BookMoveList& list, int mode, RuntimeRandom& random) {
  const int count = list.count;
  if (count < 1) return -1;
  switch (mode) {
    case kWeightedByGames: {
      // Move k against the games of the moves from k on: about its share of all games.
      for (int k = 0; k < count; ++k) {
        std::uint64_t rest = 0;
        for (int i = k; i < count; ++i) rest += list.moves[i].n;
        const int r = random.draw() % 100;
        if (rest > 0 && static_cast<std::uint64_t>(r) < list.moves[k].n * std::uint64_t{100} / rest) return k;
      }
      return count - 1;
    }
    case kMostPlayed: {
      int best = 0;
      for (int k = 1; k < count; ++k) {
        if (list.moves[k].n > list.moves[best].n) best = k;
      }
      return best;
    }
    case kBestEloGain: {
      int best = -1;
      int bestGain = -10000;
      for (int k = 0; k < count; ++k) {
        const int gain = eloGain(list.moves[k]);
        if (gain > bestGain) {
          bestGain = gain;
          best = k;
        }
      }
      return best < 0 ? 0 : best;
    }
    default:
      return -1;
  }
}

}  // namespace kestrova
