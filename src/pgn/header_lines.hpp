#pragma once
// The tag lines of the game just read, in file order, each with its line end.
#include <array>
#include <string>

namespace kestrova {

struct HeaderLines {
  static constexpr int kMaxLines = 38;     // 37 tag lines and the end mark
  static constexpr int kMaxLength = 99;

  std::array<std::string, kMaxLines> lines;
  int count = 0;  // lines in use; lines[count] is the empty end mark
};

}  // namespace kestrova
