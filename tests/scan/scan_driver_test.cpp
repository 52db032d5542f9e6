// The scan and syn commands: the run's statistics, where the reports go, and the files they write.
#include "scan/scan_driver.hpp"

#include <gtest/gtest.h>

#include "rating/game_text.hpp"
#include "scan/scan_support.hpp"
#include "support/text.hpp"

namespace kestrova {
namespace {

using test::has;
using test::pgnGame;

std::string evaluated(int plies) {
  return pgnGame(test::movetext(test::kRuyLopez, [plies](int p) { return p <= plies ? test::eval(10, 10, 1) : ""; }));
}

TEST(Scan, StatisticsProgressAndGamesThatCannotBeScanned) {
  std::string games = evaluated(4) + evaluated(5) + "[Event \"T\"]\n[Result \"*\"]\n\nhello there\n\n" +
                      pgnGame("1. f3 e5 2. a3 Qh4+ 3. a4", "0-1") + pgnGame("1. d4 d5");
  for (int i = 0; i < 255; ++i) games += pgnGame("1. e4");
  const test::Scan s = test::scan(games, "NoPlan");
  EXPECT_EQ(s.console.rfind("> processing...\n> scanning now for detections\n", 0), 0u) << s.console;
  EXPECT_EQ(test::count(s.console, "> scanning game "), 2);
  EXPECT_TRUE(has(s.console, "> scanning game 128\r") && has(s.console, "> scanning game 256\r"));
  // More than four evaluated half-moves make a commented game; every read counts.
  EXPECT_TRUE(has(s.console, "\n260 games read in ")) << s.console;
  EXPECT_TRUE(has(s.console, "s\n1 games with enough evaluation data\n1 games with enough depth data\n1 games with enough "
                             "time data\n2 games with critical error\n\n\a> 260 games read, 258 used, 2 left out\n"));
  EXPECT_TRUE(has(s.log, "> 3: game left out: ")) << s.log;
  EXPECT_TRUE(has(s.log, "4:>illegal position found after 3.a4 !"));
  EXPECT_TRUE(has(s.log, "5: [w] NoPlan before 1.d4"));
  EXPECT_TRUE(has(test::scan(evaluated(0), "NoPlan").console, "0 games with critical error\n> Warning ! No commented game found\n"));
  test::ScratchDir dir;
  auto app = test::makeApp();
  dir.write("games.pgn", evaluated(5));
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  EXPECT_TRUE(has(test::run(*app, "scan"), "> processing...\n> can not open \"kestrova.ini\"\n"));
}

TEST(Scan, ReportsGoToTheConsoleTheLogTheEpdFileAndMarkTheirGamesForThePgnFile) {
  // NoPlan (EPD, PGN, a diagram first) reports at the pawn moves, before them; TooFewMoves (EPD,
  // val 1) after the one ply of game 3. "1: [w] " and the names make lines of 56 and 55 characters.
  const std::string noPlan(37, 'n'), tooFew(28, 't');
  const test::Scan s = test::scan(pgnGame("1. Nf3 Nf6 2. e4") + pgnGame("1. Nf3 Nf6 2. Ng1") + pgnGame("1. e4"),
                                  "NoPlan TooFewMoves:\nNoPlan: name=" + noPlan + ", epd=1, pgn=1, shb=1,\nTooFewMoves: name=" +
                                      tooFew + ", val=1, epd=1,");
  const std::string first = "1: [w] " + noPlan + " before 2.e4", third = "3: [w] " + noPlan + " before 1.e4";
  const std::string last = "3: [w] " + tooFew + " (crash?) after 1.e4";
  EXPECT_EQ(s.log, first + "[A-B, 1/2-1/2]\n" + third + "[A-B, 1/2-1/2]\n" + last + "  [A-B, 1/2-1/2]\n");
  EXPECT_TRUE(has(s.console, "+\n\n" + first + "[A-B")) << s.console;
  // The position before the move, or after it, as the replay writes it.
  EXPECT_EQ(s.epd, "rnbqkb1r/pppppppp/5n2/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 0; game " + first + " [A-B, 1/2-1/2]\n" +
                       "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 0; game " + third + " [A-B, 1/2-1/2]\n" +
                       "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 0; game " + last + " [A-B, 1/2-1/2]\n");
  EXPECT_EQ(s.pgn, "\n1.Nf3 Nf6 2.e4 1/2-1/2\n\n\n1.e4 1/2-1/2\n\n") << "games 1 and 3, without tags to write";
}

// Three engines, each pair twice: Alpha 3/4, Beta 2/4, Gamma 1/4, a round robin.
class ScanCommands : public ::testing::Test {
 protected:
  std::string command(const std::string& line, const std::string& ini = "BestPerf: act=0,\n") {
    std::string games;
    const char* const players[] = {"Alpha", "Beta", "Gamma"};
    for (int i = 0, round = 1; i < 3; ++i) {
      for (int k = 0; k < 3; ++k) {
        if (i != k) games += test::gameText({players[i], players[k], i < k ? "1-0" : "1/2-1/2", "Cup", round++});
      }
    }
    dir.write("games.pgn", games);
    dir.write("kestrova.ini", ini + "NoPlan: name=NoPlan, val=0, epd=1, pgn=1,\n");
    EXPECT_TRUE(app->pgn.open("games.pgn"));
    return test::run(*app, line);
  }
  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

TEST_F(ScanCommands, ScanWritesItsFilesUnderTheGivenNamesButNeverOverTheFileItReads) {
  app->settings.runElo = false;
  EXPECT_TRUE(has(command("scan"), "see log.txt file\nsee epd-out.epd or pgn-out.pgn file\n"));
  EXPECT_TRUE(has(dir.read("epd-out.epd"), " game 6: [w] NoPlan before 1.e4 [Gamma-Beta, 1/2-1/2]\n"));
  const std::string out = command("scan -l=a.log -p=b.pgn -e=c.epd");
  EXPECT_TRUE(has(out, "see a.log file\nsee c.epd or b.pgn file\n") && !has(out, "see also rating.txt")) << out;
  EXPECT_TRUE(has(dir.read("a.log"), "NoPlan") && has(dir.read("b.pgn"), "1.e4") && has(dir.read("c.epd"), " game 1: "));
  const std::string before = dir.read("games.pgn");
  EXPECT_TRUE(has(command("scan -p=games.pgn"), "> cannot create a pgn file\n"));
  EXPECT_EQ(dir.read("games.pgn"), before);
}

TEST_F(ScanCommands, WithRatingsBestPerfTakesTheComputedRatingsAndWritesThemIntoTheGames) {
  app->settings.rating.minNbGm = 1;
  for (int tag : {kTagWhite, kTagBlack, kTagResult, kTagWhiteElo, kTagBlackElo}) app->game.tags.setOutputEnabled(tag, true);
  const std::string out = command("scan", "BestPerf: name=BestPerf, pgn=1,\n");
  EXPECT_TRUE(has(out, "see also rating.txt\n") && out.find("> rating list saved in") < out.find("> scanning now")) << out;
  EXPECT_EQ(app->ratings.playerCount(), 0u) << "the repository is released after the scan";
  // The games carry no Elo tags. Game 3, Beta-Alpha, was drawn, with Alpha rated 100 or more above.
  const std::string ratings = dir.read("rating.txt");
  auto ratingOf = [&](const std::string& name) { return std::atoi(ratings.c_str() + ratings.find("elo=", ratings.find(name)) + 4); };
  const int alpha = ratingOf(".Alpha "), beta = ratingOf(".Beta ");
  ASSERT_GE(alpha - beta, 100) << ratings;
  EXPECT_TRUE(has(out, "3: [b] BestPerf (Beta +" + std::to_string(alpha - beta) + ") after 2...Nc6")) << out;
  EXPECT_FALSE(has(out, "1: [w] BestPerf")) << "the higher rated White won, as expected";
  EXPECT_TRUE(has(dir.read("pgn-out.pgn"), "[White \"Beta\"]\n[Black \"Alpha\"]\n[Result \"1/2-1/2\"]\n[WhiteElo \"" +
                                               std::to_string(beta) + "\"]\n[BlackElo \"" + std::to_string(alpha) + "\"]\n"));
}

TEST_F(ScanCommands, SynJoinsTheCrossTablesAndTheLogCountingEveryGameOnce) {
  app->settings.rating.minNbGm = 1;
  app->settings.prfFileFmt = 1;
  EXPECT_TRUE(has(command("syn -out=s.txt"), "> operation completed\nsee s.txt file\n"));
  const std::string tournaments = dir.read("trnfound.txt");
  EXPECT_TRUE(has(tournaments, "Round Robin tournament\n")) << tournaments;
  EXPECT_EQ(dir.read("s.txt"), tournaments + "Games log :\n\n" + dir.read("log.txt") + "\n- Kestrova 0.92 -\n");
  EXPECT_TRUE(has(dir.read("rating.txt"), "sc=3/4\n")) << "4 games each, not 8";
  EXPECT_EQ(app->settings.prfFileFmt, 1) << "the finder's format is kept";
  dir.write("games.pgn", dir.read("games.pgn") + pgnGame("1. e4 e5", "*"));
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  const std::string out = test::run(*app, "syn");
  EXPECT_TRUE(has(out, "> Game without result. Probing aborted\n") && !has(out, "scanning now")) << out;
}

}  // namespace
}  // namespace kestrova
