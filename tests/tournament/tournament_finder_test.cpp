// The finder on small files whose cross-tables, scores and tie-breaks are worked out by hand.
#include "tournament/tournament_finder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "rating/game_text.hpp"
#include "rating/rating_repository.hpp"
#include "support/test_app.hpp"
#include "support/text.hpp"

namespace kestrova {
namespace {

using test::GameTags;
using test::has;

// Expected texts write the one-half, U+00BD in UTF-8, as "~".
std::string withHalves(std::string text) {
  for (std::size_t at = text.find('~'); at != std::string::npos; at = text.find('~', at)) text.replace(at, 1, "\xC2\xBD");
  return text;
}

class Finder : public ::testing::Test {
 protected:
  std::string ftrn(const std::vector<GameTags>& games, const std::string& command = "ftrn") {
    std::string pgn;
    for (const GameTags& game : games) pgn += test::gameText(game);
    dir.write("games.pgn", pgn);
    EXPECT_TRUE(app->pgn.open("games.pgn"));
    return test::run(*app, command);
  }

  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

// Four players, every pairing twice. Alpha 4 points; Charlie and Bravo 3 each, Charlie drew
// everybody (SB 2 + 4 + 3 = 9.00), Bravo beat Delta once (SB 2 + 2 + 1 + 3 = 8.00); Delta 2.
const std::vector<GameTags> kCup = {
    {"Alpha", "Bravo", "1-0", "Cup", 1},       {"Charlie", "Delta", "1/2-1/2", "Cup", 1},
    {"Alpha", "Charlie", "1/2-1/2", "Cup", 2}, {"Bravo", "Delta", "1-0", "Cup", 2},
    {"Alpha", "Delta", "1-0", "Cup", 3},       {"Bravo", "Charlie", "1/2-1/2", "Cup", 3},
    {"Bravo", "Alpha", "1/2-1/2", "Cup", 4},   {"Delta", "Charlie", "1/2-1/2", "Cup", 4},
    {"Charlie", "Alpha", "1/2-1/2", "Cup", 5}, {"Delta", "Bravo", "1/2-1/2", "Cup", 5},
    {"Delta", "Alpha", "1/2-1/2", "Cup", 6},   {"Charlie", "Bravo", "1/2-1/2", "Cup", 6},
};

TEST_F(Finder, RoundRobinCrossTableAsTextAndAsPage) {
  EXPECT_TRUE(has(ftrn(kCup), "> see trnfound.txt\n"));
  const std::string rule = std::string(3 * 4 + 7 + 14, '=') + "\n";
  EXPECT_EQ(dir.read("trnfound.txt"),
            withHalves("Round Robin tournament\nName : Cup\nDate : 2024.01.01\nWinner : Alpha\n"
                       "\nRk  Name       Al Ch Br De   Sc  \n" + rule + "1.  Alpha      XX ~~ 1~ 1~   4     \n"
                       "2.  Charlie    ~~ XX ~~ ~~   3     9.00\n3.  Bravo      0~ ~~ XX 1~   3     8.00\n"
                       "4.  Delta      0~ ~~ 0~ XX   2     \n" + rule + "\n12 games : +3 =9 -0\n6 games per player\n\n\n"));
  ftrn(kCup, "ftrn -fmt=html");
  const std::string page = dir.read("trnfound.html"), cell = "    <td width=\"34\" align=\"center\" bgcolor=\"#";
  // Cells 10 x 2 + 14 = 34 wide; the table 4 x 34 + 270.
  for (const std::string& part : std::vector<std::string>{
           "<a href=\"#1\">1. Cup (2024.01.01)</a></p>\n", "bordercolor=\"#111111\" width=\"406\">",
           withHalves("Bravo</td>\n" + cell + "FFFFF0\" height=\"23\">0~</td>\n" + cell + "FFFFF0\" height=\"23\">~~</td>\n" +
                      cell + "F5E8CF\" height=\"23\"></td>\n" + cell + "FFFFF0\" height=\"23\">1~</td>\n"),
           "<b>3</b></td>\n    <td width=\"30\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\"><font size=\"1\">8.00</font>",
           "</table>\n<p style=\"margin-top: 12\">12 games : +3 =9 -0<br>6 games per player<br>&nbsp;</p>\n"}) {
    EXPECT_TRUE(has(page, part)) << part << page;
  }
}

TEST_F(Finder, AGauntletListsTheOpponentsOfItsPlayerInRankedOrder) {
  // Hero against five opponents, White then Black; the opponents end Eve 2, Cid 1.5, Bob 1, Dan 0.5, Ann 0.
  const char* const pairings[][3] = {{"Ann", "1-0", "0-1"}, {"Bob", "1/2-1/2", "1/2-1/2"}, {"Cid", "0-1", "1/2-1/2"},
                                     {"Dan", "1-0", "1/2-1/2"}, {"Eve", "0-1", "1-0"}};
  std::vector<GameTags> games;
  for (const auto& [opponent, first, second] : pairings) {
    games.push_back({"Hero", opponent, first, "Gauntlet", static_cast<int>(games.size()) + 1, "2024.03.09", "2024.02.01"});
    games.push_back({opponent, "Hero", second, "Gauntlet", static_cast<int>(games.size()) + 1, "2024.03.09", "2024.02.01"});
  }
  ftrn(games);
  EXPECT_EQ(dir.read("trnfound.txt"),
            withHalves("Gauntlet tournament\nName : Gauntlet\nDate : 2024.02.01\nEvaluated player : Hero\nScore : 5/10\n"
                       "\nName    Sc\n==========\nEve     00\nCid     0~\nBob     ~~\nDan     1~\nAnn     11\n==========\n\n\n"));
  ftrn(games, "ftrn -fmt=html");
  for (const char* part : {"Evaluated player : Hero<br>Score : 5/10<br></font></p>\n", "width=\"190\">",
                           "Eve</td>\n    <td width=\"30\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\">00</td>\n"}) {
    EXPECT_TRUE(has(dir.read("trnfound.html"), part)) << part;
  }
}

TEST_F(Finder, TheTypeFollowsHowManyDifferentOpponentsThePlayersMet) {
  for (int distance : {2, 3}) {
    // Each player meets the players `distance` places or fewer away; S5 wins with White, all else is drawn.
    std::vector<GameTags> games;
    for (int d = 1; d <= distance; ++d) {
      for (int i = 0; i < 10; ++i) {
        games.push_back({"S" + std::to_string(i), "S" + std::to_string((i + d) % 10), i == 5 ? "1-0" : "1/2-1/2", "Open", d});
      }
    }
    ftrn(games, "ftrn -fmt=text");
    // Ten players: Swiss with 4 different opponents each, below 6 x 10 / 10; a round robin from 6.
    if (distance == 2) EXPECT_TRUE(dir.read("trnfound.txt").starts_with("Swiss tournament>\nName : Open\nDate : 2024.01.01\nWinner : S5\n\nRk"));
    else EXPECT_TRUE(dir.read("trnfound.txt").starts_with("Round Robin tournament\n"));
  }
}

TEST_F(Finder, ARoundDropStartsANewTournamentAndMarkupInNamesStaysText) {
  // One Event, two round robins of three (the rounds drop): <b> wins the first with 1.5, Q the second with 2.
  ftrn({{"<b>", "R&D", "1-0", "A&B <Cup>", 1}, {"R&D", "Q", "1-0", "A&B <Cup>", 1}, {"Q", "<b>", "1/2-1/2", "A&B <Cup>", 2},
        {"<b>", "R&D", "1/2-1/2", "A&B <Cup>", 1}, {"R&D", "Q", "0-1", "A&B <Cup>", 2}, {"Q", "<b>", "1-0", "A&B <Cup>", 3}},
       "ftrn -fmt=html");
  const std::string page = dir.read("trnfound.html");
  for (const char* part : {"<a href=\"#2\">2. A&amp;B &lt;Cup&gt; (2024.01.01)</a>",
                           "<a id=\"1\"></a>Round Robin tournament</b></font><br>\n<font size =\"4\">Name : A&amp;B "
                           "&lt;Cup&gt;<br>Date : 2024.01.01<br>Winner : &lt;b&gt;<br></font></p>\n",
                           "<a id=\"2\"></a>Round Robin tournament", "Winner : Q<br>", ">R&amp;D</td>"}) {
    EXPECT_TRUE(has(page, part)) << part << page;
  }
}

TEST_F(Finder, AMissingPairingLeavesACellShortAndEqualTieBreaksKeepTheOrderOfAppearance) {
  // Zed and W never met. X 2.5, W 1.5, Yy and Zed 0.5 with SB 0.25 each (their draw).
  ftrn({{"X", "Yy", "1-0", "Mini", 1}, {"X", "Zed", "1-0", "Mini", 2}, {"X", "W", "1/2-1/2", "Mini", 3},
        {"Yy", "Zed", "1/2-1/2", "Mini", 4}, {"Yy", "W", "0-1", "Mini", 5}});
  const std::string rule = std::string(2 * 4 + 3 + 14, '=') + "\n";
  EXPECT_EQ(dir.read("trnfound.txt"),
            withHalves("Round Robin tournament\nName : Mini\nDate : 2024.01.01\nWinner : X\n\nRk  Name   X W YyZe  Sc  \n" +
                       rule + "1.  X      X ~ 1 1   2.5   \n2.  W      ~ X 1    1.5   \n3.  Yy     0 0 X ~   0.5   0.25\n"
                       "4.  Zed    0  ~ X   0.5   0.25\n" + rule + "\n5 games : +2 =2 -1\n3 games per player\n\n\n"));
}

// 12 wins, 30 draws, 8 losses for A: 54 %, 27.9 +/- 61.5 Elo, LOS 81.4 %, as python3 computes them afresh
// (logistic Elo, normal 97.5 % quantile over the trinomial deviation, erf of the decisive games).
TEST_F(Finder, AMatchGetsTheFiguresOfEngineTesters) {
  std::vector<GameTags> games;
  for (int i = 0; i < 50; ++i) {
    const std::string forA = i < 12 ? "1-0" : i < 42 ? "1/2-1/2" : "0-1", forB = i < 12 ? "0-1" : i < 42 ? forA : "1-0";
    games.push_back({i % 2 ? "B" : "A", i % 2 ? "A" : "B", i % 2 ? forB : forA, "Match", i + 1});
  }
  ftrn(games);
  EXPECT_EQ(dir.read("trnfound.txt"), "Match\nName : Match\nDate : 2024.01.01\n\nA vs B : 50 games, +12 =30 -8, score 54.0 %\n"
                                      "Elo difference: 27.9 +/- 61.5, LOS: 81.4 %, DrawRatio: 60.0 %\n\n\n");
  ftrn(games, "ftrn -fmt=html");
  EXPECT_TRUE(has(dir.read("trnfound.html"), "<a id=\"1\"></a>Match</b>")) << "the index links to it";
  // Alpha's 1 and ~ against Bravo: 75 % whose 95 % interval passes 100 %; LOS 50 + erf(1 / sqrt 2) / 2.
  ftrn(kCup, "ftrn -fmt=text -pairs");
  EXPECT_TRUE(has(dir.read("trnfound.txt"), "6 games per player\n\n\nAlpha vs Charlie : 2 games, +0 =2 -0, score 50.0 %\n"
                                            "Elo difference: 0.0 +/- 0.0, LOS: 50.0 %, DrawRatio: 100.0 %\nAlpha vs Bravo : 2 "
                                            "games, +1 =1 -0, score 75.0 %\nElo difference: 190.8 +/- inf, LOS: 84.1 %, "
                                            "DrawRatio: 50.0 %\n")) << dir.read("trnfound.txt");
}

// Columns count characters: "Mü" heads a column and "Müller" (7 bytes) is padded like a 6-letter name.
TEST_F(Finder, AUtf8NameKeepsTheColumnsInLine) {
  ftrn({{"Müller", "Bo", "1-0", "U", 1}, {"Bo", "Al", "1/2-1/2", "U", 2}, {"Al", "Müller", "0-1", "U", 3}});
  const std::string rule = std::string(2 * 3 + 6 + 14, '=') + "\n";
  EXPECT_EQ(dir.read("trnfound.txt"),
            withHalves("Round Robin tournament\nName : U\nDate : 2024.01.01\nWinner : Müller\n\nRk  Name      MüBoAl  Sc  \n" +
                       rule + "1.  Müller    X 1 1   2     \n2.  Bo        0 X ~   0.5   0.25\n3.  Al        0 ~ X   0.5   0.25\n" +
                       rule + "\n3 games : +1 =1 -1\n2 games per player\n\n\n"));
}

TEST_F(Finder, TheFormatStaysForTheNextRunAndTheFinderUsesOnlyDataOfTheOpenFile) {
  ftrn(kCup, "ftrn -fmt=html");
  dir.write("season", "the user's notes\n");
  ftrn(kCup, "ftrn -out=season");
  EXPECT_TRUE(dir.exists("season.html"));
  EXPECT_EQ(dir.read("season"), "the user's notes\n") << "the bare base name is the user's";
  ftrn({});
  EXPECT_EQ(dir.read("trnfound.html"), "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                                       "<title>trnFound</title>\n</head>\n<body>\n<p style=\"margin-top: 0; "
                                       "margin-bottom: 40\"><b><font size=\"6\">Tournaments list</font></b></p>\n<p style="
                                       "\"margin-top: 25; margin-bottom: 25\">&nbsp;</p>\n</body>\n</html>\n");
  fillRepository(app->ratings, app->loopParts(), app->timers);
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  EXPECT_FALSE(findTournaments(app->ratings, app->tournaments, app->pgn, app->console, false, "x.txt"));
  EXPECT_TRUE(has(app->console.takeCaptured(), "> data not collected\n")) << "the repository holds an earlier opening";
  const std::string withUnfinished = ftrn({{"A", "B", "1-0"}, {"A", "B", "*"}});
  EXPECT_TRUE(has(withUnfinished, "> 1 unfinished games left out\n") && !has(withUnfinished, "data not collected"));
}


// Eight players, three rounds, written as they ended. By hand: D 3; B 2.5; E 2; A and H 1.5, A first on Buchholz
// (E 2 + B 2.5 + D 3 = 7.5 against D 3 + F 0.5 + G 0.5 = 4); F and C 0.5 with Buchholz 6 each, F first on
// Sonneborn-Berger (draw with H 1.5 / 2 = 0.75 against the draw with G 0.25); G 0.5.
TEST_F(Finder, ASwissListsRankScoreBuchholzSonnebornBergerAndEachRoundsOpponentColourAndResult) {
  const std::vector<GameTags> open = {
      {"A", "E", "1-0", "Open", 1},     {"F", "B", "0-1", "Open", 1}, {"B", "A", "1/2-1/2", "Open", 2},
      {"C", "G", "1/2-1/2", "Open", 1}, {"H", "D", "0-1", "Open", 1}, {"D", "C", "1-0", "Open", 2},
      {"A", "D", "0-1", "Open", 3},     {"G", "E", "0-1", "Open", 2}, {"F", "H", "1/2-1/2", "Open", 2},
      {"C", "B", "0-1", "Open", 3},     {"E", "F", "1-0", "Open", 3}, {"H", "G", "1-0", "Open", 3}};
  ftrn(open);
  const std::string rule = std::string(1 + 29 + 3 * 4, '=') + "\n";
  EXPECT_EQ(dir.read("trnfound.txt"),
            withHalves("Swiss tournament>\nName : Open\nDate : 2024.01.01\nWinner : D\n\nRk  Name Sc    Bh     SB      "
                       "1   2   3   \n" + rule + "1.  D    3     3.5    3.50    5b1 7w1 4b1 \n2.  B    2.5   2.5    1.75    "
                       "6b1 4w~ 7b1 \n3.  E    2     2.5    1.00    4b0 8b1 6w1 \n4.  A    1.5   7.5    3.25    3w1 2b~ 1w0 \n"
                       "5.  H    1.5   4      0.75    1w0 6b~ 8w1 \n6.  F    0.5   6      0.75    2w0 5w~ 3b0 \n"
                       "7.  C    0.5   6      0.25    8w~ 1b0 2w0 \n8.  G    0.5   4      0.25    7b~ 3w0 5b0 \n" + rule +
                       "\n12 games : +4 =3 -5\n\n\n"));
  ftrn(open, "ftrn -fmt=html");
  const std::string cell = "</td>\n    <td width=\"40\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\">";
  EXPECT_TRUE(has(dir.read("trnfound.html"), withHalves(">A</td>\n    <td width=\"30\" align=\"center\" bgcolor=\"#FFFFF0\" "
                                                        "height=\"23\"><b>1.5</b>" + cell + "7.5" + cell + "3.25" + cell +
                                                        "3w1" + cell + "2b~" + cell + "1w0</td>\n  </tr>\n")))
      << dir.read("trnfound.html");
}

// Games of one run, of the samples, written in blocks of four in reverse: the order of four games played at once.
std::string completionOrder(const std::string& text) {
  std::vector<std::string> games;
  for (std::size_t start = 0, next; start < text.size(); start = next) {
    next = std::min(text.find("\n[Event ", start + 1), text.size());
    games.push_back(text.substr(start, next - start) + "\n");
  }
  for (std::size_t i = 0; i < games.size(); i += 4) {
    std::reverse(games.begin() + i, games.begin() + std::min(i + 4, games.size()));
  }
  std::string shuffled;
  for (const std::string& game : games) shuffled += game;
  return shuffled;
}

TEST_F(Finder, GamesWrittenAsTheyEndedMakeTheSameTournamentsAsInRoundOrder) {
  std::string inOrder, asEnded;
  for (const char* name : {"a_roundrobin", "b_gauntlet", "c_swiss", "d_match"}) {
    const std::string text = test::sourceFile(std::string("tests/data/samples/") + name + ".pgn");
    inOrder += text + "\n";
    asEnded += completionOrder(text) + "\n";
  }
  // A pairing's results, and players tied on every tie-break, may come in another order.
  auto ftrnLines = [&](const std::string& pgn) {
    dir.write("games.pgn", pgn);
    EXPECT_TRUE(app->pgn.open("games.pgn"));
    test::run(*app, "ftrn");
    std::istringstream output(dir.read("trnfound.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(output, line);) lines.push_back((std::ranges::sort(line), line));
    return std::ranges::sort(lines), lines;
  };
  EXPECT_EQ(ftrnLines(asEnded), ftrnLines(inOrder));
  // Winners, the evaluated player and the titles as counted from the games by a separate script.
  const std::string found = dir.read("trnfound.txt");
  for (const char* part : {"Round Robin tournament\nName : Debian Engines Round Robin 2026\nDate : 2026.12.06\n"
                           "Winner : Stockfish 15.1\n",
                           "Gauntlet tournament\nName : Ethereal Gauntlet\nDate : 2026.12.06\n"
                           "Evaluated player : Ethereal 12.00\nScore : 5/10\n",
                           "Swiss tournament>\nName : Winter Swiss 2026\nDate : 2026.12.06\n"
                           "Winner : Stockfish 15.1 Elo2600\n"}) {
    EXPECT_EQ(test::count(found, part), 1) << part << found;
  }
  EXPECT_EQ(test::count(found, "tournament"), 3) << "the match is no tournament";
}

TEST_F(Finder, EventsStaySeparateAndARunAgainFromRoundOneIsANewTournament) {
  // Three players, one round each pairing, written as they ended; then the same schedule again, and another event.
  const std::vector<GameTags> run = {{"P", "Q", "1-0", "Cup", 2}, {"Q", "R", "1-0", "Cup", 1}, {"R", "P", "1-0", "Cup", 3},
                                     {"P", "R", "1/2-1/2", "Cup", 1}};
  std::vector<GameTags> games = run;
  games.insert(games.end(), run.begin(), run.end());
  for (GameTags game : run) games.push_back((game.event = "Other", game));
  for (const char* roundSuffix : {"", ".1"}) {
    std::string pgn;
    for (const GameTags& game : games) {
      const std::string tag = "[Round \"" + std::to_string(game.round);
      std::string text = test::gameText(game);
      pgn += text.replace(text.find(tag), tag.size(), tag + roundSuffix);
    }
    dir.write("games.pgn", pgn);
    ASSERT_TRUE(app->pgn.open("games.pgn"));
    test::run(*app, "ftrn");
    const std::string found = dir.read("trnfound.txt");
    EXPECT_EQ(test::count(found, "Round Robin tournament\nName : Cup\n"), 2) << roundSuffix << found;
    EXPECT_EQ(test::count(found, "Round Robin tournament\nName : Other\n"), 1) << roundSuffix << found;
  }
}

}  // namespace
}  // namespace kestrova
