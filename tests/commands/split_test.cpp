// split: every variation becomes a game of its own, the main line comes last.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/split_game.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

struct SplitCase {
  const char* name;
  std::string movetext;
  std::vector<std::string> lines;
  bool whole = true;
};

std::vector<std::string> splitAll(MovetextSplitter& splitter, const std::string& movetext, bool* whole) {
  std::vector<std::string> lines;
  *whole = splitter.split(movetext, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

TEST(MovetextSplitter, WritesEachVariationWithItsPrefixThenTheMainLine) {
  const SplitCase cases[] = {
      {"the worked example", "1. e4 e5 (1... c5 2. Nf3) 2. Nf3 \n", {"1. e4 c5 2. Nf3", "1. e4 e5 2. Nf3"}},
      {"no variation", "1. d4 d5 2. c4 * \n", {"1. d4 d5 2. c4 *"}},
      {"nested variations",
       "1. e4 e5 (1... c5 2. Nf3 (2. Nc3 Nc6) 2... d6) 2. Nf3 Nc6 1-0 \n",
       {"1. e4 c5 2. Nc3 Nc6", "1. e4 c5 2. Nf3 d6", "1. e4 e5 2. Nf3 Nc6 1-0"}},
      {"two variations of one move", "1. e4 e5 (1... c5) (1... e6) 2. Nf3 \n",
       {"1. e4 c5", "1. e4 e6", "1. e4 e5 2. Nf3"}},
      {"a White move replaced with its number", "1. e4 (1. d4 d5) 1... e5 2. Nf3 \n",
       {"1. d4 d5", "1. e4 e5 2. Nf3"}},
      {"numbers without blanks", "1.e4 e5 (1...c5 2.Nf3) 2.Nf3 \n", {"1.e4 c5 2.Nf3", "1.e4 e5 2.Nf3"}},
      {"comments kept where they belong",
       "1. e4 {+0.35/12 5s} e5 {-0.20/11 4s} (1... c5 {+0.10/9 1s}) 2. Nf3 {x (y)} 1-0 \n",
       {"1. e4 {+0.35/12 5s} c5 {+0.10/9 1s}", "1. e4 {+0.35/12 5s} e5 {-0.20/11 4s} 2. Nf3 {x (y)} 1-0"}},
      {"a game starting with Black to move keeps its first number",
       "23... Nf6 (23... Nc6 24. e4) 24. e4 Nxe4 \n", {"23... Nc6 24. e4", "23... Nf6 24. e4 Nxe4"}},
      {"repeated blanks and dots", "1.  e4 ..  e5   2. Nf3 \n", {"1. e4 e5 2. Nf3"}},
      {"a null move", "1. e4 -- (1... e5) 2. d4 \n", {"1. e4 e5", "1. e4 -- 2. d4"}},
      {"a stray closing bracket does not end the game", "1. e4 ) e5 2. Nf3 \n", {"1. e4 e5 2. Nf3"}},
      {"a variation left open ends with the movetext", "1. e4 e5 (1... c5 2. Nf3 \n",
       {"1. e4 c5 2. Nf3", "1. e4 e5"}},
      {"an empty movetext", "", {""}},
      // "2. N" and ten x's make the fourteen characters put aside.
      {"a malformed move cut to fourteen characters", "1. e4 e5 2. Nxxxxxxxxxxxxxxxxxxxf3 {c} (2. d4) 2... Nc6 \n",
       {"1. e4 e5 2. d4", "1. e4 e5 2. Nxxxxxxxxxx {c} Nc6"}},
      {"a walk that runs off the end is reported", "1. e4 (1. d4", {"1. d4", "1. e4"}, false},
      {"variations nested thousands deep",
       "1. e4 " + std::string(20000, '(') + "1. d4 " + std::string(20000, ')') + " e5 \n", {"1. d4", "1. e4 e5"}},
  };
  MovetextSplitter splitter;
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    bool whole = !c.whole;
    EXPECT_EQ(splitAll(splitter, c.movetext, &whole), c.lines);
    EXPECT_EQ(whole, c.whole);
  }
}

const std::string kHeader = "[Event \"Test\"]\n[Site \"Here\"]\n[Result \"1-0\"]\n[Custom \"kept\"]\n";

TEST(SplitCommand, WritesTheVariationGameFirstAndTheMainLineLastWithTheSourceHeader) {
  test::ScratchDir dir;
  dir.write("games.pgn", kHeader + "\n1. e4 e5 (1... c5\n2. Nf3) 2. Nf3 1-0\n\n" + kHeader + "\n1. d4 d5 1-0\n\n");
  auto app = test::makeApp();
  EXPECT_EQ(test::run(*app, "split"), "\n> no PGN-file in memory. Please load a pgn file\n");
  EXPECT_FALSE(dir.exists("pgn-out.pgn"));
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  EXPECT_EQ(test::run(*app, "split -out=games.pgn"),
            "\n> \"games.pgn\" is read by this command: it can't be its output file\n");
  EXPECT_EQ(test::run(*app, "split -out=lines.pgn"), "\n> processing...\nsee lines.pgn file\n");
  EXPECT_EQ(dir.read("lines.pgn"), kHeader + "\n1. e4 c5 2. Nf3\n\n" + kHeader + "\n1. e4 e5 2. Nf3 1-0\n\n\n\n" +
                                       kHeader + "\n1. d4 d5 1-0\n\n\n\n");
  EXPECT_EQ(dir.read("games.pgn").substr(0, kHeader.size()), kHeader) << "the refused output left its input alone";
}

TEST(SplitCommand, BreaksLongLinesOfPlay) {
  test::ScratchDir dir;
  std::string moves;
  for (int n = 1; n <= 30; ++n) moves += std::to_string(n) + (n % 2 ? ". Nf3 Nf6 " : ". Ng1 Ng8 ");
  dir.write("games.pgn", kHeader + "\n" + moves + "1-0\n\n");
  auto app = test::makeApp();
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  test::run(*app, "split");
  const std::string body = dir.read("pgn-out.pgn").substr(kHeader.size() + 1);
  EXPECT_LT(body.find('\n'), moves.size()) << "a long line of play is broken into lines";
  std::string joined = body;
  for (char& c : joined) c = c == '\n' ? ' ' : c;
  EXPECT_EQ(joined.substr(0, moves.size() + 3), moves + "1-0");
  for (std::size_t start = 0, end; (end = body.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_LT(end - start, 100u);
  }
}

}  // namespace
}  // namespace kestrova
