#include "pgn/pgn_writer.hpp"

#include <cstdio>
#include <cstdlib>

#include "pgn/game.hpp"
#include "pgn/movetext.hpp"
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

// The move number before a half-move, as the game counts its moves: "12." for White; "12..." for
// the first move of a game that starts with Black to move.
void appendMoveNumber(std::string& out, const Game& game, int n) {
  char text[24];
  if (n % 2 == 1) {
    std::snprintf(text, sizeof text, "%d.", game.moveNumber(n));
    out += text;
  } else if (n == game.firstPly()) {
    std::snprintf(text, sizeof text, "%d...", game.moveNumber(n));
    out += text;
  }
}

void writeTag(platform::OutputFile& out, int index, std::string_view value) {
  out.write(TagTable::prefix(index));
  for (char c : value) {
    if (c == '"' || c == '\\') out.put('\\');
    out.put(c);
  }
  out.write("\"]\n");
}

// The moves with what printCmt asks after each, then the result.
void appendMovetext(std::string& text, const Game& game, int printCmt) {
  if (printCmt == 1 && game.firstPly() >= 1) {
    // What stood before the first move.
    const std::string_view before = game.comments.text(game.firstPly() - 1);
    if (!before.empty()) {
      text += before;
      text += ' ';
    }
  }
  for (int n = game.firstPly(); n <= game.plyCount; ++n) {
    const PlyRecord& ply = game.plies[n];
    appendMoveNumber(text, game, n);
    text += ply.san;
    if (printCmt == 1) {
      const std::string_view after = game.comments.text(n);
      if (!after.empty()) {
        text += ' ';
        text += after;
      }
    } else if (printCmt == 2 && (ply.evaluation != 0 || ply.depth != 0 || ply.timeMs != 0)) {
      appendEvaluation(text, ply);
    }
    text += ' ';
  }
  text += gameResult(game);
}

}  // namespace

std::string_view gameResult(const Game& game) {
  if (!game.tags.value(kTagResult).empty()) return game.tags.value(kTagResult);
  if (!game.movetextResult.empty()) return game.movetextResult;
  return "*";
}

int writePgn(Game& game, PgnFile& pgn, platform::OutputFile& out, int printCmt) {
  // The tag lines of the game in their order: a known tag with its value (which a command may
  // have changed) when the output list enables it, any other tag as it was read; then the known
  // tags a command has added.
  bool written[TagTable::kEntries] = {};
  const HeaderLines& header = pgn.header();
  std::string& value = game.tagScratch;
  for (int n = 0; n < header.count; ++n) {
    const std::string& line = header.lines[static_cast<std::size_t>(n)];
    std::string_view name;
    const int index = readTagLine(line, name, value) ? TagTable::lookupTag(name) : -1;
    if (index < 0) {
      out.write(line);
      out.put('\n');
    } else if (game.tags.outputEnabled(index) && !written[index]) {
      writeTag(out, index, game.tags.value(index));
      written[index] = true;
    }
  }
  for (int index = 0; index < TagTable::kEntries; ++index) {
    if (!written[index] && game.tags.outputEnabled(index) && !game.tags.value(index).empty()) {
      writeTag(out, index, game.tags.value(index));
    }
  }
  out.put('\n');
  std::string& text = game.writeScratch;
  text.clear();
  appendMovetext(text, game, printCmt);
  text += '\n';
  writeWithLineBreaks(out, text);
  out.put('\n');
  return 1;
}

void writeAsRead(const PgnFile& pgn, int tag, std::string_view value, platform::OutputFile& out) {
  const HeaderLines& header = pgn.header();
  std::string_view name;
  std::string scratch;
  bool written = false;
  for (int n = 0; n < header.count; ++n) {
    const std::string& line = header.lines[static_cast<std::size_t>(n)];
    if (readTagLine(line, name, scratch) && TagTable::lookupTag(name) == tag) {
      if (!written) writeTag(out, tag, value);
      written = true;
      continue;
    }
    out.write(line);
    out.put('\n');
  }
  if (!written) writeTag(out, tag, value);
  pgn.writeMovetext(out);
}

void printGame(const Game& game, Console& console, int printCmt) {
  std::string text = "\n";
  for (int i = 0; i < TagTable::kEntries; ++i) {
    text += TagTable::prefix(i);
    text += game.tags.value(i);
    text += "\"]\n";
  }
  text += '\n';
  appendMovetext(text, game, printCmt);
  text += '\n';
  console.writeText(text);
}

}  // namespace kestrova
