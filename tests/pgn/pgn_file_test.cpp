// Reading the open PGN file one game at a time.
#include "pgn_support.hpp"

namespace kestrova::test {
namespace {

// What one readNextGame returns, the game buffer, the messages and the first tag line (nullptr: not checked).
struct Read { int result; const char *buffer, *messages, *firstTag = nullptr; };

TEST_F(PgnTest, ReadsOneGameAtATimeWhateverItsLayout) {
  const std::string warnEnd = "1: Warning ! malformed pgn's structure or unexpected end of file\n";
  const std::string warnBlank = "1: Warning ! no carrier return found at the end of the moves list!\n";
  const std::string warnBoth = warnBlank + warnEnd;  // named: the table keeps pointers into it
  std::string forty;
  for (int i = 1; i <= 40; ++i) forty += std::to_string(i) + ". e4 e5\n";
  const int kGame = PgnFile::kGame, kEnd = PgnFile::kEnd;
  const struct { std::string content; std::vector<Read> reads; int gameSize = 30000, lineSize = 5000; } cases[] = {
      {"[Event \"E\"]\r\n[White \"A\"]\r\n\r\n1. e4 e5\r\n2. Nf3 1-0\r\n\r\n[Event \"F\"]\n\n1. d4\n0-1\n\n",
       {{kGame, "1. e4 e5 2. Nf3 1-0 \n", "", "[Event \"E\"]\n"}, {kGame, "1. d4 0-1 \n", ""}, {kEnd, nullptr, ""}}},
      {"Words about\nthis file.\n\n[Event \"E\"]\n\n1. e4 *\n\n", {{kGame, "1. e4 * \n", ""}}},
      {"[Event \"E\"]\n\n1-0\n\n[Event \"F\"]\n\n1. e4 *\n\n",
       {{kGame, "", "> 1: no move found in this game                 \n"}, {kGame, "1. e4 * \n", ""}}},
      {"[FEN \"8/8/8/8/8/8/8/K6k w - - 0 23\"]\n\n23. Kb1 Kg1 *\n\n[Event \"F\"]\n\n 41... Kb2 *\n\n",
       {{kGame, "23. Kb1 Kg1 * \n", ""}, {kGame, " 41... Kb2 * \n", ""}}},
      {"[Event \"E\"]\n\nGame abandoned\n\n[Event \"F\"]\n\n1. e4 *\n\n",
       {{PgnFile::kSkip, nullptr, "1: moves list not loadable : ??? => \"Game abandoned\n\"\n"},
        {kGame, "1. e4 * \n", "", "[Event \"F\"]\n"}}},
      {"[Event \"E\"]\n\n" + std::string(120, 'z') + "\n1. e4 e5\n2. d4 *\n\n", {{kGame, "1. e4 e5 2. d4 * \n", ""}}},
      // Without the blank line after a movetext, the tag line that ends it is the next game's first.
      {"[Event \"E\"]\n\n1. e4 e5\n2. Nf3 1-0\n[Event \"F\"]\n[Site \"S\"]\n\n1. d4 d5\n0-1\n\n",
       {{kGame, "1. e4 e5 2. Nf3 1-0 \n", warnBlank.c_str()}, {kGame, "1. d4 d5 0-1 \n", "", "[Event \"F\"]\n"}}},
      {"[Event \"E\"]\n\n1. e4 1-0\n[White \"W\"]\n\n1. d4 *\n\n",
       {{kGame, "1. e4 1-0 \n", warnBoth.c_str()}, {kGame, "1. d4 * \n", nullptr, "[White \"W\"]\n"}}},
      {"[Event \"E\"]\n\n1. e4 e5\n2. d4 *", {{kGame, "1. e4 e5 2. d4 * \n", ""}}},
      {"[Event \"E\"]\n[Site \"S\"]\n", {{kGame, "\n", warnEnd.c_str(), "[Event \"E\"]\n"}}},
      {"[Event \"E\"]\n\n" + forty + "*\n\n[Event \"F\"]\n\n1. d4 *\n\n",
       {{PgnFile::kTooLarge, nullptr,
         "> The game or line buffer is too small for this game. You must increase the game buffer size !\n"},
        {kGame, "1. d4 * \n", "", "[Event \"F\"]\n"}}, 200, 50},
  };
  for (const auto& c : cases) {
    gameSize = c.gameSize;
    lineSize = c.lineSize;
    open(c.content);
    for (std::size_t i = 0; i < c.reads.size(); ++i) {
      SCOPED_TRACE(c.content.substr(0, 30) + " read " + std::to_string(i + 1));
      const Read& read = c.reads[i];
      ASSERT_EQ(pgn.readNextGame(console), read.result);
      if (read.buffer) { EXPECT_EQ(pgn.gameBuffer(), read.buffer); }
      if (read.messages) { EXPECT_EQ(console.takeCaptured(), read.messages); }
      if (read.firstTag) { EXPECT_EQ(pgn.header().lines[0], read.firstTag); }
      if (read.result != kEnd) { EXPECT_EQ(pgn.gameNumber(), i + 1); }
    }
  }
  EXPECT_TRUE(pgn.open("games") && pgn.name() == "games.pgn" && !pgn.open("missing") && !pgn.isOpen());
}

}  // namespace
}  // namespace kestrova::test
