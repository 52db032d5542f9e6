#include "rating/rating_difference.hpp"

#include <array>

namespace kestrova {
namespace {

// Upper half of the table, 50 % to 100 %; the lower half mirrors it.
constexpr std::array<int, 51> kUpperHalf = {
    0,   7,   14,  21,  29,  36,  43,  50,  57,  65,  72,  80,  87,  95,  102, 110, 117,
    125, 133, 141, 149, 158, 166, 175, 184, 193, 202, 211, 220, 230, 240, 251, 262, 273,
    284, 296, 309, 322, 336, 351, 366, 383, 401, 422, 444, 470, 501, 538, 589, 677, 677};

constexpr std::array<int, 101> makeTable() {
  std::array<int, 101> table{};
  for (int k = 0; k <= 50; ++k) {
    table[50 + k] = kUpperHalf[k];
    table[50 - k] = -kUpperHalf[k];
  }
  return table;
}

constexpr std::array<int, 101> kDifferenceByPercent = makeTable();

}  // namespace

int ratingDifference(int perMille) {
  if (perMille <= 0) return kDifferenceByPercent[0];
  const int i = perMille / 10;
  if (i >= 100) return kDifferenceByPercent[100];
  const int low = kDifferenceByPercent[i];
  return low + ((perMille - 10 * i) * (kDifferenceByPercent[i + 1] - low)) / 10;
}

}  // namespace kestrova
