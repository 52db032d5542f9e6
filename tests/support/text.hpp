#pragma once
// Looking for pieces of the texts that commands print and write.
#include <string_view>

namespace kestrova::test {

inline bool has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Occurrences of the part, which may overlap.
inline int count(std::string_view text, std::string_view part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace kestrova::test
