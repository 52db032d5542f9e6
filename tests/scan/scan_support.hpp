#pragma once
// Runs the detection rules over hand-made games with chosen detections switched on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "pgn/pgn_commands.hpp"
#include "pgn/replay.hpp"
#include "platform/output_file.hpp"
#include "scan/detection_settings.hpp"
#include "scan/report_writer.hpp"
#include "scan/rule_driver.hpp"
#include "support/test_app.hpp"

namespace kestrova::test {

using Lines = std::vector<std::string>;
using Configure = std::function<void(DetectionEntry&)>;

inline std::string pgnGame(const std::string& movetext, const std::string& result = "1/2-1/2",
                           const std::string& extraTags = "", const std::string& white = "A",
                           const std::string& black = "B") {
  return "[Event \"T\"]\n[White \"" + white + "\"]\n[Black \"" + black + "\"]\n[Result \"" + result + "\"]\n" +
         extraTags + "\n" + (movetext.empty() ? "" : movetext + " ") + result + "\n\n";
}

// The report lines ("12: [w] ...") without padding and "[White-Black, Result]", and the extra
// lines that follow reports.
inline Lines reportLines(const std::string& console) {
  Lines lines;
  std::istringstream in(console);
  for (std::string line; std::getline(in, line);) {
    const std::size_t colon = line.find(": [");
    if (colon != std::string::npos && colon > 0 && line.find_first_not_of("0123456789") == colon) {
      const std::size_t players = line.rfind('[');
      if (players > colon + 2) line.erase(players);
      while (!line.empty() && line.back() == ' ') line.pop_back();
      lines.push_back(line);
    } else if (line.find(" rule violation !") != std::string::npos || line.find("[Int. book]") != std::string::npos) {
      lines.push_back(line);
    }
  }
  return lines;
}

struct RuleRun {
  std::string console;
  Lines reports;
  std::vector<int> replayResults;
};

// Scans the games with only the detections `active` on (labelled with their names), after
// `configure` has adjusted the entry of the first.
inline RuleRun runRules(App& app, const std::string& games, const std::vector<int>& active,
                        const Configure& configure = nullptr) {
  ScratchDir dir;
  dir.write("games.pgn", games);
  RuleRun run;
  if (!app.pgn.open("games.pgn")) return run;
  DetectionSettings& d = app.detections;
  loadDetectionSettings(d, "no-such.ini");
  for (int k = 1; k <= detection::kCount; ++k) {
    d[k].active = std::find(active.begin(), active.end(), k) != active.end();
    d[k].name = std::string(detectionName(k));
  }
  if (configure) configure(d[active.front()]);
  platform::OutputFile log, epd, pgn;
  log.create("log.txt");
  epd.create("epd.epd");
  pgn.create("out.pgn");
  DetectionHooks hooks;
  app.console.takeCaptured();
  while (app.pgn.readNextGame(app.console) > 0) {
    startGame(app, true);
    beginGameDetections(d, &log, &pgn, &epd);
    run.replayResults.push_back(replayGame(app, replay::kMoveRules | replay::kGameEndRules, &hooks));
  }
  d.log = d.epd = d.pgn = nullptr;
  run.console = app.console.takeCaptured();
  run.reports = reportLines(run.console);
  app.pgn.close();
  return run;
}

inline RuleRun runRule(const std::string& games, int only, const Configure& configure = nullptr) {
  return runRules(*makeApp(), games, {only}, configure);
}

// One game scanned with some detections on, and the reports expected.
struct RuleCase {
  const char* what;
  std::string game;
  std::vector<int> active;
  Lines expected;
  Configure configure = nullptr;
};

inline void expectReports(const std::vector<RuleCase>& cases) {
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(runRules(*makeApp(), c.game, c.active, c.configure).reports, c.expected);
  }
}

// The movetext of the SAN moves from White's first move, each followed by the comment produced
// for its ply (none when empty).
inline std::string movetext(const std::vector<std::string>& sans,
                            const std::function<std::string(int)>& comment = nullptr) {
  std::string text;
  for (std::size_t i = 0; i < sans.size(); ++i) {
    const int ply = static_cast<int>(i) + 1;
    if (ply % 2 == 1) text += std::to_string(ply / 2 + 1) + ". ";
    text += sans[i];
    const std::string c = comment ? comment(ply) : "";
    if (!c.empty()) text += " {" + c + "}";
    if (i + 1 < sans.size()) text += ' ';
  }
  return text;
}

// n half-moves repeating a cycle of moves (by default Nf3 Nf6 Ng1 Ng8).
inline std::vector<std::string> cycle(int plies, const std::vector<std::string>& moves = {"Nf3", "Nf6", "Ng1", "Ng8"}) {
  std::vector<std::string> sans;
  for (int i = 0; i < plies; ++i) sans.push_back(moves[i % moves.size()]);
  return sans;
}

// A Ruy Lopez of 20 half-moves, to 10.d4 Nbd7.
inline const std::vector<std::string> kRuyLopez = {"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "Ba4", "Nf6", "O-O", "Be7",
                                                   "Re1", "b5", "Bb3", "d6", "c3", "O-O", "h3", "Nb8", "d4", "Nbd7"};

// "+1.50/12 5s": an evaluation in centipawns (mover's view), depth, time.
inline std::string evalComment(int centipawns, int depth = 12, int seconds = 5) {
  char text[48];
  std::snprintf(text, sizeof text, "%s%d.%02d/%d %ds", centipawns < 0 ? "-" : "+", std::abs(centipawns) / 100,
                std::abs(centipawns) % 100, depth, seconds);
  return text;
}

}  // namespace kestrova::test
