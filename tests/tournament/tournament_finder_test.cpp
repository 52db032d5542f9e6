#include "tournament/tournament_finder.hpp"

#include <gtest/gtest.h>

#include "rating/game_text.hpp"
#include "rating/rating_repository.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

using test::GameTags;
using test::gameText;

// Expected texts write the Latin-1 one-half as "~".
std::string withHalves(std::string text) {
  for (char& c : text) {
    if (c == '~') c = '\xBD';
  }
  return text;
}

std::string pgn(const std::vector<GameTags>& games) {
  std::string text;
  for (const GameTags& game : games) text += gameText(game);
  return text;
}

class Finder : public ::testing::Test {
 protected:
  std::string ftrn(const std::string& games, const std::string& command = "ftrn") {
    dir.write("games.pgn", games);
    EXPECT_TRUE(app->pgn.open("games.pgn"));
    return test::run(*app, command);
  }

  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

// Four players, every pairing twice. Alpha 4 points; Charlie and Bravo 3 each, Charlie drew
// everybody (SB 2 + 4 + 3 = 9.00), Bravo beat Delta once (SB 2 + 2 + 1 + 3 = 8.00); Delta 2.
std::vector<GameTags> fourPlayerCup() {
  return {
      {"Alpha", "Bravo", "1-0", "Cup", 1},         {"Charlie", "Delta", "1/2-1/2", "Cup", 1},
      {"Alpha", "Charlie", "1/2-1/2", "Cup", 2},   {"Bravo", "Delta", "1-0", "Cup", 2},
      {"Alpha", "Delta", "1-0", "Cup", 3},         {"Bravo", "Charlie", "1/2-1/2", "Cup", 3},
      {"Bravo", "Alpha", "1/2-1/2", "Cup", 4},     {"Delta", "Charlie", "1/2-1/2", "Cup", 4},
      {"Charlie", "Alpha", "1/2-1/2", "Cup", 5},   {"Delta", "Bravo", "1/2-1/2", "Cup", 5},
      {"Delta", "Alpha", "1/2-1/2", "Cup", 6},     {"Charlie", "Bravo", "1/2-1/2", "Cup", 6},
  };
}

TEST_F(Finder, RoundRobinCrossTableWithTwoGamesPerPairing) {
  const std::string printed = ftrn(pgn(fourPlayerCup()));
  EXPECT_NE(printed.find("> see trnfound.txt\n"), std::string::npos) << printed;
  const std::string rule = std::string(3 * 4 + 7 + 14, '=') + "\n";
  EXPECT_EQ(dir.read("trnfound.txt"),
            withHalves("Round Robin tournament\nName : Cup\nDate : 2024.01.01\nWinner : Alpha\n"
                       "\nRk  Name       Al Ch Br De   Sc  \n" + rule + "1.  Alpha      XX ~~ 1~ 1~   4     \n"
                       "2.  Charlie    ~~ XX ~~ ~~   3     9.00\n3.  Bravo      0~ ~~ XX 1~   3     8.00\n"
                       "4.  Delta      0~ ~~ 0~ XX   2     \n" + rule + "\n12 games : +3 =9 -0\n6 games per player\n\n\n"));
}

TEST_F(Finder, RoundRobinPageIsATableWithTheSameCells) {
  app->settings.prfFileFmt = 1;
  ftrn(pgn(fourPlayerCup()));
  const std::string page = dir.read("trnfound.html");
  const std::string cell = "<td width=\"34\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\">";
  // Cells 10 x 2 + 14 = 34 wide; the table 4 x 34 + 270.
  for (const std::string& part : std::vector<std::string>{
           "<html>\n<head>\n<title>trnFound</title>\n</head>\n<body>\n",
           "<a href=\"#1\">1. Cup (2024.01.01)</a></p>\n",
           "<a name=\"1\"></a>Round Robin tournament</b></font><br>\n"
           "<font size =\"4\">Name : Cup<br>Date : 2024.01.01<br>Winner : Alpha<br></font></p>\n",
           "bordercolor=\"#111111\" width=\"406\" id=\"AutoNumber1\">  <tr>\n",
           "<td width=\"34\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"31\">De</td>\n"
           "    <td width=\"30\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"31\"><b>Sc</b></td>\n"
           "    <td width=\"30\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"31\">SB</td>\n  </tr>\n",
           withHalves("style=\"padding-left: 4\">Bravo</td>\n    " + cell + "0~</td>\n    " + cell + "~~</td>\n"
                      "    <td width=\"34\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"23\"></td>\n    " + cell +
                      "1~</td>\n    <td width=\"30\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"23\"><b>3</b></td>\n"
                      "    <td width=\"30\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\"><font size=\"1\">8.00</font>"
                      "</td>\n  </tr>\n"),
           // No Sonneborn-Berger without a tie.
           "<b>4</b></td>\n    <td width=\"30\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\"><font size=\"1\"></font>",
       }) {
    EXPECT_NE(page.find(part), std::string::npos) << part;
  }
  const std::string end = "</table>\n<p style=\"margin-top: 12\">12 games : +3 =9 -0<br>6 games per player<br>&nbsp;</p>\n"
                          "</body>\n</html>\n";
  ASSERT_GE(page.size(), end.size());
  EXPECT_EQ(page.substr(page.size() - end.size()), end);
}

// Hero against five opponents, two games each; the opponents end Eve 2, Cid 1.5, Bob 1,
// Dan 0.5, Ann 0.
std::vector<GameTags> gauntlet() {
  const struct {
    const char *opponent, *first, *second;  // Hero with White, then with Black
  } pairings[] = {
      {"Ann", "1-0", "0-1"}, {"Bob", "1/2-1/2", "1/2-1/2"}, {"Cid", "0-1", "1/2-1/2"},
      {"Dan", "1-0", "1/2-1/2"}, {"Eve", "0-1", "1-0"},
  };
  std::vector<GameTags> games;
  int round = 0;
  for (const auto& p : pairings) {
    games.push_back({"Hero", p.opponent, p.first, "Gauntlet", ++round, "2024.03.09", "2024.02.01"});
    games.push_back({p.opponent, "Hero", p.second, "Gauntlet", ++round, "2024.03.09", "2024.02.01"});
  }
  return games;
}

TEST_F(Finder, GauntletListsTheOpponentsInRankedOrder) {
  ftrn(pgn(gauntlet()));
  const std::string rule = std::string(2 + 4 + 4, '=') + "\n";
  EXPECT_EQ(dir.read("trnfound.txt"),
            withHalves("Gauntlet tournament\nName : Gauntlet\nDate : 2024.02.01\nEvaluated player : Hero\nScore : 5/10\n"
                       "\nName    Sc\n" + rule + "Eve     00\nCid     0~\nBob     ~~\nDan     1~\nAnn     11\n" + rule +
                       "\n\n"));
}

TEST_F(Finder, GauntletPageHasTheEvaluatedPlayersTable) {
  ftrn(pgn(gauntlet()), "ftrn -fmt=html");
  const std::string page = dir.read("trnfound.html");
  for (const char* part : {"Evaluated player : Hero<br>Score : 5/10<br></p></font>\n",
                           "bordercolor=\"#111111\" width=\"190\" id=\"AutoNumber1\">  <tr>\n"
                           "    <td width=\"130\" bgcolor=\"#F5E8CF\" height=\"31\" style=\"padding-left: 4\"><b>Name</b></td>\n",
                           "height=\"23\" style=\"padding-left: 4\">Eve</td>\n"
                           "    <td width=\"30\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\">00</td>\n  </tr>\n",
                           "</table>\n<p>&nbsp;</p>\n</body>\n</html>\n"}) {
    EXPECT_NE(page.find(part), std::string::npos) << part << page;
  }
}

TEST_F(Finder, SwissEventShowsOnlyItsWinner) {
  // Ten players, four rounds of circle pairings (no pairing repeats); S05 wins every game,
  // all others are drawn.
  std::vector<GameTags> games;
  for (int r = 0; r < 4; ++r) {
    std::vector<std::pair<int, int>> pairs{{r % 9, 9}};
    for (int k = 1; k < 5; ++k) pairs.push_back({(r + k) % 9, (r + 9 - k) % 9});
    for (const auto& [a, b] : pairs) {
      const std::string white = "S" + std::string(a < 9 ? "0" : "") + std::to_string(a + 1);
      const std::string black = "S" + std::string(b < 9 ? "0" : "") + std::to_string(b + 1);
      const char* result = white == "S05" ? "1-0" : black == "S05" ? "0-1" : "1/2-1/2";
      games.push_back({white, black, result, "Open", r + 1});
    }
  }
  ftrn(pgn(games));
  EXPECT_EQ(dir.read("trnfound.txt"), "Swiss tournament>\nName : Open\nDate : 2024.01.01\nWinner : S05\n\n\n");
}

const std::string kPageHead =
    "<html>\n<head>\n<title>trnFound</title>\n</head>\n<body>\n"
    "<p style=\"margin-top: 0; margin-bottom: 40\"><b><font size=\"6\">Tournaments list</font></b></p>\n";
const std::string kPageTail = "<p style=\"margin-top: 25; margin-bottom: 25\">&nbsp;</p>\n</body>\n</html>\n";

TEST_F(Finder, AMatchIsListedInThePageButIsNoTournamentAndNoGamesLeaveTheFrame) {
  std::vector<GameTags> games;
  for (int i = 0; i < 10; ++i) games.push_back({i % 2 ? "B" : "A", i % 2 ? "A" : "B", "1/2-1/2", "Match", i + 1});
  ftrn(pgn(games), "ftrn -fmt=html");
  EXPECT_EQ(dir.read("trnfound.html"), kPageHead +
                                           "<p style=\"margin-top: 0; margin-bottom: 0\"><a href=\"#1\">1. Match "
                                           "(2024.01.01)</a></p>\n" +
                                           kPageTail);
  ftrn("no games here\n", "ftrn -fmt=html");
  EXPECT_EQ(dir.read("trnfound.html"), kPageHead + kPageTail);
  ftrn("no games here\n", "ftrn -fmt=text");
  EXPECT_EQ(dir.read("trnfound.txt"), "");
}

TEST_F(Finder, ARoundDropStartsANewTournament) {
  // Two round robins of three under one Event; the second starts again at round 1.
  const std::vector<GameTags> games = {
      {"A", "B", "1-0", "Cup", 1}, {"B", "C", "1-0", "Cup", 1}, {"C", "A", "1/2-1/2", "Cup", 2},
      {"A", "B", "1/2-1/2", "Cup", 1}, {"B", "C", "0-1", "Cup", 2}, {"C", "A", "1-0", "Cup", 3},
  };
  ftrn(pgn(games), "ftrn -fmt=html");
  const std::string page = dir.read("trnfound.html");
  EXPECT_NE(page.find("<a href=\"#1\">1. Cup (2024.01.01)</a></p>\n<p style=\"margin-top: 0; margin-bottom: 0\">"
                      "<a href=\"#2\">2. Cup (2024.01.01)</a>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<a name=\"1\"></a>Round Robin tournament"), std::string::npos);
  EXPECT_NE(page.find("<a name=\"2\"></a>Round Robin tournament"), std::string::npos);
  // First group: A 1.5, B 1, C 0.5. Second: C 2, A and B 0.5.
  EXPECT_NE(page.find("Winner : A<br>"), std::string::npos);
  EXPECT_NE(page.find("Winner : C<br>"), std::string::npos);
}

TEST_F(Finder, TheFormatChosenStaysForTheNextRunAndTheBareBaseNameIsKept) {
  const std::string games = pgn(gauntlet());
  ftrn(games, "ftrn -fmt=html");
  std::remove("trnfound.html");
  ftrn(games, "ftrn");
  EXPECT_TRUE(dir.exists("trnfound.html"));
  EXPECT_FALSE(dir.exists("trnfound.txt"));
  dir.write("season", "the user's notes\n");
  ftrn(games, "ftrn -fmt=txt -out=season");
  EXPECT_TRUE(dir.exists("season.txt"));
  EXPECT_EQ(dir.read("season"), "the user's notes\n");
  EXPECT_EQ(app->settings.prfFileFmt, 0);
}

TEST_F(Finder, ShortNamesAndAMissingPairingKeepTheTableInBounds) {
  // Zed and W never met; one game per pairing. X 2.5, W 1.5, Yy and Zed 0.5 with SB 0.25 each
  // (a draw with each other), so Yy stays first by appearance.
  const std::vector<GameTags> games = {
      {"X", "Yy", "1-0", "Mini", 1},      {"X", "Zed", "1-0", "Mini", 2}, {"X", "W", "1/2-1/2", "Mini", 3},
      {"Yy", "Zed", "1/2-1/2", "Mini", 4}, {"Yy", "W", "0-1", "Mini", 5},
  };
  ftrn(pgn(games));
  const std::string rule = std::string(2 * 4 + 3 + 14, '=') + "\n";
  EXPECT_EQ(dir.read("trnfound.txt"),
            withHalves("Round Robin tournament\nName : Mini\nDate : 2024.01.01\nWinner : X\n\nRk  Name   X W YyZe  Sc  \n" +
                       rule + "1.  X      X ~ 1 1   2.5   \n2.  W      ~ X 1    1.5   \n3.  Yy     0 0 X ~   0.5   0.25\n"
                       "4.  Zed    0  ~ X   0.5   0.25\n" + rule + "\n5 games : +2 =2 -1\n3 games per player\n\n\n"));
}

TEST_F(Finder, NamesAndEventsCannotBreakThePage) {
  ftrn(pgn({{"<b>", "R&D", "1-0", "A&B <Cup>", 1}, {"R&D", "Q", "1-0", "A&B <Cup>", 2},
            {"Q", "<b>", "1-0", "A&B <Cup>", 3}}),
       "ftrn -fmt=html");
  const std::string page = dir.read("trnfound.html");
  for (const char* part : {"1. A&amp;B &lt;Cup&gt; (2024.01.01)", ">&lt;b&gt;</td>", ">R&amp;D</td>"}) {
    EXPECT_NE(page.find(part), std::string::npos) << part << page;
  }
  EXPECT_EQ(page.find(">R&D<"), std::string::npos);
}

TEST_F(Finder, DataFromAnotherFileIsNotUsed) {
  dir.write("games.pgn", pgn(gauntlet()));
  dir.write("other.pgn", pgn(fourPlayerCup()));
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  ASSERT_TRUE(fillRepository(*app));
  ASSERT_TRUE(app->pgn.open("other.pgn"));
  app->console.takeCaptured();
  EXPECT_FALSE(findTournaments(*app, ""));
  EXPECT_EQ(app->console.takeCaptured(), "> data not collected\n");
  EXPECT_FALSE(dir.exists("trnfound.txt"));
}

TEST_F(Finder, AnUnfinishedGameMeansNoDataCollected) {
  const std::string printed = ftrn(pgn({{"A", "B", "1-0"}, {"A", "B", "*"}}));
  EXPECT_NE(printed.find("> Game without result. Probing aborted\n> data not collected\n"), std::string::npos)
      << printed;
}

TEST_F(Finder, TheOpenFileIsNeverTheOutput) {
  // The command adds the extension, so only the finder itself can be given the input's name.
  ftrn(pgn(gauntlet()), "ftrn -out=games.pgn");
  EXPECT_TRUE(dir.exists("games.pgn.txt"));
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  ASSERT_TRUE(fillRepository(*app));
  app->console.takeCaptured();
  EXPECT_FALSE(findTournaments(*app, "games.pgn"));
  EXPECT_NE(app->console.takeCaptured().find("> can't create trnfound file\n"), std::string::npos);
  EXPECT_NE(dir.read("games.pgn").find("[White \"Hero\"]"), std::string::npos);
}

}  // namespace
}  // namespace kestrova
