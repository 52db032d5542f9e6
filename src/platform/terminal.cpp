#include "platform/terminal.hpp"

#include <cstdlib>
#include <unistd.h>

namespace kestrova::platform {

bool isTerminal(int fd) { return isatty(fd) == 1; }

bool wantsColour(int fd) { return isTerminal(fd) && std::getenv("NO_COLOR") == nullptr; }

namespace {
// Console colour bits are blue=1, green=2, red=4; ANSI numbers colours red=1, green=2, blue=4.
int ansiColourIndex(int nibble) {
  return ((nibble & 1) << 2) | (nibble & 2) | ((nibble & 4) >> 2);
}
}  // namespace

std::string ansiSequence(int attribute) {
  attribute &= 0xFF;
  if (attribute == 7) return "\x1b[0m";
  const int fg = attribute & 0x0F;
  const int bg = (attribute >> 4) & 0x0F;
  std::string seq = "\x1b[0;";
  seq += std::to_string(((fg & 8) ? 90 : 30) + ansiColourIndex(fg));
  if (bg != 0) {
    seq += ';';
    seq += std::to_string(((bg & 8) ? 100 : 40) + ansiColourIndex(bg));
  }
  seq += 'm';
  return seq;
}

}  // namespace kestrova::platform
