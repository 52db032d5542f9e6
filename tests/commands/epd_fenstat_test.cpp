// fenstat: the results of the games counted per FEN tag value, sorted by White's score.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chess/fen.hpp"
#include "commands/fen_statistics.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

std::string game(const std::string& fen, const std::string& result, const std::string& moves) {
  std::string text = "[Event \"E\"]\n[Result \"" + result + "\"]\n";
  if (!fen.empty()) text += "[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n";
  return text + "\n" + moves + " " + result + "\n\n";
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    result.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

constexpr const char* kRookEnding = "8/8/3k4/r7/8/3K4/8/7R w - - 0 1";

TEST(FenStatistics, ThreeGamesFromOneFenGiveOneLineOfThirds) {
  test::ScratchDir dir;
  dir.write("g.pgn", game(kRookEnding, "1-0", "1. Rh6+") + game(kRookEnding, "1/2-1/2", "1. Rh6+") +
                         game(kRookEnding, "0-1", "1. Rh6+"));
  auto app = test::makeApp();
  ASSERT_TRUE(app->pgn.open("g.pgn"));
  const std::string printed = test::run(*app, "fenstat");
  const std::string expected =
      std::string(kRookEnding) + "; c0 \"N=3 w_win=33.3% draw=33.3% b_win=33.3%\";\n";
  EXPECT_EQ(dir.read("epd-out.epd"), "======new list======\n" + expected);
  EXPECT_NE(printed.find("> FEN list sorted                             \n" + expected +
                         "\n> 1 positions recorded and sorted by score\n> list saved in the epd-out.epd file\n"),
            std::string::npos)
      << printed;
}

TEST(FenStatistics, CountsUnfinishedGamesAsDrawsAndGamesWithoutFenUnderTheStartString) {
  test::ScratchDir dir;
  dir.write("g.pgn", game(kRookEnding, "*", "1. Rh6+") + game(kRookEnding, "1-0", "1. Rh6+") +
                         game("", "0-1", "1. e4") + game("", "*", "1. d4") + game("", "0-1", "1. c4"));
  auto app = test::makeApp();
  ASSERT_TRUE(app->pgn.open("g.pgn"));
  test::run(*app, "fenstat");
  // Scores: the rook ending (1 + 1/2) / 2 = 75%, the start (0 + 1/2) / 3 = 16.7%.
  EXPECT_EQ(dir.read("epd-out.epd"),
            "======new list======\n" + std::string(kRookEnding) +
                "; c0 \"N=2 w_win=50.0% draw=50.0% b_win=0.0%\";\n" + std::string(kStartPosition) +
                "; c0 \"N=3 w_win=0.0% draw=33.3% b_win=66.7%\";\n");
}

TEST(FenStatistics, SampleSetUpGamesSortedByScore) {
  // Two games from each of six FEN tags; the counts come from the file's Result tags.
  test::ScratchDir dir;
  dir.write("e.pgn", test::sourceFile("tests/data/samples/e_setup.pgn"));
  auto app = test::makeApp();
  ASSERT_TRUE(app->pgn.open("e.pgn"));
  const std::string printed = test::run(*app, "fenstat");
  EXPECT_NE(printed.find("> 6 positions recorded and sorted by score\n"), std::string::npos) << printed;
  const std::vector<std::string> written = lines(dir.read("epd-out.epd"));
  ASSERT_EQ(written.size(), 7u);
  EXPECT_EQ(written[0], "======new list======");
  EXPECT_EQ(written[1], "8/8/8/4k3/8/8/3QK3/7r w - - 0 1; c0 \"N=2 w_win=100.0% draw=0.0% b_win=0.0%\";");
  EXPECT_EQ(written[2], "8/8/8/4k3/8/8/8/4KBN1 w - - 0 1; c0 \"N=2 w_win=50.0% draw=50.0% b_win=0.0%\";");
  // Four positions score 50%; their order among themselves is not part of the result.
  std::vector<std::string> even(written.begin() + 3, written.end());
  std::sort(even.begin(), even.end());
  EXPECT_EQ(even, (std::vector<std::string>{
                      "4b3/4k3/5p2/1p1P1P2/1P6/2B5/4K3/8 w - - 12 57; c0 \"N=2 w_win=0.0% draw=100.0% b_win=0.0%\";",
                      "8/5k2/8/2p3P1/2P2K2/8/r7/6R1 b - - 3 41; c0 \"N=2 w_win=0.0% draw=100.0% b_win=0.0%\";",
                      "8/8/3k4/r7/8/3K4/8/7R w - - 0 1; c0 \"N=2 w_win=0.0% draw=100.0% b_win=0.0%\";",
                      "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BP2N1P/PP1P1PP1/RNBQR1K1 b - - 0 9; c0 \"N=2 "
                      "w_win=50.0% draw=0.0% b_win=50.0%\";"}));
}

TEST(FenStatistics, WithoutGamesWritesAnEmptyList) {
  test::ScratchDir dir;
  dir.write("epd-out.epd", "earlier");
  auto app = test::makeApp();
  const std::string printed = test::run(*app, "fenstat");
  EXPECT_EQ(dir.read("epd-out.epd"), "======new list======\n");
  EXPECT_NE(printed.find("> 0 positions recorded and sorted by score\n"), std::string::npos) << printed;
}

TEST(FenStatistics, RefusesToOverwriteTheOpenFile) {
  test::ScratchDir dir;
  dir.write("epd-out.epd", game(kRookEnding, "1-0", "1. Rh6+"));
  auto app = test::makeApp();
  ASSERT_TRUE(app->pgn.open("epd-out.epd"));
  const std::string printed = test::run(*app, "fenstat");
  EXPECT_NE(printed.find("> cannot create an epd file\n"), std::string::npos) << printed;
  EXPECT_EQ(dir.read("epd-out.epd"), game(kRookEnding, "1-0", "1. Rh6+"));
}

TEST(FenStatistics, ResultCharactersAndScore) {
  EXPECT_EQ(resultCharacter("1-0"), '1');
  EXPECT_EQ(resultCharacter("0-1"), '0');
  for (const char* other : {"1/2-1/2", "*", "", "1-0 "}) EXPECT_EQ(resultCharacter(other), 'X') << other;
  FenCount count{"x", 3, 1, 1, 1};
  EXPECT_FLOAT_EQ(fenScore(count), 50.0f);
}

}  // namespace
}  // namespace kestrova
