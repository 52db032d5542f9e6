#include "chess/zobrist.hpp"

#include <cstring>

namespace kestrova {

std::uint64_t random64(RuntimeRandom& random) {
  const std::uint64_t r1 = random.draw(), r2 = random.draw(), r3 = random.draw(), r4 = random.draw(),
                      r5 = random.draw();
  return (r1 << 60) ^ (r2 << 45) ^ (r3 << 30) ^ (r4 << 15) ^ r5;
}

std::unique_ptr<const ZobristTables> generateZobristKeys(std::uint32_t seed) {
  auto tables = std::make_unique<ZobristTables>();
  RuntimeRandom random(seed);
  for (int type = 0; type < 7; ++type) {
    for (int colour = 0; colour < 2; ++colour) {
      for (int square = 0; square < 64; ++square) {
        PositionKeys& entry = tables->pieces[type][colour][square];
        entry.primary = random64(random);
        entry.secondary = random64(random);
      }
    }
  }
  tables->side = random64(random);
  return tables;
}

PositionKeys computePositionKeys(const ZobristTables& zobrist, const Board& board, int side) {
  // Both keys of an entry in one 16-byte XOR, and one pass per colour over its squares: together
  // they keep the full check cheap enough to run after every move.
  using KeyLanes = std::uint64_t __attribute__((vector_size(16)));
  KeyLanes sum = {0, 0};
  for (int colour = 0; colour < 2; ++colour) {
    for (Bitboard bits = board.colours[colour]; bits; bits &= bits - 1) {
      const int square = std::countr_zero(bits);
      KeyLanes entry;
      std::memcpy(&entry, &zobrist.pieces[board.mailbox[square]][colour][square], sizeof entry);
      sum ^= entry;
    }
  }
  PositionKeys keys{sum[0], sum[1]};
  if (side == kBlack) {
    keys.primary ^= zobrist.side;
    keys.secondary ^= zobrist.side;
  }
  return keys;
}

}  // namespace kestrova
