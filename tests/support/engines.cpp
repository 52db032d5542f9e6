#include "support/engines.hpp"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace kestrova::test {

std::string findStockfish() {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path != nullptr ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/stockfish";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  if (access("/usr/games/stockfish", X_OK) == 0) return "/usr/games/stockfish";
  return "";
}

std::string fakeEnginePath() { return KESTROVA_FAKE_ENGINE; }

}  // namespace kestrova::test
