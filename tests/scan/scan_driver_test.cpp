#include "scan/scan_driver.hpp"

#include <gtest/gtest.h>

#include "scan/scan_support.hpp"

namespace kestrova {
namespace {

using test::pgnGame;

// Every detection off except those given, runElo off.
std::string configuration(const std::string& detectionLines = "") {
  std::string text = "runElo=0\n";
  for (int k = 1; k <= detection::kCount; ++k) text += std::string(detectionName(k)) + ": act=0,\n";
  return text + detectionLines;
}

struct Scan {
  bool result = false;
  ScanStatistics statistics;
  std::string console, log, epd, pgn;
};

Scan scan(const std::string& games, const std::string& ini, App* given = nullptr) {
  test::ScratchDir dir;
  dir.write("games.pgn", games);
  if (!ini.empty()) dir.write("kestrova.ini", ini);
  auto owned = test::makeApp();
  App& app = given ? *given : *owned;
  app.settings.runElo = false;  // read at start-up, which these tests skip
  Scan s;
  if (!app.pgn.open("games.pgn")) return s;
  {
    platform::OutputFile log, epd, pgn;
    log.create("log.txt");
    epd.create("epd.epd");
    pgn.create("pgn.pgn");
    app.console.takeCaptured();
    s.result = runScan(app, log, pgn, epd, &s.statistics);
    s.console = app.console.takeCaptured();
    EXPECT_TRUE(app.detections.log == nullptr && app.detections.pgn == nullptr && app.detections.epd == nullptr)
        << "the streams are unbound when the scan ends";
  }
  s.log = dir.read("log.txt");
  s.epd = dir.read("epd.epd");
  s.pgn = dir.read("pgn.pgn");
  app.pgn.close();
  return s;
}

std::string evaluatedPlies(int plies) {
  return pgnGame(test::movetext(test::kRuyLopez, [plies](int ply) { return ply <= plies ? test::evalComment(10, 10, 1) : ""; }));
}

TEST(RunScan, AGameNeedsMoreThanFourEvaluationsToCountAsCommented) {
  const Scan s = scan(evaluatedPlies(4) + evaluatedPlies(5) + evaluatedPlies(0), configuration());
  ASSERT_TRUE(s.result);
  EXPECT_EQ(s.statistics.gamesRead, 3u);
  EXPECT_EQ(s.statistics.gamesWithEvaluations, 1u);
  EXPECT_EQ(s.statistics.gamesWithDepths, 1u);
  EXPECT_EQ(s.statistics.gamesWithTimes, 1u);
  EXPECT_EQ(s.statistics.criticalErrors, 0u);
  EXPECT_EQ(s.console.rfind("> processing...\n> scanning now for detections\n", 0), 0u) << s.console;
  EXPECT_NE(s.console.find("\n3 games read in "), std::string::npos);
  EXPECT_NE(s.console.find("s\n1 games with enough evaluation data\n1 games with enough depth data\n"
                           "1 games with enough time data\n0 games with critical error\n\n\a"),
            std::string::npos)
      << s.console;

  const Scan none = scan(evaluatedPlies(0) + pgnGame("1. e4 e5"), configuration());
  ASSERT_TRUE(none.result);
  EXPECT_NE(none.console.find("0 games with critical error\n> Warning ! No commented game found\n\n\a"), std::string::npos);
}

TEST(RunScan, NeedsTheConfiguration) {
  const Scan missing = scan(pgnGame("1. e4 e5"), "");
  EXPECT_FALSE(missing.result);
  EXPECT_EQ(missing.console, "> processing...\n> can not open \"kestrova.ini\"\n");
}

TEST(RunScan, ProgressAfterEvery128thGame) {
  std::string games;
  for (int i = 0; i < 300; ++i) games += pgnGame("1. e4 e5");
  const Scan s = scan(games, configuration());
  std::string progress;
  for (std::size_t at = s.console.find("> scanning game "); at != std::string::npos;
       at = s.console.find("> scanning game ", at + 1)) {
    progress += s.console.substr(at, s.console.find('\r', at) + 1 - at);
  }
  EXPECT_EQ(progress, "> scanning game 128\r> scanning game 256\r");
  EXPECT_EQ(s.statistics.gamesRead, 300u);
}

TEST(RunScan, CriticalErrorsAreCountedAndTheScanGoesOn) {
  const std::string skipped = "[Event \"T\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"*\"]\n\nhello there\n\n";
  const Scan s = scan(skipped + pgnGame("1. e4 e5 2. Ke3") + pgnGame("1. f3 e5 2. a3 Qh4+ 3. a4", "0-1") +
                          pgnGame("1. d4 d5"),
                      configuration("NoPlan: act=1, name=NoPlan,\n"));
  ASSERT_TRUE(s.result);
  EXPECT_EQ(s.statistics.gamesRead, 4u);
  EXPECT_EQ(s.statistics.criticalErrors, 3u);
  EXPECT_NE(s.console.find("1: game skipped\n"), std::string::npos) << s.console;
  EXPECT_NE(s.console.find("3 games with critical error\n"), std::string::npos);
  EXPECT_NE(s.log.find("4: [w] NoPlan before 1.d4"), std::string::npos) << s.log;
  EXPECT_NE(s.log.find("3:>illegal position found after 3.a4 !"), std::string::npos);
}

TEST(RunScan, AGameTooLargeForTheBuffersEndsTheScanWithoutStatistics) {
  auto app = test::makeApp();
  app->pgn.create(app->console, 400, 100, 400);
  const Scan s = scan(pgnGame("1. e4 e5") + pgnGame(test::movetext(test::cycle(120))) + pgnGame("1. d4 d5"),
                      configuration(), app.get());
  EXPECT_FALSE(s.result);
  EXPECT_EQ(s.console.find("games read in"), std::string::npos);
}

TEST(RunScan, ReportsGoToTheLogTheEpdFileAndMarkTheirGamesForThePgnFile) {
  // NoPlan reports with EPD and PGN output; VeryShortGame (val 1) only to the log.
  const Scan s = scan(pgnGame("1. Nf3 Nf6 2. e4") + pgnGame("1. Nf3 Nf6 2. Ng1") + pgnGame("1. e4"),
                      configuration("NoPlan: act=1, name=NoPlan, epd=1, pgn=1,\nVeryShortGame: act=1, name=Short, val=1,\n"));
  ASSERT_TRUE(s.result);
  const std::string first = "1: [w] NoPlan before 2.e4", third = "3: [w] NoPlan before 1.e4";
  const auto line = [](const std::string& report) { return report + std::string(57 - report.size(), ' ') + "[A-B, 1/2-1/2]\n"; };
  // Within a ply the rules report in their order: VeryShortGame before NoPlan.
  EXPECT_EQ(s.log, line(first) + line("3: [w] Short (1 mv) after 1.e4") + line(third));
  EXPECT_NE(s.console.find(line(third)), std::string::npos);
  // "before": the position before the move, as the replay writes it.
  EXPECT_EQ(s.epd, "rnbqkb1r/pppppppp/5n2/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 0; game " + first + " [A-B, 1/2-1/2]\n" +
                       "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 0; game " + third + " [A-B, 1/2-1/2]\n");
  // Games 1 and 3 are written, game 2 had no report.
  EXPECT_NE(s.pgn.find("1.Nf3 Nf6 2.e4 1/2-1/2"), std::string::npos) << s.pgn;
  EXPECT_EQ(s.pgn.find("Ng1"), std::string::npos) << s.pgn;
  EXPECT_NE(s.pgn.find("1.e4 1/2-1/2"), std::string::npos) << s.pgn;
}

}  // namespace
}  // namespace kestrova
