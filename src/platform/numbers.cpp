#include "platform/numbers.hpp"

#include <limits>

namespace kestrova {

long leadingInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr long kMax = std::numeric_limits<long>::max() / 10 - 10;
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kMax) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

std::uint64_t leadingUnsigned64(std::string_view text) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  return value;
}

const char* ordinalSuffix(long number) {
  const long lastTwo = (number < 0 ? -number : number) % 100;
  if (lastTwo >= 11 && lastTwo <= 13) return "th";
  switch (lastTwo % 10) {
    case 1: return "st";
    case 2: return "nd";
    case 3: return "rd";
    default: return "th";
  }
}

}  // namespace kestrova
