#include "scan/scan_commands.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include "pgn/tag_table.hpp"
#include "rating/game_text.hpp"
#include "scan/scan_support.hpp"

namespace kestrova {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Three engines, each pair twice: Alpha 3/4, Beta 2/4, Gamma 1/4, a round robin.
std::string roundRobin() {
  std::string games;
  const char* const players[] = {"Alpha", "Beta", "Gamma"};
  int round = 1;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      if (i != j) games += test::gameText({players[i], players[j], i < j ? "1-0" : "1/2-1/2", "Cup", round++});
    }
  }
  return games;
}

// Every detection off except `on` (NoPlan reports in every game above, at 1.e4).
std::string configuration(bool runElo, const std::string& head = "",
                          const std::string& on = "NoPlan: act=1, name=NoPlan, epd=1, pgn=1,\n") {
  std::string text = (runElo ? "runElo=1\nminNbGm=1\n" : "runElo=0\n") + head;
  for (int k = 1; k <= detection::kCount; ++k) text += std::string(detectionName(k)) + ": act=0,\n";
  return text + on;
}

class ScanCommands : public ::testing::Test {
 protected:
  void open(bool runElo, const std::string& games = roundRobin()) {
    dir.write("games.pgn", games);
    dir.write("kestrova.ini", configuration(runElo));
    readSettings(app->settings, app->console);
    ASSERT_TRUE(app->pgn.open("games.pgn"));
  }

  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

TEST_F(ScanCommands, ScanWritesItsThreeFilesUnderTheDefaultOrTheGivenNames) {
  open(false);
  std::string out = test::run(*app, "scan");
  EXPECT_TRUE(has(out, "see log.txt file\nsee epd-out.epd or pgn-out.pgn file\n")) << out;
  EXPECT_FALSE(has(out, "see also rating.txt"));
  EXPECT_TRUE(has(dir.read("log.txt"), "6: [w] NoPlan before 1.e4"));
  EXPECT_TRUE(has(dir.read("epd-out.epd"), " game 6: [w] NoPlan before 1.e4 [Gamma-Beta, 1/2-1/2]\n"));
  EXPECT_TRUE(has(dir.read("pgn-out.pgn"), "1.e4 e5 2.Nf3 Nc6 1/2-1/2"));
  EXPECT_FALSE(dir.exists("rating.txt"));

  std::remove("log.txt");
  out = test::run(*app, "scan -l=a.log -p=b.pgn -e=c.epd");
  EXPECT_TRUE(has(out, "see a.log file\nsee c.epd or b.pgn file\n")) << out;
  EXPECT_TRUE(has(dir.read("a.log"), "NoPlan"));
  EXPECT_TRUE(has(dir.read("b.pgn"), "1.e4"));
  EXPECT_TRUE(has(dir.read("c.epd"), " game 1: "));
  EXPECT_FALSE(dir.exists("log.txt"));
}

TEST_F(ScanCommands, ScanNeverOverwritesTheFileItReads) {
  open(false);
  const std::string before = dir.read("games.pgn");
  const std::string out = test::run(*app, "scan -p=games.pgn");
  EXPECT_TRUE(has(out, "> cannot create a pgn file\n")) << out;
  EXPECT_FALSE(has(out, "scanning now"));
  EXPECT_EQ(dir.read("games.pgn"), before);
}

TEST_F(ScanCommands, ScanWithRatingsComputesThemFirst) {
  open(true);
  const std::string out = test::run(*app, "scan");
  EXPECT_TRUE(has(out, "see also rating.txt\n")) << out;
  EXPECT_TRUE(dir.exists("rating.txt"));
  EXPECT_LT(out.find("> rating list saved in rating.txt"), out.find("> scanning now for detections"));
  EXPECT_EQ(findPlayer(app->ratings, "Alpha"), nullptr) << "the repository is released after the scan";
}

TEST_F(ScanCommands, BestPerfTakesTheComputedRatingsAndWritesThemIntoTheGames) {
  // The games carry no Elo tags: the ratings come from the list computed first.
  dir.write("games.pgn", roundRobin());
  dir.write("kestrova.ini", configuration(true, "[OutputEnabledTags]\n[White\n[Black\n[Result\n[WhiteElo\n[BlackElo\n\n",
                                          "BestPerf: act=1, name=BestPerf, pgn=1,\n"));
  readSettings(app->settings, app->console);
  readOutputEnabledTags(app->game.tags, app->console);
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  const std::string out = test::run(*app, "scan");
  const std::string ratings = dir.read("rating.txt");
  auto ratingOf = [&](const std::string& name) {
    const std::size_t at = ratings.find("." + name + " ");
    const std::size_t elo = ratings.find("elo=", at);
    return at == std::string::npos || elo == std::string::npos ? -1 : std::atoi(ratings.c_str() + elo + 4);
  };
  const int alpha = ratingOf("Alpha"), beta = ratingOf("Beta");
  ASSERT_GE(alpha - beta, 100) << ratings;
  // Game 3, Beta-Alpha, was drawn: D = alpha - beta is at least val + 100.
  EXPECT_TRUE(has(out, "3: [b] BestPerf (Beta +" + std::to_string(alpha - beta) + ") after 2...Nc6")) << out;
  EXPECT_TRUE(has(dir.read("pgn-out.pgn"), "[White \"Beta\"]\n[Black \"Alpha\"]\n[Result \"1/2-1/2\"]\n[WhiteElo \"" +
                                               std::to_string(beta) + "\"]\n[BlackElo \"" + std::to_string(alpha) + "\"]\n"));
  EXPECT_FALSE(has(out, "1: [w] BestPerf")) << "the higher rated White won, as expected";
}

TEST_F(ScanCommands, ScanAndSynNeedAnOpenFileAndHaveHelp) {
  dir.write("kestrova.ini", configuration(false));
  dir.write("help.man", test::sourceFile("data/help.man"));
  EXPECT_TRUE(has(test::run(*app, "scan"), "\n> no PGN-file in memory. Please load a pgn file\n"));
  EXPECT_TRUE(has(test::run(*app, "syn"), "\n> no PGN-file in memory. Please load a pgn file\n"));
  EXPECT_FALSE(dir.exists("log.txt"));
  EXPECT_TRUE(has(test::run(*app, "scan /?"), "syntax : scan [-l=log] [-e=epd] [-p=pgn]"));
  EXPECT_TRUE(has(test::run(*app, "syn /?"), "syntax : syn [-out=file]"));
}

TEST_F(ScanCommands, SynJoinsTheCrossTablesAndTheLog) {
  open(false);
  app->settings.prfFileFmt = 1;
  const std::string out = test::run(*app, "syn");
  EXPECT_TRUE(has(out, "> operation completed\n")) << out;
  EXPECT_TRUE(has(out, "see synthesis.txt file\n"));
  const std::string tournaments = dir.read("trnfound.txt");
  EXPECT_TRUE(has(tournaments, "Round Robin tournament\n")) << tournaments;
  EXPECT_EQ(dir.read("synthesis.txt"), tournaments + "Games log :\n\n" + dir.read("log.txt") + "\n- Kestrova 0.92 -\n");
  EXPECT_EQ(app->settings.prfFileFmt, 1) << "the finder's format is restored";
  EXPECT_FALSE(dir.exists("trnfound.html"));
}

TEST_F(ScanCommands, SynCountsEveryGameOnceWithRatingsOn) {
  open(true);
  EXPECT_TRUE(has(test::run(*app, "syn -out=s.txt"), "see s.txt file\n"));
  // Each engine played 4 games: the list counts 4, not 8.
  const std::string ratings = dir.read("rating.txt");
  for (const char* name : {"Alpha", "Beta", "Gamma"}) {
    const std::size_t at = ratings.find(name);
    ASSERT_NE(at, std::string::npos) << ratings;
    EXPECT_EQ(ratings.substr(ratings.find('\n', at) - 2, 2), "/4") << name;
  }
}

TEST_F(ScanCommands, SynStopsWhenAGameHasNoResult) {
  open(false, roundRobin() + test::pgnGame("1. e4 e5", "*"));
  app->settings.prfFileFmt = 1;
  const std::string out = test::run(*app, "syn");
  EXPECT_TRUE(has(out, "> Game without result. Probing aborted\n")) << out;
  EXPECT_FALSE(has(out, "see synthesis.txt"));
  EXPECT_FALSE(has(out, "scanning now"));
  EXPECT_EQ(app->settings.prfFileFmt, 1);
}

}  // namespace
}  // namespace kestrova
