#include "scan/report_writer.hpp"

#include <cstdio>

#include "chess/diagram.hpp"
#include "chess/position_check.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

void padLine(std::string& line) {
  if (line.size() < 56) line.resize(57, ' ');
}

void appendMoveNumber(std::string& line, int ply) {
  char text[24];
  std::snprintf(text, sizeof text, "%d%s", ply % 2 == 1 ? ply / 2 + 1 : ply / 2, ply % 2 == 1 ? "." : "...");
  line += text;
}

bool reportIllegalPosition(App& app, int ply, int menBefore, int menAfter) {
  if (checkPositionSane(app, ply, menBefore, menAfter)) return true;
  const Game& game = app.game;
  std::string text = std::to_string(app.pgn.gameNumber()) + ":>illegal position found after ";
  appendMoveNumber(text, ply);
  text += game.plies[ply].san;
  text += " !";
  padLine(text);
  text += "[" + game.tags.value(kTagWhite) + "-" + game.tags.value(kTagBlack) + ", " + game.tags.value(kTagResult) + "]\n";
  const bool whiteMoved = ply % 2 == 1;
  if ((whiteMoved && game.resultScore != 0) || (!whiteMoved && game.resultScore != 100)) {
    text += "    Warning !, " + game.tags.value(whiteMoved ? kTagWhite : kTagBlack) +
            " should have lost due to illegal move\n";
  }
  app.console.writeText(text, colour::kError);
  if (app.settings.verbose) printDiagram(app);
  if (app.detections.log != nullptr) app.detections.log->write(text);
  return false;
}

}  // namespace kestrova
