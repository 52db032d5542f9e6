#pragma once
// Scans hand-made games with chosen detections switched on, and the games' building blocks.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "scan/detection_settings.hpp"
#include "support/test_app.hpp"
#include "support/text.hpp"

namespace kestrova::test {

using Lines = std::vector<std::string>;

inline std::string pgnGame(const std::string& movetext, const std::string& result = "1/2-1/2", const std::string& tags = "") {
  return "[Event \"T\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"" + result + "\"]\n" + tags + "\n" + movetext +
         (movetext.empty() ? "" : " ") + result + "\n\n";
}

struct Scan {
  std::string console, log, epd, pgn;
  Lines reports;  // the report lines without padding and players, and the extra lines after them
};

// Scans the games with only the detections named before the colon on, labelled with their names and configured by the rest.
inline Scan scan(const std::string& games, const std::string& detections, App* given = nullptr) {
  ScratchDir dir;
  std::string ini;
  for (int k = 1; k <= detection::kCount; ++k) ini += std::string(detectionName(k)) + ": act=0,\n";
  std::istringstream names(detections.substr(0, detections.find(':')));
  for (std::string name; names >> name;) ini += name + ": act=1, name=" + name + ",\n";
  dir.write("kestrova.ini", ini + detections + "\n");
  dir.write("games.pgn", games);
  std::unique_ptr<App> owned = given ? nullptr : makeApp();
  App& app = given ? *given : *owned;
  app.settings.runElo = false;
  app.console.setTerminal(true);  // progress lines are shown on a terminal only
  EXPECT_TRUE(app.pgn.open("games.pgn"));
  Scan s{run(app, "scan"), dir.read("log.txt"), dir.read("epd-out.epd"), dir.read("pgn-out.pgn"), {}};
  app.pgn.close();
  std::istringstream in(s.console);
  for (std::string line; std::getline(in, line);) {
    const std::size_t head = line.find(": ["), players = line.rfind('[');
    const bool report = head != std::string::npos && head > 0 && line.find_first_not_of("0123456789") == head;
    if (report && players > head + 2) line.erase(line.find_last_not_of(' ', players - 1) + 1);
    if (report || has(line, " rule violation !")) s.reports.push_back(line);
  }
  return s;
}

// One game scanned with some detections on, and the reports expected.
struct RuleCase {
  const char* detections;
  std::string game;
  Lines expected;
};

inline void expectReports(const std::vector<RuleCase>& cases) {
  for (const RuleCase& c : cases) EXPECT_EQ(scan(c.game, c.detections).reports, c.expected) << c.detections << "\n" << c.game;
}

// `plies` half-moves taken in turn from `moves` (knights out and back), each with its ply's comment when there is one.
inline std::string movetext(int plies, const std::vector<std::string>& moves = {"Nf3", "Nf6", "Ng1", "Ng8"},
                            const std::function<std::string(int)>& comment = {}) {
  std::string text;
  for (int ply = 1; ply <= plies; ++ply) {
    const std::string c = comment ? comment(ply) : "";
    text += (ply % 2 ? std::to_string(ply / 2 + 1) + ". " : "") + moves[(ply - 1) % moves.size()];
    text += c.empty() ? " " : " {" + c + "} ";
  }
  return text;
}

// A Ruy Lopez of 20 half-moves, to 10.d4 Nbd7.
inline const std::vector<std::string> kRuyLopez = {"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "Ba4", "Nf6", "O-O", "Be7",
                                                   "Re1", "b5", "Bb3", "d6", "c3", "O-O", "h3", "Nb8", "d4", "Nbd7"};

// "+1.50/12 5s": an evaluation in centipawns (mover's view), depth, time.
inline std::string eval(int centipawns, int depth = 12, int seconds = 5) {
  const int v = centipawns < 0 ? -centipawns : centipawns;
  return (centipawns < 0 ? "-" : "+") + std::to_string(v / 100) + (v % 100 < 10 ? ".0" : ".") + std::to_string(v % 100) + "/" +
         std::to_string(depth) + " " + std::to_string(seconds) + "s";
}

}  // namespace kestrova::test
