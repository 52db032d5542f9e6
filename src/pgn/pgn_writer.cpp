#include "pgn/pgn_writer.hpp"

#include <cstdio>
#include <cstdlib>

#include "pgn/game.hpp"
#include "pgn/pgn_file.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

// " {+0.35/12 5s}", " {+M13/21 0.056s}": the evaluation in pawns, or the mate as announced, the
// depth and the seconds with the decimals they were written with, so that the comment reads back
// to the same values.
void appendEvaluation(std::string& out, const PlyRecord& ply) {
  char evaluation[32];
  if (ply.evaluationIsMate) {
    std::snprintf(evaluation, sizeof evaluation, "%sM%lld", ply.mate < 0 ? "-" : "+", std::llabs(ply.mate));
  } else {
    const long long centipawns = std::llabs(ply.evaluation);
    std::snprintf(evaluation, sizeof evaluation, "%s%lld.%02lld", ply.evaluation < 0 ? "-" : "+", centipawns / 100,
                  centipawns % 100);
  }
  // More decimals than written only when the sum of several times needs them.
  int decimals = ply.timeDecimals < 3 ? ply.timeDecimals : 3;
  static constexpr int kUnit[] = {1000, 100, 10, 1};
  while (ply.timeMs % kUnit[decimals] != 0) ++decimals;
  char time[32];
  if (decimals == 0) {
    std::snprintf(time, sizeof time, "%d", ply.timeMs / 1000);
  } else {
    std::snprintf(time, sizeof time, "%d.%0*d", ply.timeMs / 1000, decimals, ply.timeMs % 1000 / kUnit[decimals]);
  }
  char text[96];
  std::snprintf(text, sizeof text, " {%s/%d %ss}", evaluation, ply.depth, time);
  out += text;
}

// The move number before a half-move: "12." for White; "12..." for the first move of a game
// that starts with Black to move.
void appendMoveNumber(std::string& out, const Game& game, int n, const char* whiteSuffix) {
  char text[24];
  if (n % 2 == 1) {
    std::snprintf(text, sizeof text, "%d%s", n / 2 + 1, whiteSuffix);
    out += text;
  } else if (n == game.firstPly()) {
    std::snprintf(text, sizeof text, "%d...", n / 2);
    out += text;
  }
}

}  // namespace

int writePgn(Game& game, PgnFile& pgn, platform::OutputFile& out, int printCmt) {
  HeaderLines& header = pgn.header();
  header.count = 0;
  for (int i = 0; i < TagTable::kEntries && header.count < HeaderLines::kMaxLines - 1; ++i) {
    const std::string& value = game.tags.value(i);
    if (value.empty() || !game.tags.outputEnabled(i)) continue;
    std::string& line = header.lines[header.count++];
    line.assign(TagTable::prefix(i));
    line += value;
    line += "\"]\n";
  }
  header.lines[header.count].clear();

  std::string& movetext = pgn.gameBuffer();
  movetext.clear();
  for (int n = game.firstPly(); n <= game.plyCount; ++n) {
    const PlyRecord& ply = game.plies[n];
    appendMoveNumber(movetext, game, n, ".");
    movetext += ply.san;
    if (printCmt == 1) {
      const std::string_view comment = game.comments.text(n);
      if (!comment.empty()) {
        movetext += " {";
        movetext += comment;
        movetext += '}';
      }
    } else if (printCmt == 2 && (ply.evaluation != 0 || ply.depth != 0 || ply.timeMs != 0)) {
      appendEvaluation(movetext, ply);
    }
    movetext += ' ';
  }
  movetext += game.tags.value(kTagResult);
  movetext += '\n';
  pgn.writeGame(out);
  return 1;
}

void printGame(const Game& game, Console& console, int printCmt) {
  std::string text = "\n";
  for (int i = 0; i < TagTable::kEntries; ++i) {
    text += TagTable::prefix(i);
    text += game.tags.value(i);
    text += "\"]\n";
  }
  text += '\n';
  for (int n = game.firstPly(); n <= game.plyCount; ++n) {
    const PlyRecord& ply = game.plies[n];
    appendMoveNumber(text, game, n, ".");
    text += ply.san;
    text += ' ';
    if (printCmt == 1) {
      text += '{';
      text += game.comments.text(n);
      text += "} ";
    } else if (printCmt == 2) {
      appendEvaluation(text, ply);
      text += ' ';
    }
  }
  console.writeText(text);
}

}  // namespace kestrova
