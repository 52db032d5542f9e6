// The engine through the whole program: without an engine, and askng and vfilt with Debian's
// Stockfish when it is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "e2e/harness.hpp"
#include "support/engines.hpp"
#include "support/text.hpp"

namespace kestrova::e2e {
namespace {

using test::has;
using Texts = std::vector<std::string>;

// Regular-expression matches of the first group, in order.
Texts allMatches(const std::string& text, const std::string& pattern) {
  Texts found;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
    found.push_back((*it)[1]);
  }
  return found;
}

TEST(EngineEndToEnd, WithoutAnEngineTheEngineCommandsSaySoAndWriteNothing) {
  const std::string noEngine = "> no chess engine running (see engineFile in kestrova.ini)\n";
  for (const std::string engine : {"engineFile=/nonexistent/engine\n", ""}) {
    Session session;
    session.withDefaultData(engine).withFile("pgn-out.pgn", "kept\n")
        .withFile("games.pgn", "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 *\n\n");
    const RunResult run = session.run(words("open games.pgn askng -time=50 vfilt -time=50"), "", 20);
    EXPECT_TRUE(has(run.output, "- no chess engine loaded\n")) << run.output;
    EXPECT_TRUE(has(run.output, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -\n" + noEngine));
    EXPECT_TRUE(has(run.output, "\n" + noEngine + "- A bientot")) << "vfilt stops at once";
    EXPECT_EQ(run.files(), (Texts{"games.pgn", "help.man", "kestrova.ini", "pgn-out.pgn"}));
    EXPECT_EQ(run.file("pgn-out.pgn"), "kept\n");
  }
}

TEST(EngineEndToEnd, AskngFindsTheMateAndWeighsAQuietPosition) {
  const std::string stockfish = test::findStockfish();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish not installed";
  Session session;
  // After 3...Nf6 White mates with Qxf7 (h5f7); after 2...Nc6 the game is level.
  session.withDefaultData("engineFile=" + stockfish + "\n")
      .withFile("games.pgn", "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 2. Bc4 Nc6 3. Qh5 Nf6 *\n\n"
                             "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n");
  // The first analysis of a freshly started engine is as short as the second: its clock starts at readyok.
  const RunResult run = session.run(words("open games.pgn play 1 6 askng -time=100 -hash=16 -scroll "
                                          "play 2 4 askng -time=300 -hash=16 -scroll"), "", 20);
  EXPECT_TRUE(has(run.output, "- a chess engine (" + stockfish + ") has been successfully loaded !\n"));
  const std::size_t mateAt = run.output.find("\nr1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq ");
  const std::size_t quietAt = run.output.find("\nr1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq ");
  ASSERT_TRUE(mateAt < quietAt && quietAt != std::string::npos) << run.output;
  // White to move mates in one: every score is that mate, at a depth above 0.
  const Texts mate = allMatches(run.output.substr(mateAt, quietAt - mateAt), "\nd=([0-9]+\tv=.*)");
  ASSERT_FALSE(mate.empty());
  for (const std::string& line : mate) EXPECT_TRUE(std::regex_match(line, std::regex("[1-9][0-9]*\tv=M1\th5f7"))) << line;
  const Texts values = allMatches(run.output.substr(quietAt), "\nd=[0-9]+\tv=([-0-9]+)\t[a-h][1-8][a-h][1-8]");
  ASSERT_FALSE(values.empty());
  EXPECT_LT(std::abs(std::stoi(values.back())), 150);
}

// The engine as engine testers configure it: a command line with arguments, options sent after "uci",
// its standard error kept; the hash table set only when its size changes.
TEST(EngineEndToEnd, TheConfiguredCommandLineAndOptionsReachTheEngine) {
  Session session;
  const std::string log = (session.directory() / "received.txt").string();
  session.withDefaultData("engineFile=" + test::fakeEnginePath() + " --threads \"a b\"\nengineOption=Threads=4\n"
                          "engineOption=SyzygyPath=/t b\n").withFile("games.pgn", "[Result \"*\"]\n\n1. e4 *\n\n");
  setenv("KESTROVA_FAKE_ENGINE", "normal", 1);
  setenv("KESTROVA_FAKE_ENGINE_LOG", log.c_str(), 1);
  const RunResult run = session.run(words("open games.pgn askng -time=20 -hash=16 askng -time=20 -hash=16 "
                                          "askng -time=20 -hash=32"), "", 20);
  unsetenv("KESTROVA_FAKE_ENGINE_LOG");
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(run.file("engine.log"), "fake engine: --threads|a b|\n");
  const std::string received = run.file("received.txt");
  EXPECT_EQ(received.find("uci\nsetoption name Threads value 4\nsetoption name SyzygyPath value /t b\n"), 0u) << received;
  EXPECT_EQ(test::count(received, "setoption name Hash value "), 2) << received;
  EXPECT_TRUE(has(received, "setoption name Hash value 16\n") && has(received, "setoption name Hash value 32\n"));
}

TEST(EngineEndToEnd, VfiltSortsASmallFileWithStockfish) {
  const std::string stockfish = test::findStockfish();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish not installed";
  Session session;
  // 1: from a mate in one to the mate, so only mate scores, whether or not the engine has finished
  // starting; 2: a level Ruy Lopez; 3: Black gives up the queen; 4: a level pawn ending from a
  // set-up position with Black to move.
  session.withDefaultData("engineFile=" + stockfish + "\n").withFile("games.pgn",
      "[Event \"T\"]\n[Result \"1-0\"]\n[SetUp \"1\"]\n"
      "[FEN \"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 0 1\"]\n\n1. Qxf7# 1-0\n\n"
      "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 *\n\n"
      "[Event \"T\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Qh4 3. Nxh4 1-0\n\n"
      "[Event \"T\"]\n[Result \"1/2-1/2\"]\n[SetUp \"1\"]\n[FEN \"4k3/4p3/8/8/8/8/4P3/4K3 b - - 0 1\"]\n\n"
      "1... Kd7 2. Kd2 Kd6 1/2-1/2\n\n");
  // The start positions (game 1: White mates in one), in a window beyond every centipawn value and in a
  // level one; the final positions (game 1: Black is mated).
  const RunResult run = session.run(
      words("open games.pgn vfilt -time=150 -hash=16 -ply=1 -minval=-2000000000 -maxval=2000000000 -out=wide.pgn "
            "vfilt -time=150 -hash=16 -ply=1 -minval=-150 -maxval=150 -out=start.pgn "
            "vfilt -time=150 -hash=16 -minval=-150 -maxval=150"), "", 20);
  EXPECT_EQ(allMatches(run.output, "> ([0-9]+ accepted games saved in the '[a-z.-]+' file\n> [0-9]+) rejected"),
            (Texts{"3 accepted games saved in the 'wide.pgn' file\n> 1",
                   "3 accepted games saved in the 'start.pgn' file\n> 1",
                   "2 accepted games saved in the 'pgn-out.pgn' file\n> 2"})) << run.output;
  EXPECT_TRUE(has(run.output, "\n4k3/4p3/8/8/8/8/4P3/4K3 b - - 0 1\n")) << "a set-up game starts from its FEN";
  // The numbers of the games in a file with the window -150/150 and the verdict.
  auto games = [&](const std::string& file, const std::string& verdict) {
    return allMatches(run.file(file), "game ([0-9]), depth=[0-9]+ val=-?M?[0-9]+ filter=.-150/150. status=" + verdict);
  };
  EXPECT_EQ(games("start.pgn", "accepted"), (Texts{"2", "3", "4"}));
  EXPECT_EQ(games("pgn-out.pgn", "accepted"), (Texts{"2", "4"}));
  EXPECT_EQ(games("vfilt.pgn", "rejected"), (Texts{"1", "3"}));
  // A mate is a win or a loss beyond any window, and the mated side has a value.
  EXPECT_TRUE(has(run.file("vfilt.pgn"), "\"game 1, depth=0 val=-M0 filter=[-150/150] status=rejected\"]"));
  EXPECT_TRUE(std::regex_search(run.file("wide.pgn"), std::regex("game 2, depth=[1-9][0-9]* val=-?[0-9]+ status=accepted")));
  const Texts lost = allMatches(run.file("vfilt.pgn"), "game 3, depth=[0-9]+ val=(-?[0-9]+)");
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_LT(std::stoi(lost[0]), -400) << "Black to move without the queen";
  EXPECT_TRUE(has(run.file("vfilt.pgn"), "\n1.Qxf7# 1-0\n")) << "written whole";
}

}  // namespace
}  // namespace kestrova::e2e
