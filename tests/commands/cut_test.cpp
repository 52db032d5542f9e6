// cut: every game shortened to its first half-moves, or without its last ones.
#include <gtest/gtest.h>

#include <string>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

// Knights out and back: a legal game of any even length, as the PGN writer writes it.
std::string knightMoves(int plies, bool numbered = true, const char* separator = ". ") {
  std::string text;
  for (int ply = 1; ply <= plies; ++ply) {
    const int move = (ply + 1) / 2;
    const bool out = move % 2 == 1;
    if (ply % 2 == 1 && numbered) text += std::to_string(move) + separator;
    text += ply % 2 == 1 ? (out ? "Nf3 " : "Ng1 ") : (out ? "Nf6 " : "Ng8 ");
  }
  return text;
}

std::string oneLine(std::string text) {
  for (char& c : text) c = c == '\n' ? ' ' : c;
  return text;
}

std::string game(const std::string& event, const std::string& movetext) {
  return "[Event \"" + event + "\"]\n[Result \"1-0\"]\n\n" + movetext + "1-0\n\n";
}

class CutCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("games.pgn", game("long", knightMoves(50)) + game("short", knightMoves(10)));
    for (int tag : {kTagEvent, kTagResult, kTagFen}) app_->game.tags.setOutputEnabled(tag, true);
    ASSERT_TRUE(app_->pgn.open("games.pgn"));
  }
  // A game as the writer writes it: the tags, the kept half-moves, the result.
  static std::string written(const std::string& event, int plies) {
    return "[Event \"" + event + "\"]\n[Result \"1-0\"]\n\n" + knightMoves(plies, true, ".") + "1-0\n\n";
  }

  test::ScratchDir dir_;
  std::unique_ptr<App> app_ = test::makeApp();
};

TEST_F(CutCommand, KeepsTheFirstHalfMovesOrWithRevDropsTheLastOnes) {
  const std::string printed = test::run(*app_, "cut -ply=20");
  EXPECT_EQ(printed.rfind("\n> 2 games cut \n> process time : ", 0), 0u) << printed;
  EXPECT_NE(printed.find("s              \nsee pgn-out.pgn file\n"), std::string::npos) << printed;
  EXPECT_EQ(oneLine(dir_.read("pgn-out.pgn")), oneLine(written("long", 20) + written("short", 10)));
  test::run(*app_, "cut -ply=20 -rev -out=ends.pgn");
  EXPECT_EQ(oneLine(dir_.read("ends.pgn")), oneLine(written("long", 30) + written("short", 0)));
}

TEST_F(CutCommand, RefusesANumberOutOfRangeBeforeTouchingTheOutput) {
  dir_.write("pgn-out.pgn", "earlier result");
  for (const char* command : {"cut -ply=0", "cut -ply=800", "cut -rev", "cut -ply=-3"}) {
    SCOPED_TRACE(command);
    EXPECT_EQ(test::run(*app_, command), "> number out of range\n");
  }
  EXPECT_EQ(dir_.read("pgn-out.pgn"), "earlier result");
  test::run(*app_, "cut -ply=799");
  EXPECT_EQ(oneLine(dir_.read("pgn-out.pgn")), oneLine(written("long", 50) + written("short", 10)));
}

TEST_F(CutCommand, CountsTheHalfMovesOfAGameStartingWithBlack) {
  const std::string tags = "[Event \"E\"]\n[Result \"1-0\"]\n[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n\n";
  dir_.write("black.pgn", tags + "41... Kg6 42. Kf2 Kf6 1-0\n\n");
  ASSERT_TRUE(app_->pgn.open("black.pgn"));
  test::run(*app_, "cut -ply=1");
  EXPECT_EQ(dir_.read("pgn-out.pgn"), tags + "1...Kg6 1-0\n\n");
  test::run(*app_, "cut -ply=1 -rev");
  EXPECT_EQ(dir_.read("pgn-out.pgn"), tags + "1...Kg6 2.Kf2 1-0\n\n");
}

}  // namespace
}  // namespace kestrova
