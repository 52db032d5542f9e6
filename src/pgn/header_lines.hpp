#pragma once
// The tag lines of the game just read, in file order, each as read (without its line end).
#include <string>
#include <vector>

namespace kestrova {

struct HeaderLines {
  std::vector<std::string> lines;  // the slots beyond count keep their capacity for the next game
  int count = 0;

  void clear() { count = 0; }
  std::string& add() {
    if (static_cast<std::size_t>(count) == lines.size()) lines.emplace_back();
    return lines[static_cast<std::size_t>(count++)];
  }
};

}  // namespace kestrova
