#pragma once
// The generator's own random numbers: xoshiro256** seeded through SplitMix64, integers only, so
// that a seed gives the same file on every machine and with every standard library.
#include <cstdint>

namespace kestrova::bench {

// One step of SplitMix64: a good 64-bit mix of any input, used to derive seeds.
constexpr std::uint64_t mixBits(std::uint64_t value) {
  value += 0x9E3779B97F4A7C15ULL;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
  return value ^ (value >> 31);
}

// A seed for one stream of the run: the same (seed, stream, index) always gives the same numbers,
// whatever was drawn elsewhere.
constexpr std::uint64_t streamSeed(std::uint64_t seed, std::uint64_t stream, std::uint64_t index) {
  return mixBits(mixBits(mixBits(seed) ^ stream) ^ index);
}

class GeneratorRandom {
 public:
  explicit GeneratorRandom(std::uint64_t seed) {
    for (std::uint64_t& word : state_) {
      seed = mixBits(seed);
      word = seed;
    }
  }

  std::uint64_t next() {
    const std::uint64_t result = rotate(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotate(state_[3], 45);
    return result;
  }

  // 0 .. bound - 1 (bound > 0), by the multiply-shift reduction.
  std::uint32_t below(std::uint32_t bound) {
    return static_cast<std::uint32_t>(((next() >> 32) * static_cast<std::uint64_t>(bound)) >> 32);
  }

  // low .. high, both included.
  int between(int low, int high) { return low + static_cast<int>(below(static_cast<std::uint32_t>(high - low + 1))); }

  // True with a probability of perMille / 1000.
  bool chance(int perMille) { return static_cast<int>(below(1000)) < perMille; }

  // A sum of four uniform draws in -spread..spread: a cheap bell-shaped step for random walks.
  int bell(int spread) {
    int sum = 0;
    for (int i = 0; i < 4; ++i) sum += between(-spread, spread);
    return sum / 2;
  }

 private:
  static constexpr std::uint64_t rotate(std::uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

  std::uint64_t state_[4];
};

}  // namespace kestrova::bench
