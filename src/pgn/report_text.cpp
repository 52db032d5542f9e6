#include "pgn/report_text.hpp"

#include <cstdio>

#include "pgn/game.hpp"
#include "pgn/tag_table.hpp"

namespace kestrova {

void padLine(std::string& line) {
  if (line.size() < 56) line.resize(57, ' ');
}

void appendMoveNumber(std::string& line, const Game& game, int ply) {
  char text[24];
  std::snprintf(text, sizeof text, "%d%s", game.moveNumber(ply), ply % 2 == 1 ? "." : "...");
  line += text;
}

void appendPlayers(std::string& line, const TagTable& tags) {
  line += '[';
  line += tags.value(kTagWhite);
  line += '-';
  line += tags.value(kTagBlack);
  line += ", ";
  line += tags.value(kTagResult);
  line += ']';
}

}  // namespace kestrova
