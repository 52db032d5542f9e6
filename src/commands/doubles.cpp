#include "commands/doubles.hpp"

#include <algorithm>
#include <tuple>
#include <utility>

#include "pgn/game.hpp"

namespace kestrova {

namespace {

// One step of the sequence hash: mixes the key and the ply number in, then shifts by the ply's
// parity so that the same keys in another order give another hash.
std::uint64_t mixSequence(std::uint64_t hash, std::uint64_t key, int ply) {
  hash = (hash ^ key) + static_cast<std::uint64_t>(ply);
  return ply % 2 == 1 ? hash >> 1 : ~(hash << 1);
}

std::uint64_t resultMark(int resultScore) {
  if (resultScore == 100) return 0xAA;
  if (resultScore == 50) return 0xFF;
  return 0x55;
}

}  // namespace

GameHashes hashGame(const Game& game, int n, HashMode mode) {
  GameHashes hashes;
  if (mode == HashMode::kSequence) {
    for (int i = 1; i <= n; ++i) {
      const PositionKeys& keys = game.plies[i].keys;
      hashes.a = mixSequence(hashes.a, keys.primary, i);
      hashes.b = mixSequence(hashes.b, keys.secondary, i);
    }
  } else {
    hashes.a = game.plies[n].keys.primary;
    hashes.b = game.plies[n].keys.secondary;
    if (n > 1) {
      int m = 2 * n / 3;
      // The position at two thirds repeating the final one would cancel it out.
      if (game.plies[m].keys == game.plies[n].keys) ++m;
      hashes.a ^= game.plies[m].keys.primary;
      hashes.b ^= game.plies[m].keys.secondary;
    }
  }
  hashes.b ^= resultMark(game.resultScore);
  return hashes;
}

bool sameGame(const GameRecord& record, const GameRecord& other) {
  return record.hashA != 0 && record.hashB != 0 && record.hashA == other.hashA && record.hashB == other.hashB &&
         record.halfMoves == other.halfMoves && record.finalKey == other.finalKey;
}

GameRecord recordGame(const Game& game, HashMode mode, std::uint32_t number) {
  GameRecord record;
  record.number = number;
  record.halfMoves = game.plyCount;
  if (game.plyCount < game.firstPly()) return record;
  const GameHashes hashes = hashGame(game, game.plyCount, mode);
  record.hashA = hashes.a;
  record.hashB = hashes.b;
  record.finalKey = game.plies[game.plyCount].keys.primary;
  return record;
}

void sortByHashes(std::vector<GameRecord>& records) {
  std::sort(records.begin(), records.end(), [](const GameRecord& x, const GameRecord& y) {
    return std::tie(x.hashA, x.hashB, x.halfMoves, x.finalKey, x.number) <
           std::tie(y.hashA, y.hashB, y.halfMoves, y.finalKey, y.number);
  });
}

void markRuns(std::vector<GameRecord>& records) {
  std::size_t first = 0;
  while (first < records.size()) {
    std::size_t next = first + 1;
    while (next < records.size() && sameGame(records[next], records[first])) {
      records[next].mark = doublemark::kLaterDouble;
      ++next;
    }
    if (next - first > 1) records[first].mark = doublemark::kFirstDouble;
    first = next;
  }
}

void restoreFileOrder(std::vector<GameRecord>& records) {
  std::sort(records.begin(), records.end(),
            [](const GameRecord& x, const GameRecord& y) { return x.number < y.number; });
}

}  // namespace kestrova
