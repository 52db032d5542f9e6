#include "commands/subtraction.hpp"

namespace kestrova {

void SubtractionIndex::add(const GameRecord& record) {
  if (record.hashA == 0 || record.hashB == 0) return;
  games_.insert(identityOf(record));
}

bool SubtractionIndex::contains(const GameRecord& game) const {
  if (game.hashA == 0 || game.hashB == 0) return false;
  return games_.contains(identityOf(game));
}

}  // namespace kestrova
