// One short analysis with a real engine, when Stockfish is installed.
#include <gtest/gtest.h>

#include "support/engines.hpp"
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "engine/engine_client.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"

namespace kestrova {
namespace {

// Moves in coordinate notation ("e2e4", "e7e8q") separated by single blanks.
bool looksLikeMoves(const std::string& text) {
  std::istringstream words(text);
  int count = 0;
  for (std::string move; words >> move; ++count) {
    const bool squares = move.size() >= 4 && move[0] >= 'a' && move[0] <= 'h' && move[1] >= '1' &&
                         move[1] <= '8' && move[2] >= 'a' && move[2] <= 'h' && move[3] >= '1' &&
                         move[3] <= '8';
    if (!squares || move.size() > 5) return false;
  }
  return count > 0;
}

using test::findStockfish;

TEST(StockfishAnalysis, FindsTheMateAndAQuietValue) {
  const std::string stockfish = findStockfish();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish not installed";
  EngineClient engine;
  engine.createEngineClient(stockfish);
  ASSERT_TRUE(engine.startEngine(EngineClient::kNormal));
  engine.sendToEngine("uci\n");
  engine.waitForEngine(100);
  Console console = Console::capturing();
  platform::Timers timers;
  // Loading the network takes long on a busy machine; the analyses below measure only themselves.
  ASSERT_TRUE(waitReady(engine, timers, 20000));

  // Back-rank mate in one: Ra8#. Stockfish reports only "score mate 1", so no cp value comes.
  std::string pv;
  int depth = 0;
  int value = 0;
  EXPECT_TRUE(analysePosition(engine, console, timers, "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 200,
                              pv, depth, value, false, false, 16));
  EXPECT_GT(depth, 0);
  EXPECT_EQ(value, 12345);
  EXPECT_EQ(pv.substr(0, 4), "a1a8");

  // The start position, written with the program's own start string, is about level.
  pv.clear();
  EXPECT_TRUE(analysePosition(engine, console, timers,
                              "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -", 200,
                              pv, depth, value, true, true, 16));
  EXPECT_GT(depth, 0);
  EXPECT_GT(value, -100);
  EXPECT_LT(value, 100);
  EXPECT_TRUE(looksLikeMoves(pv)) << pv;
  EXPECT_NE(console.captured().find("\nd="), std::string::npos);  // shown with scroll
  EXPECT_TRUE(engine.terminateEngine());
}

}  // namespace
}  // namespace kestrova
