#include "scan/report_writer.hpp"

#include <cstdio>

#include "chess/fen.hpp"
#include "pgn/board_view.hpp"
#include "pgn/game.hpp"
#include "pgn/report_text.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"
#include "scan/rule_context.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kExtraLineLimit = 256;

}  // namespace

void reportDetection(const RuleContext& context, int number, int side, int beforeAfter, int ply, const char* text,
                     const char* extraLine) {
  DetectionCounts& count = context.run.counts[number];
  if (side == 1) ++count.white;
  else if (side == 0) ++count.black;
  else ++count.other;
  writeReportLine(context, number, side, beforeAfter, ply, text, extraLine);
}

void writeReportLine(const RuleContext& context, int number, int side, int beforeAfter, int ply, const char* text,
                     const char* extraLine) {
  ScanRun& run = context.run;
  const DetectionEntry& entry = context.settings[number];
  const Game& game = context.game;
  const bool hasMove = ply > 0;

  // "%d: [%c] %s %s%s %d%s%s"
  std::string& line = run.reportLine;
  line.clear();
  char head[32];
  std::snprintf(head, sizeof head, "%u: [%c] ", context.gameNumber, side == 1 ? 'w' : 'b');
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
  appendMoveNumber(line, game, ply);
  if (hasMove) line += game.plies[ply].san;

  std::string& log = run.logLine;
  log.assign(line);
  padLine(log);
  appendPlayers(log, game.tags);
  log += '\n';
  if (extraLine != nullptr && std::char_traits<char>::length(extraLine) < kExtraLineLimit) log += extraLine;

  if (entry.showBoard) printDiagram(run.console, run.strings, context.board, run.language);
  run.console.writeText(log);
  run.log.write(log);

  if (entry.epdOutput) {
    platform::OutputFile& epd = run.epd;
    if (context.before != nullptr) {
      // During the replay: the position before or after the ply just made.
      const int mover = game.currentPly % 2 == 1 ? kWhite : kBlack;
      if (beforeAfter < 0) writeFen(*context.before, mover, run.fenText);
      else writeFen(context.board, 1 - mover, run.fenText);
      epd.write(run.fenText);
    } else {
      epd.write(beforeAfter < 0 ? game.previousFen : game.currentFen);
    }
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
  if (entry.pgnOutput) run.keepGame = true;
}

}  // namespace kestrova
