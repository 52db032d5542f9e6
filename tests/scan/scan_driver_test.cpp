// The scan and syn commands: the run's statistics, where the reports go, and the files they write.
#include <gtest/gtest.h>

#include "rating/game_text.hpp"
#include "scan/scan_support.hpp"

namespace kestrova::test {
namespace {

std::string evaluated(int plies) {
  return pgnGame(movetext(20, kRuyLopez, [plies](int p) { return p <= plies ? eval(10, 10, 1) : ""; }));
}

TEST(Scan, StatisticsProgressAndGamesThatCannotBeScanned) {
  std::string games = evaluated(4) + evaluated(5) + "[Event \"T\"]\n[Result \"*\"]\n\nhello there\n\n" +
                      pgnGame("1. f3 e5 2. a3 Qh4+ 3. a4", "0-1") + pgnGame("1. d4 d5");
  for (int i = 0; i < 255; ++i) games += pgnGame("1. e4");
  const Scan s = scan(games, "NoPlan");
  EXPECT_EQ(s.console.rfind("> processing...\n> scanning now for detections\n", 0), 0u) << s.console;
  EXPECT_TRUE(count(s.console, "> scanning game ") == 2 && has(s.console, "game 128\r") && has(s.console, "game 256\r"));
  // More than four evaluated half-moves make a commented game; every read counts; the scan goes on.
  EXPECT_TRUE(has(s.console, "\n260 games read in ")) << s.console;
  EXPECT_TRUE(has(s.console, "s\n1 games with enough evaluation data\n1 games with enough depth data\n1 games with enough "
                             "time data\n2 games with critical error\n> 260 games read, 258 used, 2 left out\n\n\a"));
  EXPECT_TRUE(has(s.log, "game 3: movetext unreadable at 'hello' after ply 0") &&
              has(s.log, "game 4: illegal move 3.a4 (ply 5)") &&
              has(s.log, "5: [w] NoPlan before 1.d4")) << s.log;
  EXPECT_TRUE(has(scan(evaluated(0), "NoPlan").console, "0 games with critical error\n> Warning ! No commented game found\n"));
}

TEST(Scan, ReportsGoToTheConsoleTheLogTheEpdFileAndMarkTheirGamesForThePgnFile) {
  // NoPlan (EPD, PGN, diagram) before pawn moves, TooFewMoves (EPD) in game 3: report lines of 56 and 55 characters.
  const std::string noPlan(37, 'n'), tooFew(28, 't');
  const Scan s = scan(pgnGame("1. Nf3 Nf6 2. e4") + pgnGame("1. Nf3 Nf6 2. Ng1") + pgnGame("1. e4"),
                      "NoPlan TooFewMoves:\nNoPlan: name=" + noPlan + ", epd=1, pgn=1, shb=1,\nTooFewMoves: name=" + tooFew +
                          ", val=1, epd=1,");
  const std::string first = "1: [w] " + noPlan + " before 2.e4", third = "3: [w] " + noPlan + " before 1.e4";
  const std::string last = "3: [w] " + tooFew + " (crash?) after 1.e4";
  EXPECT_EQ(s.log, first + "[A-B, 1/2-1/2]\n" + third + "[A-B, 1/2-1/2]\n" + last + "  [A-B, 1/2-1/2]\n");
  EXPECT_TRUE(has(s.console, "+\n\n" + first + "[A-B")) << s.console;
  // The position before the move, or after it, with its clocks as chess.js counts them.
  EXPECT_EQ(s.epd, "rnbqkb1r/pppppppp/5n2/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 2 2; game " + first + " [A-B, 1/2-1/2]\n" +
                       "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1; game " + third + " [A-B, 1/2-1/2]\n" +
                       "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1; game " + last + " [A-B, 1/2-1/2]\n");
  EXPECT_EQ(s.pgn, "\n1.Nf3 Nf6 2.e4 1/2-1/2\n\n\n1.e4 1/2-1/2\n\n") << "games 1 and 3, without tags to write";
}

TEST(ScanCommands, ScanAndSynWriteWhereTheyAreToldWithTheRatingsComputedFirstAndEveryGameCountedOnce) {
  // Three engines, each pair twice: Alpha 3/4, Beta 2/4, Gamma 1/4.
  ScratchDir dir;
  const std::string games = gameText({"Alpha", "Beta", "1-0"}) + gameText({"Alpha", "Gamma", "1-0"}) +
                            gameText({"Beta", "Alpha", "1/2-1/2"}) + gameText({"Beta", "Gamma", "1-0"}) +
                            gameText({"Gamma", "Alpha", "1/2-1/2"}) + gameText({"Gamma", "Beta", "1/2-1/2"});
  dir.write("games.pgn", games);
  dir.write("kestrova.ini", "BestPerf: name=BestPerf, pgn=1,\nNoPlan: act=0,\n");
  auto app = makeApp();
  app->settings.rating.minNbGm = 1;
  for (int tag : {kTagWhite, kTagBlack, kTagWhiteElo, kTagBlackElo}) app->game.tags.setOutputEnabled(tag, true);
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  std::string out = run(*app, "scan -l=a.log -p=b.pgn -e=c.epd");
  EXPECT_TRUE(has(out, "see a.log file\nsee c.epd or b.pgn file\nsee also rating.txt\n")) << out;
  EXPECT_LT(out.find("> rating list saved in"), out.find("> scanning now"));
  EXPECT_EQ(app->ratings.playerCount(), 0u) << "the repository is released after the scan";
  // BestPerf takes and writes the computed ratings: Beta drew Alpha, rated 100 or more above, in game 3.
  const std::string ratings = dir.read("rating.txt");
  auto ratingOf = [&](const char* name) { return std::atoi(ratings.c_str() + ratings.find("elo=", ratings.find(name)) + 4); };
  const int alpha = ratingOf(".Alpha "), beta = ratingOf(".Beta ");
  const std::string log = dir.read("a.log");
  EXPECT_TRUE(has(log, "3: [b] BestPerf (Beta +" + std::to_string(alpha - beta) + ") after 2...Nc6") && !has(log, "1: [w] Best"));
  EXPECT_TRUE(has(dir.read("b.pgn"), "[White \"Beta\"]\n[Black \"Alpha\"]\n[WhiteElo \"" + std::to_string(beta) +
                                         "\"]\n[BlackElo \"" + std::to_string(alpha) + "\"]\n"));
  // syn fills the repository for the finder; the scan's ratings count every game once.
  EXPECT_TRUE(has(run(*app, "syn"), "> operation completed\nsee synthesis.txt file\n"));
  EXPECT_TRUE(has(dir.read("rating.txt"), "sc=3/4, ")) << "4 games each, not 8";
  dir.write("games.pgn", games + pgnGame("1. e4 e5", "*"));
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  out = run(*app, "syn");
  EXPECT_TRUE(has(out, "> 1 unfinished games left out\n") && has(out, "see synthesis.txt file")) << out;
  EXPECT_TRUE(has(dir.read("rating.txt"), "sc=3/4, ")) << "the unfinished game is not rated";
}

}  // namespace
}  // namespace kestrova::test
