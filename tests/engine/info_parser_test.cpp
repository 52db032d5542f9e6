// Reading an engine's info lines as the client receives them, four bytes at a time.
#include "engine/info_parser.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "platform/console.hpp"

namespace kestrova {
namespace {

// The parser after the text; what it displayed goes to the console.
InfoParser parse(const std::string& text, Console& console, bool show = false, bool scroll = false) {
  InfoParser parser(show, scroll);
  for (std::size_t at = 0; at < text.size(); at += 4) parser.addChunk(text.substr(at, 4), console);
  return parser;
}

TEST(InfoParser, TakesDepthScoreAndVariationOfTheLastScoredCompleteLine) {
  const int lowest = -1000000 + 10000 + 1;  // centipawns stay below any mate value
  const std::tuple<std::string, int, int, std::string> cases[] = {
      {"info depth 123 score cp 10 pv e2e4\n", 123, 10, "e2e4"},
      {"info depth 9 score cp 10 pv e2e4", 0, 12345, ""},  // no line end yet
      {"info depth 7 score mate 3 pv f1c4 g8f6 d1h5\n", 7, 1000000 - 3, "f1c4 g8f6 d1h5"},
      {"info depth 0 score mate 0\nbestmove (none)\n", 0, -1000000, ""},  // mated: a value, no move
      {"info depth 4 score mate -2 pv e1e2\n", 4, -1000000 + 2, "e1e2"},
      {"info depth 4 nodes 10\ninfo nodes 20\n", 0, 12345, ""},
      {"info depth 9 score cp +27 pv d2d4\r\n", 9, 27, "d2d4"},
      // A line without a score (the move being searched) changes nothing; a later scored line replaces all.
      {"info depth 5 score cp 40 pv a2a3\ninfo depth 6 currmove b2b3 currmovenumber 2\n", 5, 40, "a2a3"},
      {"info depth 5 score cp 40 pv a2a3\ninfo depth 6 score cp 20 upperbound pv b2b3\n", 6, 20, "b2b3"},
      {"uciok\nreadyok\ninfo string score cp 99 pv h2h4\ninfo depth 3 score cp 1 pv c2c4\n", 3, 1, "c2c4"},
      {"info depth 8 score cp -" + std::string(300, '9') + " pv a2a3\n", 8, lowest, "a2a3"},
      {"info depth 20 score cp 15 pv " + std::string(1100, 'a') + "\n", 20, 15, std::string(1023, 'a')},
      // A line beyond 2,048 bytes is skipped whole, and the next read.
      {"info depth 3 score cp 5 pv g1f3 " + std::string(2100, 'x') + "\ninfo depth 2 score cp 6 pv h2h3\n", 2, 6, "h2h3"},
  };
  for (const auto& [text, depth, value, pv] : cases) {
    Console console = Console::capturing();
    const InfoParser parser = parse(text, console);
    const std::string read = parser.hasPv() ? parser.pv() : "";
    EXPECT_EQ(std::tuple(parser.depth(), parser.value(), read), std::tuple(depth, value, pv)) << text.substr(0, 80);
    EXPECT_EQ(console.captured(), "");
  }
  const std::pair<int, const char*> shown[] = {{999000, "M1000"}, {-1000000, "-M0"}, {-999997, "-M3"}, {lowest, "-989999"}};
  for (const auto& [value, text] : shown) EXPECT_EQ(formatValue(value), text);
}

TEST(InfoParser, ShowsEachVariationOverTheLastOnATerminalOrOnANewLineCutAtSixtyCharacters) {
  const std::string pv = "a2a3 b7b6 c2c3 d7d6 e2e3 f7f6 g2g3 h7h6 a3a4 b6b5 c3c4 d6d5 e3e4";  // 64 characters
  // A line is overwritten on a terminal only.
  for (const auto& [scroll, terminal] : {std::pair{false, true}, {true, true}, {false, false}}) {
    Console console = Console::capturing();
    console.setTerminal(terminal);
    const InfoParser parser = parse("info depth 1 score cp 20 pv e2e4\ninfo depth 2 score mate 2 pv " + pv + "\n",
                                    console, true, scroll);
    const std::string start = scroll || !terminal ? "\n" : "\r" + std::string(78, ' ') + "\r";
    EXPECT_EQ(console.captured(), start + "d=1\tv=20\te2e4" + start + "d=2\tv=M2\t" + pv.substr(0, 60) + "...");
    EXPECT_EQ(parser.pv(), pv) << "kept whole";
  }
}

}  // namespace
}  // namespace kestrova
