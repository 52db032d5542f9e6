#include "commands/doubles.hpp"

#include <algorithm>
#include <tuple>
#include <utility>

#include "pgn/game.hpp"
#include "pgn/replay.hpp"
#include "shell/app.hpp"

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

GameRecord recordReplayedGame(App& app, HashMode mode, std::uint32_t number) {
  Game& game = app.game;
  const int loaded = game.plyCount;
  const int replayed = replayGame(app, 0);
  // The plies that carry this game's keys: all, or those made before the replay stopped (a debug
  // stop returns 1 after making its ply; a failure returns 0 before or after making it).
  const int made = replayed ? std::min(game.currentPly, game.plyCount) : game.currentPly - 1;
  // An unreadable move shortens the ply count; the game is still written whole.
  game.plyCount = loaded;
  GameRecord record;
  record.number = number;
  record.halfMoves = loaded;
  if (made < game.firstPly()) return record;
  const GameHashes hashes = hashGame(game, made, mode);
  record.hashA = hashes.a;
  record.hashB = hashes.b;
  record.finalKey = game.plies[made].keys.primary;
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
  // Every swap puts one record in its place for good: linear, without a second array.
  for (std::size_t i = 0; i < records.size(); ++i) {
    while (records[i].number - 1 != i) std::swap(records[i], records[records[i].number - 1]);
  }
}

}  // namespace kestrova
