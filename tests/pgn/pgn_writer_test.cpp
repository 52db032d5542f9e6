#include "pgn/pgn_writer.hpp"

#include <gtest/gtest.h>

#include "pgn/pgn_commands.hpp"
#include "pgn/replay.hpp"
#include "pgn/tag_table.hpp"
#include "platform/output_file.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

class Writing : public ::testing::Test {
 protected:
  void load(const std::string& pgnText, int printCmt = 1) {
    dir.write("g.pgn", pgnText);
    ASSERT_TRUE(app->pgn.open("g.pgn"));
    ASSERT_EQ(app->pgn.readNextGame(app->console), PgnFile::kGame);
    app->settings.printCmt = printCmt;
    startGame(*app, true);
  }
  std::string written(int printCmt) {
    {
      platform::OutputFile out;
      EXPECT_TRUE(out.create("out.pgn"));
      writePgn(app->game, app->pgn, out, printCmt);
    }
    return dir.read("out.pgn");
  }
  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

const std::string kGame =
    "[Event \"Match\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n[Opening \"\"]\n\n"
    "1. e4 {+0.35/12 5s} e5 {-1.20/15 12} 2. Nf3 {book} Nc6 1-0\n\n";

TEST_F(Writing, EnabledNonEmptyTagsInTableOrderAndTheCommentsOfPrintCmt) {
  const struct {
    int printCmt;
    std::vector<int> enabled;
    const char* expected;
  } cases[] = {
      {0, {kTagResult, kTagWhite, kTagOpening}, "[White \"A\"]\n[Result \"1-0\"]\n\n1.e4 e5 2.Nf3 Nc6 1-0\n\n"},
      {0, {}, "\n1.e4 e5 2.Nf3 Nc6 1-0\n\n"},
      {1, {}, "\n1.e4 {+0.35/12 5s} e5 {-1.20/15 12} 2.Nf3 {book} Nc6 1-0\n\n"},
      {2, {}, "\n1.e4 {+0.35/12 5s} e5 {-1.20/15 12s} 2.Nf3 Nc6 1-0\n\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    app = test::makeApp();
    load(kGame, c.printCmt);
    for (int tag : c.enabled) app->game.tags.setOutputEnabled(tag, true);
    EXPECT_EQ(written(c.printCmt), c.expected);
  }
  load("[Event \"E\"]\n\n1. e4 {0.00/9 0s} e5 {-0.05/3 1s} *\n\n", 2);
  EXPECT_EQ(written(2), "\n1.e4 {+0.00/9 0s} e5 {-0.05/3 1s} \n\n") << "no Result tag: an empty result";
}

TEST_F(Writing, LongMovetextBreaksAtTheFirstBlankAfterColumnNinety) {
  std::string movetext, expected;
  for (int i = 1; i <= 24; ++i) {
    movetext += std::to_string(i) + ". " + (i % 2 ? "Nf3 Nf6 " : "Ng1 Ng8 ");
    expected += std::to_string(i) + "." + (i % 2 ? "Nf3 Nf6 " : "Ng1 Ng8 ");
  }
  load("[Event \"E\"]\n\n" + movetext + "*\n\n", 0);
  const std::string out = written(0);
  ASSERT_EQ(out.substr(0, 1), "\n");
  EXPECT_EQ(out.substr(1, out.find('\n', 1) - 1), expected.substr(0, expected.find(' ', 91)));
}

TEST_F(Writing, GameFromBlackToMoveStartsWithEllipsis) {
  load("[Event \"E\"]\n[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n\n41... Kg6 42. Kf2 *\n\n", 0);
  app->game.tags.setOutputEnabled(kTagFen, true);
  EXPECT_EQ(written(0), "[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n\n1...Kg6 2.Kf2 \n\n");
}

TEST_F(Writing, ShowPrintsEveryTagAndTheMoves) {
  load(kGame, 2);
  app->console.takeCaptured();
  printGame(app->game, app->console, 2);
  const std::string out = app->console.takeCaptured();
  EXPECT_EQ(out.substr(0, 27), "\n[Event \"Match\"]\n[Site \"\"]\n");
  EXPECT_NE(out.find("[Opening \"\"]\n"), std::string::npos);
  EXPECT_NE(out.find("[Mode \"\"]\n\n1.e4  {+0.35/12 5s} e5  {-1.20/15 12s} 2.Nf3  {+0.00/0 0s} Nc6  {+0.00/0 0s} "),
            std::string::npos)
      << out;
}

TEST(OutputEnabledTags, SectionLinesEnableTheFirstMatchingEntry) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  dir.write("kestrova.ini", "x=1\n[OutputEnabledTags]\n[White\nElo\n[Plycount\n\n[Black\n");
  TagTable tags;
  readOutputEnabledTags(tags, app->console);
  EXPECT_TRUE(tags.outputEnabled(kTagWhite));
  EXPECT_TRUE(tags.outputEnabled(kTagWhiteElo)) << "Elo enables WhiteElo, the first entry that holds it";
  EXPECT_FALSE(tags.outputEnabled(kTagBlackElo));
  EXPECT_TRUE(tags.outputEnabled(kTagPlyCount));
  EXPECT_FALSE(tags.outputEnabled(kTagBlack)) << "the section ends at the empty line";
  dir.write("kestrova.ini", "[OutputEnabledTags]\n[Event\n[Sitex");  // the last line loses a letter: "[Site"
  TagTable last;
  readOutputEnabledTags(last, app->console);
  EXPECT_TRUE(last.outputEnabled(kTagEvent) && last.outputEnabled(kTagSite));
  std::filesystem::remove(dir.path() / "kestrova.ini");
  readOutputEnabledTags(last, app->console);
  EXPECT_EQ(app->console.takeCaptured(), "> can not open \"kestrova.ini\"\n");
}

TEST(TagNames, CommandNamesIgnoreCaseAndSkipTheUnnamedEntries) {
  EXPECT_EQ(TagTable::lookupName("WhiteElo"), kTagWhiteElo);
  EXPECT_EQ(TagTable::lookupName("EVENT"), kTagEvent);
  EXPECT_EQ(TagTable::lookupName("annotator"), kTagAnnotator);
  EXPECT_EQ(TagTable::lookupName("eventtype"), -1);
  EXPECT_EQ(TagTable::lookupName("fen"), -1);
  EXPECT_EQ(TagTable::lookupName("whit"), -1);
}

}  // namespace
}  // namespace kestrova
