// Which table entry a header line fills: the first entry whose prefix it holds, whatever the case.
#include <gtest/gtest.h>

#include <string>

#include "pgn/game.hpp"
#include "pgn/movetext.hpp"
#include "pgn/pgn_file.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

class TagLoading : public ::testing::Test {
 protected:
  void load(const std::string& header) {
    dir.write("g.pgn", header + "\n1. e4 *\n\n");
    pgn.create(console, 30000, 5000, 30000);
    ASSERT_TRUE(pgn.open("g.pgn"));
    ASSERT_EQ(pgn.readNextGame(console), PgnFile::kGame);
    loadGame(game, pgn, console, 0, true);
  }
  const std::string& tag(int index) const { return game.tags.value(index); }

  test::ScratchDir dir;
  Console console = Console::capturing();
  PgnFile pgn;
  Game game;
};

TEST_F(TagLoading, AnyCaseAndTheFirstEntryTheLineHolds) {
  load("[WHITEELO \"2800\"]\n[wHiTe \"A\"]\n[Whitex \"no\"]\n[TimeControl \"40/60\"]\n[UTCDate \"2024.01.01\"]\n");
  EXPECT_EQ(tag(kTagWhiteElo), "2800");
  EXPECT_EQ(tag(kTagWhite), "A");
  EXPECT_EQ(tag(kTagTimeControl), "40/60") << "not the Time entry, whose prefix it does not hold";
  EXPECT_EQ(tag(kTagUtcDate), "2024.01.01");
  EXPECT_EQ(tag(kTagDate), "") << "a prefix begins with its bracket";
}

TEST_F(TagLoading, APrefixAfterTheStartOfTheLineCounts) {
  // The line holds both the Site and the Event prefix: Event comes first in the table, and takes
  // the line's first quoted value.
  load("[Site \"here\"] [Event \"there\"]\n[x] [Round \"3\"]\n");
  EXPECT_EQ(tag(kTagEvent), "here");
  EXPECT_EQ(tag(kTagSite), "");
  EXPECT_EQ(tag(kTagRound), "3");
  // Lines with few and with many brackets before the prefix.
  load("[[[[[[[Black \"B\"]\n[ [ [ [ [ [ [[Result \"1-0\"]\n[[[[[[[[[[[[White \"W\"]\n");
  EXPECT_EQ(tag(kTagBlack), "B");
  EXPECT_EQ(tag(kTagResult), "1-0");
  EXPECT_EQ(tag(kTagWhite), "W");
}

}  // namespace
}  // namespace kestrova
