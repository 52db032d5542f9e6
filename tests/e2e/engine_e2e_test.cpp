// The engine through the whole program: start-up with and without an engine, askng and vfilt with
// Debian's Stockfish when it is installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/harness.hpp"
#include "support/engines.hpp"

namespace kestrova::e2e {
namespace {

bool has(const RunResult& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

using test::findStockfish;

// The default configuration with the engine named first (the tag section runs to the end).
std::string configurationWithEngine(const std::string& engine) {
  std::ifstream in(std::string(KESTROVA_SOURCE_DIR) + "/data/kestrova.ini", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return "engineFile=" + engine + "\n" + text.str();
}

// Regular-expression matches of the first group, in order.
std::vector<std::string> allMatches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1].str());
  return found;
}

const char* const kLoaded = "- a chess engine (%s) has been successfully loaded !\n"
                            "> you may have to use 'exit' in order to correctly unload the engine\n";
const char* const kNoEngine = "> no chess engine running (see engineFile in kestrova.ini)\n";

TEST(EngineEndToEnd, StartsTheConfiguredEngineAndReportsOneThatCannotRun) {
  const std::string stockfish = findStockfish();
  if (!stockfish.empty()) {
    Session session;
    session.withDefaultData().withFile("kestrova.ini", configurationWithEngine(stockfish));
    const RunResult run = session.run({"exit"}, "", 20);
    std::string loaded = kLoaded;
    loaded.replace(loaded.find("%s"), 2, stockfish);
    EXPECT_TRUE(has(run, loaded)) << run.output;
    EXPECT_TRUE(has(run, "- A bientot ;o)...\n"));
    EXPECT_EQ(run.exitStatus, 0);
  }
  // A path that names nothing, and no engineFile at all: the program runs without an engine and
  // the engine commands say so.
  for (const std::string& configuration :
       {configurationWithEngine("/nonexistent/engine"), configurationWithEngine("")}) {
    SCOPED_TRACE(configuration.substr(0, configuration.find('\n')));
    Session session;
    session.withDefaultData()
        .withFile("kestrova.ini", configuration)
        .withFile("games.pgn", "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 *\n\n")
        .withFile("pgn-out.pgn", "kept\n");
    const RunResult run = session.run({"open", "games.pgn", "askng", "-time=50", "vfilt", "-time=50"}, "", 20);
    EXPECT_TRUE(has(run, "- no chess engine loaded\n")) << run.output;
    EXPECT_FALSE(has(run, "successfully loaded"));
    EXPECT_TRUE(has(run, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -\n" + std::string(kNoEngine)));
    EXPECT_TRUE(has(run, "\n" + std::string(kNoEngine) + "- A bientot")) << "vfilt stops at once";
    EXPECT_EQ(run.file("pgn-out.pgn"), "kept\n");
    EXPECT_FALSE(run.hasFile("vfilt.pgn"));
    EXPECT_EQ(run.exitStatus, 0);
  }
}

TEST(EngineEndToEnd, AskngFindsTheMateAndWeighsAQuietPosition) {
  const std::string stockfish = findStockfish();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish not installed";
  Session session;
  session.withDefaultData()
      .withFile("kestrova.ini", configurationWithEngine(stockfish))
      .withFile("games.pgn",
                // After 3...Nf6 White mates with Qxf7 (h5f7); after 2...Nc6 the game is level.
                "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 2. Bc4 Nc6 3. Qh5 Nf6 *\n\n"
                "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n");
  // The engine may still be starting during the first analysis, whose time is therefore longer;
  // once it has found the mate it idles.
  const RunResult run = session.run({"open", "games.pgn", "play", "1", "6", "askng", "-time=1000", "-hash=16",
                                     "-scroll", "play", "2", "4", "askng", "-time=300", "-hash=16", "-scroll"},
                                    "", 20);
  const std::string mateFen = "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq ";
  const std::string quietFen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq ";
  const std::size_t mateAt = run.output.find("\n" + mateFen);
  const std::size_t quietAt = run.output.find("\n" + quietFen);
  ASSERT_NE(mateAt, std::string::npos) << run.output;
  ASSERT_NE(quietAt, std::string::npos) << run.output;
  ASSERT_LT(mateAt, quietAt);
  const std::string mate = run.output.substr(mateAt, quietAt - mateAt);
  const std::string quiet = run.output.substr(quietAt);

  // Only mate scores: the value stays at 12345, the variation is the mate.
  const std::vector<std::string> mateLines = allMatches(mate, "\nd=([0-9]+\tv=[-0-9]+\t.*)");
  ASSERT_FALSE(mateLines.empty()) << mate;
  for (const std::string& line : mateLines)
    EXPECT_TRUE(std::regex_match(line, std::regex("[0-9]+\tv=12345\th5f7"))) << line;

  const std::vector<std::string> values = allMatches(quiet, "\nd=[0-9]+\tv=([-0-9]+)\t[a-h][1-8][a-h][1-8]");
  ASSERT_FALSE(values.empty()) << quiet;
  EXPECT_GT(std::stoi(values.back()), -150);
  EXPECT_LT(std::stoi(values.back()), 150);
}

TEST(EngineEndToEnd, VfiltSortsASmallFileWithStockfish) {
  const std::string stockfish = findStockfish();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish not installed";
  Session session;
  session.withDefaultData()
      .withFile("kestrova.ini", configurationWithEngine(stockfish))
      .withFile("games.pgn",
                // 1: from a mate in one to the mate, so only mate scores, whether or not the engine
                //    has finished starting (its first analysis may come up empty);
                // 2: a level Ruy Lopez; 3: Black gives up the queen; 4: a level pawn ending from a
                //    set-up position with Black to move.
                "[Event \"T\"]\n[Result \"1-0\"]\n[SetUp \"1\"]\n"
                "[FEN \"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 0 1\"]\n\n1. Qxf7# 1-0\n\n"
                "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 *\n\n"
                "[Event \"T\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Qh4 3. Nxh4 1-0\n\n"
                "[Event \"T\"]\n[Result \"1/2-1/2\"]\n[SetUp \"1\"]\n"
                "[FEN \"4k3/4p3/8/8/8/8/4P3/4K3 b - - 0 1\"]\n\n1... Kd7 2. Kd2 Kd6 1/2-1/2\n\n");
  // The numbers of the games of a file whose Annotator shows the window and the verdict.
  auto gamesWith = [](const std::string& pgn, const std::string& window, const std::string& verdict) {
    std::string games;
    for (const std::string& game :
         allMatches(pgn, "\\[Annotator \"game ([0-9]), depth=[0-9]+ val=-?[0-9]+ filter=\\[" + window +
                             "\\] status=" + verdict + "\"\\]"))
      games += game;
    return games;
  };
  // Three runs with one engine; "vfilt.pgn" is left by the last.
  const RunResult run = session.run(
      {"open", "games.pgn",
       "vfilt", "-time=150", "-hash=16", "-ply=1", "-minval=-150", "-maxval=150", "-out=start.pgn",
       "vfilt", "-time=100", "-hash=16", "-ply=last", "-minval=12345", "-maxval=12345", "-out=mated.pgn",
       "vfilt", "-time=150", "-hash=16", "-minval=-150", "-maxval=150"},
      "", 20);
  EXPECT_EQ(allMatches(run.output, "> ([0-9]+ accepted games saved in the '[a-z.-]+' file\n> [0-9]+) rejected"),
            (std::vector<std::string>{"3 accepted games saved in the 'start.pgn' file\n> 1",
                                      "1 accepted games saved in the 'mated.pgn' file\n> 3",
                                      "2 accepted games saved in the 'pgn-out.pgn' file\n> 2"}))
      << run.output;
  EXPECT_EQ(allMatches(run.output, "\n- ([0-9]+) games have been verified\n"),
            (std::vector<std::string>{"4", "4", "4"}));

  // The start positions, the set-up ones from their FEN tags.
  EXPECT_EQ(gamesWith(run.file("start.pgn"), "-150/150", "accepted"), "234");
  EXPECT_TRUE(has(run, "\n4k3/4p3/8/8/8/8/4P3/4K3 b - - 0 1\n"));
  // Both bounds belong to the window: only the mated side's missing value is exactly 12345.
  EXPECT_TRUE(run.file("mated.pgn").find("[Annotator \"game 1, depth=0 val=12345 filter=[12345/12345] "
                                         "status=accepted\"]\n") != std::string::npos)
      << run.file("mated.pgn");
  // The final positions.
  EXPECT_EQ(gamesWith(run.file("pgn-out.pgn"), "-150/150", "accepted"), "24");
  EXPECT_EQ(gamesWith(run.file("vfilt.pgn"), "-150/150", "rejected"), "13");
  const std::vector<std::string> lost = allMatches(run.file("vfilt.pgn"), "game 3, depth=[0-9]+ val=(-?[0-9]+)");
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_LT(std::stoi(lost[0]), -400) << "Black to move without the queen";
  EXPECT_TRUE(run.file("vfilt.pgn").find("[Annotator \"game 1, depth=0 val=12345 filter=[-150/150] "
                                         "status=rejected\"]\n") != std::string::npos);
  EXPECT_TRUE(run.file("vfilt.pgn").find("\n1.Qxf7# 1-0\n") != std::string::npos) << "written whole";
}

}  // namespace
}  // namespace kestrova::e2e
