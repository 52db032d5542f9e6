#include "book/evaluation_class.hpp"

#include <array>

namespace kestrova {

int evaluationClass(int centipawns) {
  // Lower bounds of classes 2..7.
  constexpr std::array<int, 6> kBounds = {-109, -44, -21, 22, 45, 110};
  int cls = 1;
  for (int bound : kBounds) {
    if (centipawns >= bound) ++cls;
  }
  return cls;
}

std::string_view classSymbol(int k) {
  constexpr std::array<std::string_view, 7> kSymbols = {"-+", "-/+", "-=", "=", "+=", "+/-", "+-"};
  if (k < -3 || k > 3) return {};
  return kSymbols[static_cast<std::size_t>(k + 3)];
}

}  // namespace kestrova
