// select, delete, instxt, reptxt, setcap and setcmt; the games are in the writer's form, so the
// expected output is the input games themselves, chosen or edited by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pgn/tag_table.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

const std::vector<std::string> kGames = {
    "[Event \"Blitz Cup\"]\n[Date \"2009.05.01\"]\n[Round \"4.1\"]\n[White \"stockfish 5 64\"]\n"
    "[Black \"Komodo\"]\n[Result \"1-0\"]\n[WhiteElo \"2850\"]\n[BlackElo \"2700\"]\n\n1.e4 e5 2.Nf3 Nc6 1-0\n\n",
    "[Event \"Rapid\"]\n[Date \"2011.02.03\"]\n[Round \"5\"]\n[White \"Houdini\"]\n[Black \"Stockfish\"]\n"
    "[Result \"0-1\"]\n[WhiteElo \"2790\"]\n[BlackElo \"2810\"]\n\n1.d4 d5 0-1\n\n",
    "[Event \"blitz open\"]\n[Date \"????.??.??\"]\n[Round \"12\"]\n[White \"Fritz\"]\n[Black \"Rybka\"]\n"
    "[Result \"1/2-1/2\"]\n[WhiteElo \"2600\"]\n[BlackElo \"2650\"]\n\n1.c4 c5 1/2-1/2\n\n",
    "[Event \"Classical\"]\n[Date \"2010.01.01\"]\n[Round \"1\"]\n[White \"Critter\"]\n[Black \"Gull\"]\n"
    "[Result \"1-0\"]\n\n1.Nf3 Nf6 1-0\n\n",
    "[Event \"BLITZ\"]\n[Date \"2012.07.07\"]\n[Round \"3\"]\n[White \"Deep Blue\"]\n[Black \"Kasparov\"]\n"
    "[Result \"0-1\"]\n[WhiteElo \"2801\"]\n[BlackElo \"2805\"]\n\n1.e4 c5 0-1\n\n",
};

std::string games(std::initializer_list<int> numbers) {
  std::string text;
  for (int n : numbers) text += kGames[n - 1];
  return text;
}

class SelectionCommands : public ::testing::Test {
 protected:
  SelectionCommands() {
    for (int i = 0; i < TagTable::kEntries; ++i) app->game.tags.setOutputEnabled(i, true);
    app->settings.printCmt = 0;
  }
  void open(const std::string& text) {
    dir.write("games.pgn", text);
    ASSERT_TRUE(app->pgn.open("games.pgn"));
  }
  std::string output(const std::string& name = "pgn-out.pgn") { return dir.read(name); }

  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

TEST_F(SelectionCommands, SelectWritesTheGamesTheCriteriaSelect) {
  open(games({1, 2, 3, 4, 5}));
  struct Case {
    const char* line;
    std::string expected;
  } cases[] = {
      {"select WhiteElo>2800 or BlackElo>2800", games({1, 2, 5})},
      {"select WhiteElo>2800 and BlackElo>2800", games({5})},
      {"select Event=blitz", games({1, 3, 5})},
      {"select Round<5", games({1, 4, 5})},
      {"select Date<2010.01.01", games({1, 3})},
      {"select Result=1-0", games({1, 4})},
      {"select date>2010.01.01 AND event=BLITZ", games({5})},
  };
  for (const Case& c : cases) {
    const std::string printed = test::run(*app, c.line);
    EXPECT_EQ(output(), c.expected) << c.line;
    EXPECT_EQ(printed, "\n> processing...\nsee pgn-out.pgn file\n") << c.line;
  }
}

TEST_F(SelectionCommands, DeleteWritesTheComplementAndThenThePendingText) {
  open(games({1, 2, 3, 4, 5}));
  app->pgn.saveBuffer() = "; pending text\n";
  const std::string printed = test::run(*app, "delete WhiteElo>2800 or BlackElo>2800 -out=rest.pgn");
  EXPECT_EQ(output("rest.pgn"), games({3, 4}) + "; pending text\n");
  EXPECT_EQ(app->pgn.saveBuffer(), "");
  EXPECT_EQ(printed, "\n> processing...\nsee rest.pgn file\n");

  // ">=" makes a text value: against numbers (an empty value too) it selects nothing and says so.
  EXPECT_EQ(count(test::run(*app, "select WhiteElo>=2800"), "> bad data format specified in selection's criteria\n"), 5);
  EXPECT_EQ(output(), "");
  test::run(*app, "delete WhiteElo>=2800");
  EXPECT_EQ(output(), games({1, 2, 3, 4, 5})) << "games of the wrong class are not selected, so kept";
  test::run(*app, "select Round<5 -out=a.pgn");
  test::run(*app, "delete Round<5 -out=b.pgn");
  EXPECT_EQ(output("a.pgn") + output("b.pgn"), games({1, 4, 5}) + games({2, 3}));
}

TEST_F(SelectionCommands, InvalidCriteriaLeaveTheOutputEmpty) {
  open(games({1, 2}));
  const char* lines[] = {"select WhiteElo>1 BlackElo>2", "select WhiteElo>1 or", "delete and", "select Foo>3"};
  for (const char* line : lines) {
    dir.write("pgn-out.pgn", "old");
    const std::string printed = test::run(*app, line);
    EXPECT_EQ(output(), "") << line;
    EXPECT_FALSE(has(printed, "see ")) << line;
  }
  EXPECT_TRUE(has(test::run(*app, "select Foo>3"), "> unknown tag\n"));
  std::filesystem::remove(dir.path() / "pgn-out.pgn");
  for (const char* line : {"instxt Foo=x", "reptxt Foo=x", "setcap Foo=up"}) {
    EXPECT_EQ(test::run(*app, line), "> unknown tag\n") << line;
  }
  EXPECT_FALSE(dir.exists("pgn-out.pgn"));
}

TEST_F(SelectionCommands, RefusesTheOpenFileAsOutputAndNeedsAnOpenFile) {
  open(games({1, 2}));
  const std::string printed = test::run(*app, "select Round<9 -out=games.pgn");
  EXPECT_TRUE(has(printed, "\n> \"games.pgn\" is read by this command: it can't be its output file\n"));
  EXPECT_EQ(output("games.pgn"), games({1, 2}));

  auto fresh = test::makeApp();
  for (const char* line : {"select Round<9", "delete Round<9", "instxt Event=x", "reptxt Event=x",
                           "setcap Event=up", "setcmt none"}) {
    EXPECT_EQ(test::run(*fresh, line), "\n> no PGN-file in memory. Please load a pgn file\n") << line;
  }
  EXPECT_FALSE(dir.exists("pgn-out.pgn"));
}

TEST_F(SelectionCommands, AGameTooLargeForTheBufferIsLeftOutNotWrittenWithoutMoves) {
  app->pgn.create(app->console, 60, 200, 60);
  const std::string large =
      "[Event \"Long\"]\n[Result \"1-0\"]\n\n1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 d6 1-0\n\n";
  open(games({1}) + large + games({2}));
  const std::string printed = test::run(*app, "select Round<99");  // the long game has no Round: the number 0
  EXPECT_EQ(output(), games({1, 2}));
  EXPECT_TRUE(has(printed, "> 2: game left out of the output: its moves could not be read\n"));
}

TEST_F(SelectionCommands, ProgressEveryFiveHundredTwelveGames) {
  std::string many;
  for (int i = 0; i < 600; ++i) many += "[Event \"E\"]\n[Round \"" + std::to_string(i + 1) + "\"]\n\n1.e4 *\n\n";
  open(many);
  const std::string printed = test::run(*app, "select Round>599");
  EXPECT_EQ(count(printed, "> scanning game "), 1);
  EXPECT_TRUE(has(printed, "> scanning game 512\r"));
  EXPECT_EQ(output(), "[Event \"E\"]\n[Round \"600\"]\n\n1.e4 \n\n");
}

TEST_F(SelectionCommands, InstxtInsertsAtAPositionUpToThirtyCharacters) {
  const std::string v28(28, 'a'), v29(29, 'b');
  open("[Event \"" + v28 + "\"]\n\n1.e4 *\n\n[Event \"" + v29 + "\"]\n\n1.d4 *\n\n" +
       "[Event \"Match\"]\n\n1.c4 *\n\n[Site \"x\"]\n\n1.f4 *\n\n");
  std::string printed = test::run(*app, "instxt Event=XY -at=0");
  EXPECT_EQ(output(), "[Event \"XY" + v28 + "\"]\n\n1.e4 \n\n[Event \"" + v29 + "\"]\n\n1.d4 \n\n" +
                          "[Event \"XYMatch\"]\n\n1.c4 \n\n[Site \"x\"]\n\n1.f4 \n\n");
  EXPECT_EQ(count(printed, "> string out of range\n"), 2) << "the 29-character value and the empty one";
  EXPECT_EQ(printed.substr(0, 16), "> processing...\n");
  EXPECT_TRUE(has(printed, "see pgn-out.pgn file\n"));

  test::run(*app, "instxt -out=one.pgn Event=XY");
  EXPECT_TRUE(has(output("one.pgn"), "[Event \"MXYatch\"]\n")) << "the default position is 1";
  test::run(*app, "instxt Event=XY -at=5 -out=end.pgn");
  EXPECT_TRUE(has(output("end.pgn"), "[Event \"Match\"]\n")) << "nothing is appended after the last character";
}

TEST_F(SelectionCommands, ReptxtReplacesTheValueAndCutsAnOverlongText) {
  open(games({4}) + "[Event \"Other\"]\n\n1.e4 *\n\n");
  test::run(*app, "reptxt Site=\"Engine room\"");
  EXPECT_EQ(output(), "[Event \"Classical\"]\n[Site \"Engine room\"]\n[Date \"2010.01.01\"]\n[Round \"1\"]\n"
                      "[White \"Critter\"]\n[Black \"Gull\"]\n[Result \"1-0\"]\n\n1.Nf3 Nf6 1-0\n\n"
                      "[Event \"Other\"]\n[Site \"Engine room\"]\n\n1.e4 \n\n");
  const std::string text = std::string(60, 'x') + "0123456789abcdef";  // 76 characters
  const std::string printed = test::run(*app, "reptxt Event=" + text);
  const std::string kept = text.substr(0, 69);
  EXPECT_TRUE(has(printed, "> the text is cut to the 69 characters a tag value holds: \"" + kept + "\"\n"));
  EXPECT_EQ(count(output(), "[Event \"" + kept + "\"]\n"), 2);
}

TEST_F(SelectionCommands, SetcapChangesTheWholeValueOrTheInitials) {
  open(games({1, 5}));
  struct Case {
    const char* line;
    const char* first;
    const char* second;
  } cases[] = {
      {"setcap White=up -f", "Stockfish 5 64", "Deep Blue"},
      {"setcap White=up", "STOCKFISH 5 64", "DEEP BLUE"},
      {"setcap White=down", "stockfish 5 64", "deep blue"},
      {"setcap -f White=down", "stockfish 5 64", "deep blue"},
  };
  for (const Case& c : cases) {
    test::run(*app, c.line);
    const std::string out = output();
    EXPECT_TRUE(has(out, std::string("[White \"") + c.first + "\"]\n")) << c.line << "\n" << out;
    EXPECT_TRUE(has(out, std::string("[White \"") + c.second + "\"]\n")) << c.line << "\n" << out;
    EXPECT_TRUE(has(out, "[Black \"Komodo\"]\n")) << "other tags stay";
  }
  EXPECT_FALSE(has(test::run(*app, "setcap White=sideways -out=no.pgn"), "see "));
  EXPECT_FALSE(dir.exists("no.pgn"));
}

TEST_F(SelectionCommands, SetcmtSetsTheCommentModeForLaterOutput) {
  open("[Event \"E\"]\n\n1.e4 {+0.35/12 5s} e5 {book} 1-0\n\n");
  std::string printed = test::run(*app, "setcmt partial");
  EXPECT_EQ(app->settings.printCmt, 2);
  EXPECT_EQ(output(), "[Event \"E\"]\n\n1.e4 {+0.35/12 5s} e5 \n\n");
  EXPECT_EQ(printed, "\n> processing...\n> process time : 0s\nsee pgn-out.pgn file\n");

  test::run(*app, "setcmt full -out=full.pgn");
  EXPECT_EQ(app->settings.printCmt, 1);
  EXPECT_EQ(output("full.pgn"), "[Event \"E\"]\n\n1.e4 {+0.35/12 5s} e5 {book} \n\n");
  test::run(*app, "setcmt none");
  EXPECT_EQ(output(), "[Event \"E\"]\n\n1.e4 e5 \n\n");
  test::run(*app, "select Event=e");
  EXPECT_EQ(output(), "[Event \"E\"]\n\n1.e4 e5 \n\n") << "the mode holds for the other commands";
}

TEST_F(SelectionCommands, TagListsTheNamesAfterEvent) {
  EXPECT_EQ(test::run(*app, "tag"),
            "\nSite\nDate\nRound\nWhite\nBlack\nResult\nECO\nOpening\nTime\nVariation\nTimeControl\n"
            "Termination\nPlycount\nWhiteType\nBlackType\nWhiteElo\nBlackElo\nEventDate\nEventType\nSource\n"
            "SourceDate\nAnnotator\nWhiteTitle\nBlackTitle\nWhiteNA\nBlackNA\nEventSponsor\nSection\nStage\n"
            "Board\nSubVariation\nNIC\nUTCTime\nUTCDate\nSetUp\nFEN\nMode\n");
}

}  // namespace
}  // namespace kestrova
