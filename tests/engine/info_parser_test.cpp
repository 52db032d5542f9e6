#include "engine/info_parser.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/console.hpp"

namespace kestrova {
namespace {

// Feeds the text four bytes at a time, as the engine client reads it.
void feed(InfoParser& parser, const std::string& text, Console& console) {
  for (std::size_t at = 0; at < text.size(); at += 4) parser.addChunk(text.substr(at, 4), console);
}

const std::string kOverwrite = "\r" + std::string(78, ' ') + "\r";

TEST(InfoParser, ReadsAnInfoLineOnceTheNextOneBegins) {
  Console console = Console::capturing();
  InfoParser parser(false, false);
  feed(parser, "info depth 12 seldepth 20 multipv 1 score cp -35 nodes 100 pv e7e5 g1f3\n", console);
  EXPECT_EQ(parser.depth(), 0) << "nothing is read before the next \"inf\" arrives";
  EXPECT_FALSE(parser.hasPv());
  feed(parser, "inf", console);
  EXPECT_EQ(parser.depth(), 12);
  EXPECT_EQ(parser.value(), -35);
  EXPECT_EQ(parser.pv(), "e7e5 g1f3");
  EXPECT_EQ(parser.text(), "inf");
  EXPECT_EQ(console.captured(), "");
}

TEST(InfoParser, DepthScoreAndMateCases) {
  struct Case {
    const char* text;
    int depth;
    int value;
    const char* pv;
  };
  const Case cases[] = {
      {"info depth 123 score cp 10 pv e2e4\ninfo", 12, 10, "e2e4"},
      {"info depth 7 score mate 3 pv f1c4 g8f6 d1h5\ninfo", 7, 12345, "f1c4 g8f6 d1h5"},
      {"info depth 4 nodes 10\ninfo nodes 20\ninfo", 4, 12345, ""},
      {"info depth 9 score cp +27 pv d2d4\r\ninfo", 9, 27, "d2d4"},
      // A pv of an earlier line is replaced; a mate score keeps the last cp value.
      {"info depth 5 score cp 40 pv a2a3\ninfo depth 6 score mate 2 pv b2b3\ninfo", 6, 40, "b2b3"},
      // Text before the first info line is skipped.
      {"uciok\nreadyok\ninfo depth 3 score cp 1 pv c2c4\ninfo", 3, 1, "c2c4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Console console = Console::capturing();
    InfoParser parser(false, false);
    feed(parser, c.text, console);
    EXPECT_EQ(parser.depth(), c.depth);
    EXPECT_EQ(parser.value(), c.value);
    EXPECT_EQ(parser.hasPv() ? parser.pv() : std::string(), c.pv);
  }
}

TEST(InfoParser, LongNumbersAndVariationsAreCutNotOverrun) {
  std::string pv;
  for (int i = 0; i < 300; ++i) pv += "e2e4 ";
  const struct {
    std::string text;
    int value;
    std::string pv;
  } cases[] = {
      {"info depth 8 score cp " + std::string(510, '0') + "7 pv a2a3\ninfo", 7, "a2a3"},  // 511 characters: all read
      {"info depth 8 score cp " + std::string(511, '0') + "7 pv a2a3\ninfo", 0, "a2a3"},  // the 512th is cut off
      {"info depth 8 score cp -" + std::string(300, '9') + " pv a2a3\ninfo", INT_MIN, "a2a3"},
      {"info depth 20 score cp 15 pv " + pv + "\ninfo", 15, pv.substr(0, 1023)},
  };
  for (const auto& c : cases) {
    Console console = Console::capturing();
    InfoParser parser(false, false);
    feed(parser, c.text, console);
    EXPECT_EQ(parser.value(), c.value) << c.text.size();
    EXPECT_EQ(parser.pv(), c.pv);
  }
}

TEST(InfoParser, TextThatWouldReach2048BytesStartsAgainWithTheChunk) {
  Console console = Console::capturing();
  InfoParser parser(false, false);
  feed(parser, std::string(2044, '.'), console);
  parser.addChunk("info", console);
  EXPECT_EQ(parser.text(), "info");
  feed(parser, " depth 3 score cp 5 pv g1f3\ninfo", console);
  EXPECT_EQ(parser.depth(), 3);
  EXPECT_EQ(parser.pv(), "g1f3");
}

TEST(InfoParserDisplay, OverwritesOneLineWithoutScroll) {
  Console console = Console::capturing();
  InfoParser parser(true, false);
  feed(parser,
       "info depth 1 score cp 20 pv e2e4\ninfo depth 2 score cp -5 pv d2d4 d7d5\n"
       "info depth 3 score mate 2 pv g1f3\ninfo",
       console);
  EXPECT_EQ(console.captured(), kOverwrite + "d=1\tv=20\te2e4" + kOverwrite +
                                    "d=2\tv=-5\td2d4 d7d5" + kOverwrite + "d=3\tv=-5\tg1f3");
}

TEST(InfoParserDisplay, ScrollsAndShowsAtMostSixtyCharacters) {
  Console console = Console::capturing();
  InfoParser parser(true, true);
  const std::string longPv =
      "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 a4b3 d7d6";  // 69 characters
  feed(parser, "info depth 1 score cp 20 pv e2e4\ninfo depth 14 score cp 31 pv " + longPv + "\ninfo",
       console);
  EXPECT_EQ(console.captured(),
            "\nd=1\tv=20\te2e4"
            "\nd=14\tv=31\te2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 ...");
  EXPECT_EQ(parser.pv(), longPv);
}

}  // namespace
}  // namespace kestrova
