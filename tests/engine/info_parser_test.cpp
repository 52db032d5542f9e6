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

TEST(InfoParser, ReadsDepthScoreAndVariationOfEachLineOnceTheNextBegins) {
  const std::tuple<std::string, int, int, std::string> cases[] = {
      {"info depth 123 score cp 10 pv e2e4\ninfo", 12, 10, "e2e4"},  // two digits of depth
      {"info depth 7 score mate 3 pv f1c4 g8f6 d1h5\ninfo", 7, 12345, "f1c4 g8f6 d1h5"},
      {"info depth 4 nodes 10\ninfo nodes 20\ninfo", 4, 12345, ""},
      {"info depth 9 score cp +27 pv d2d4\r\ninfo", 9, 27, "d2d4"},
      // A later line's variation replaces an earlier one; a mate score keeps the last cp value.
      {"info depth 5 score cp 40 pv a2a3\ninfo depth 6 score mate 2 pv b2b3\ninfo", 6, 40, "b2b3"},
      {"uciok\nreadyok\ninfo depth 3 score cp 1 pv c2c4\ninfo", 3, 1, "c2c4"},  // what comes before is skipped
      // A cp number is read up to 511 characters, held within int; a variation is kept up to 1,023.
      {"info depth 8 score cp " + std::string(510, '0') + "7 pv a2a3\ninfo", 8, 7, "a2a3"},
      {"info depth 8 score cp " + std::string(511, '0') + "7 pv a2a3\ninfo", 8, 0, "a2a3"},
      {"info depth 8 score cp -" + std::string(300, '9') + " pv a2a3\ninfo", 8, INT_MIN, "a2a3"},
      {"info depth 20 score cp 15 pv " + std::string(1100, 'a') + "\ninfo", 20, 15, std::string(1023, 'a')},
      // Text that would reach 2,048 bytes starts again with the piece that came.
      {std::string(2044, '.') + "info depth 3 score cp 5 pv g1f3\ninfo", 3, 5, "g1f3"},
  };
  for (const auto& [text, depth, value, pv] : cases) {
    Console console = Console::capturing();
    const InfoParser parser = parse(text, console);
    const std::string read = parser.hasPv() ? parser.pv() : "";
    EXPECT_EQ(std::tuple(parser.depth(), parser.value(), read), std::tuple(depth, value, pv)) << text.substr(0, 80);
    EXPECT_EQ(console.captured(), "");
  }
}

TEST(InfoParser, ShowsEachVariationOverTheLastOnATerminalOrOnANewLineCutAtSixtyCharacters) {
  const std::string pv = "a2a3 b7b6 c2c3 d7d6 e2e3 f7f6 g2g3 h7h6 a3a4 b6b5 c3c4 d6d5 e3e4";  // 64 characters
  // A line is overwritten on a terminal only.
  for (const auto& [scroll, terminal] : {std::pair{false, true}, {true, true}, {false, false}}) {
    Console console = Console::capturing();
    console.setTerminal(terminal);
    const InfoParser parser = parse("info depth 1 score cp 20 pv e2e4\ninfo depth 2 score mate 2 pv " + pv + "\ninfo",
                                    console, true, scroll);
    const std::string start = scroll || !terminal ? "\n" : "\r" + std::string(78, ' ') + "\r";
    EXPECT_EQ(console.captured(), start + "d=1\tv=20\te2e4" + start + "d=2\tv=20\t" + pv.substr(0, 60) + "...");
    EXPECT_EQ(parser.pv(), pv) << "kept whole";
  }
}

}  // namespace
}  // namespace kestrova
