// The opening book through the program: newbk, openbk, showbk, dcmbk and bdoor at the prompt.
#include <gtest/gtest.h>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

bool has(const RunResult& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

std::string game(const std::string& white, const std::string& black, const std::string& result,
                 const std::string& moves) {
  std::string tags = "[Event \"e2e\"]\n[White \"W\"]\n[Black \"B\"]\n[Result \"" + result + "\"]\n";
  if (!white.empty()) tags += "[WhiteElo \"" + white + "\"]\n[BlackElo \"" + black + "\"]\n";
  return tags + "\n" + moves + " " + result + "\n\n";
}

// 1.e4: a win and a draw of a 2600 against 2500; 1.d4 the same for a 2700; 1.c4 without Elos.
const std::string kGames = game("2600", "2500", "1-0", "1. e4 e5") + game("2600", "2500", "1/2-1/2", "1. e4 c5") +
                           game("2700", "2500", "1-0", "1. d4 d5") + game("2700", "2500", "1/2-1/2", "1. d4 Nf6") +
                           game("", "", "1-0", "1. c4 e5");

TEST(BookEndToEnd, ShowbkShowsPerformanceAndEloGainDcmbkAsks) {
  Session session;
  session.withDefaultData().withFile("games.pgn", kGames);
  const RunResult run = session.run({}, "newbk 1 1 -pgn=games.pgn !\ny\nshowbk\nx\ndcmbk\ny\nexit\n");
  EXPECT_FALSE(run.timedOut);
  EXPECT_TRUE(has(run, "- book fully created\n- book closed\n")) << run.output;
  // 75 % against 2500 is a performance of 2693: +93 for the 2600, -7 for the 2700.
  EXPECT_TRUE(has(run, "e2e4\tn=2\t pc=75\t  myElo=2600\tperf=2693\teloGain=+93\tcmt=0\n")) << run.output;
  EXPECT_TRUE(has(run, "d2d4\tn=2\t pc=75\t  myElo=2700\tperf=2693\teloGain=-7\tcmt=0\n"));
  EXPECT_TRUE(has(run, "3.c2c4\tn=1\t pc=100\t  myElo=0   \tperf=0   \teloGain=0\tcmt=0\n"));
  EXPECT_TRUE(has(run, "your choice ? : "));
  EXPECT_TRUE(has(run, "- erasing comments\n- saving book\n- operation complete\n")) << "dcmbk asked first";
  EXPECT_TRUE(has(run, "- A bientot"));
}

TEST(BookEndToEnd, TheBookFileIsReadBackInALaterRun) {
  Session session;
  session.withDefaultData().withFile("games.pgn", kGames);
  session.run({}, "newbk 1 2 -pgn=games.pgn -out=mine.obk\ny\nexit\n");
  const RunResult first = session.run({}, "openbk mine.obk\nshowbk\n1\nx\nexit\n");
  EXPECT_TRUE(has(first, "- 8 book's moves have been successfully loaded\n- Book loaded\n")) << first.output;
  const bool reply = has(first, "\n1.e7e5\tn=1\t") || has(first, "\n1.c7c5\tn=1\t") ||
                     has(first, "\n1.d7d5\tn=1\t") || has(first, "\n1.g8f6\tn=1\t");
  EXPECT_TRUE(reply) << "after the most played 1.e4 or 1.d4, one of its replies:\n" << first.output;
  const std::string file = first.file("mine.obk");
  EXPECT_EQ(file.substr(0, 10), "\r\n[zTab]\r\n");
  EXPECT_NE(file.find("\r\n[parameters]\r\nmoves=8\r\nsorted=1\r\nclean=1\r\nnumBase=224\r\nhashSz=64\r\n\r\n"),
            std::string::npos);
}

TEST(BookEndToEnd, MenusEndWithTheInputAndBdoorPrintsTheSelfTest) {
  Session session;
  session.withDefaultData().withFile("games.pgn", kGames);
  const RunResult run = session.run({}, "bdoor\nnewbk 1 1 -pgn=games.pgn !\ny\nshowbk\n1\n");
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_TRUE(has(run, "- A bientot"));
  EXPECT_TRUE(has(run, "12273903644374837845\n\xB5\x82\xE5\xAB\x8A\xA3\xC9\xF1!\n12273903644374837845\n"))
      << "the bdoor self-test";
}

}  // namespace
}  // namespace kestrova::e2e
