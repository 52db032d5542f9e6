#pragma once
// The games of a second file, looked up by their hashes: a game of the open file is removed by
// sub when it is the same game as one of them.
#include <cstddef>
#include <cstdint>
#include <unordered_set>

#include "commands/doubles.hpp"

namespace kestrova {

class SubtractionIndex {
 public:
  // Records that can never be matched (zero hashes: games without half-moves) are left out.
  void add(const GameRecord& record);
  // True when `sameGame(game, r)` holds for a record r added: found by hashing instead of
  // comparing the game with every record.
  bool contains(const GameRecord& game) const;
  std::size_t size() const { return games_.size(); }

 private:
  // What sameGame compares.
  struct Identity {
    std::uint64_t hashA;
    std::uint64_t hashB;
    std::uint64_t finalKey;
    std::int32_t halfMoves;
    bool operator==(const Identity&) const = default;
  };
  struct IdentityHash {
    // Hash A is already a well-mixed 64-bit value.
    std::size_t operator()(const Identity& id) const { return static_cast<std::size_t>(id.hashA ^ (id.hashB >> 7)); }
  };
  static Identity identityOf(const GameRecord& record) {
    return {record.hashA, record.hashB, record.finalKey, record.halfMoves};
  }

  std::unordered_set<Identity, IdentityHash> games_;
};

}  // namespace kestrova
