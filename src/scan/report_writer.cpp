#include "scan/report_writer.hpp"

#include <cstdio>

#include "chess/diagram.hpp"
#include "chess/position_check.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kExtraLineLimit = 256;

// "[White-Black, Result]" of the current game.
void appendPlayers(std::string& line, const TagTable& tags) {
  line += '[';
  line += tags.value(kTagWhite);
  line += '-';
  line += tags.value(kTagBlack);
  line += ", ";
  line += tags.value(kTagResult);
  line += ']';
}

}  // namespace

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
  appendPlayers(text, game.tags);
  text += '\n';
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

void beginGameDetections(DetectionSettings& detections, platform::OutputFile* log, platform::OutputFile* pgn,
                         platform::OutputFile* epd) {
  detections.keepGame = false;
  for (DetectionEntry& entry : detections.entries) entry.whiteCount = entry.blackCount = entry.otherCount = 0;
  detections.log = log;
  detections.pgn = pgn;
  detections.epd = epd;
}

void reportDetection(App& app, int number, int side, int beforeAfter, int ply, const char* text,
                     const char* extraLine) {
  DetectionEntry& entry = app.detections[number];
  if (side == 1) ++entry.whiteCount;
  else if (side == 0) ++entry.blackCount;
  else ++entry.otherCount;
  writeReportLine(app, number, side, beforeAfter, ply, text, extraLine);
}

void writeReportLine(App& app, int number, int side, int beforeAfter, int ply, const char* text,
                     const char* extraLine) {
  DetectionSettings& d = app.detections;
  const DetectionEntry& entry = d[number];
  const Game& game = app.game;
  const bool hasMove = ply > 0;

  // "%d: [%c] %s %s%s %d%s%s"
  std::string& line = d.reportLine;
  line.clear();
  char head[32];
  std::snprintf(head, sizeof head, "%u: [%c] ", app.pgn.gameNumber(), side == 1 ? 'w' : 'b');
  line += head;
  line += entry.name;
  line += ' ';
  if (text != nullptr) {
    line += '(';
    line += text;
    line += ") ";
  }
  if (hasMove) line += beforeAfter < 0 ? "before" : "after";
  line += ' ';
  appendMoveNumber(line, ply);
  if (hasMove) line += game.plies[ply].san;

  std::string& log = d.logLine;
  log.assign(line);
  padLine(log);
  appendPlayers(log, game.tags);
  log += '\n';
  if (extraLine != nullptr && std::char_traits<char>::length(extraLine) < kExtraLineLimit) log += extraLine;

  if (entry.showBoard) printDiagram(app);
  app.console.writeText(log);
  if (d.log != nullptr) d.log->write(log);

  if (entry.epdOutput && d.epd != nullptr) {
    platform::OutputFile& epd = *d.epd;
    epd.write(beforeAfter < 0 ? app.chess.previousFen : app.chess.currentFen);
    epd.write(" game ");
    epd.write(line);
    epd.write(" [");
    epd.write(game.tags.value(kTagWhite));
    epd.write("-");
    epd.write(game.tags.value(kTagBlack));
    epd.write(", ");
    epd.write(game.tags.value(kTagResult));
    epd.write("]\n");
  }
  if (entry.pgnOutput) d.keepGame = true;
}

}  // namespace kestrova
