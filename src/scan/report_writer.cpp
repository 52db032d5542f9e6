#include "scan/report_writer.hpp"

#include <cstdio>

#include "pgn/board_view.hpp"
#include "pgn/report_text.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kExtraLineLimit = 256;

}  // namespace

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

  if (entry.showBoard) printDiagram(app.console, app.strings, app.chess.board, app.settings.lang);
  app.console.writeText(log);
  if (d.log != nullptr) d.log->write(log);

  if (entry.epdOutput && d.epd != nullptr) {
    platform::OutputFile& epd = *d.epd;
    epd.write(beforeAfter < 0 ? app.game.previousFen : app.game.currentFen);
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
