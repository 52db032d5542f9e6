// Reading the open PGN file one game at a time.
#include "pgn_support.hpp"

namespace kestrova::test {
namespace {

// What one readNextGame returns, the game buffer and the first tag line ("" for none).
struct Read { int result; std::string buffer, firstTag; };

// A game runs from its first tag line to its result token or to the next tag line: not to a blank
// line. Text between games, "%" lines and CR LF line ends are passed over; a game too large for
// the buffers is passed over whole, and the next read starts at the next game.
TEST_F(PgnTest, ReadsOneGameAtATimeWhateverItsLayout) {
  std::string forty;
  for (int i = 1; i <= 40; ++i) forty += std::to_string(i) + ". e4 e5\n";
  const int kGame = PgnFile::kGame, kEnd = PgnFile::kEnd, kTooLarge = PgnFile::kTooLarge;
  const struct { std::string content; std::vector<Read> reads; int gameSize = 30000, lineSize = 5000; } cases[] = {
      {"[Event \"E\"]\r\n[White \"A\"]\r\n\r\n1. e4 e5\r\n2. Nf3 1-0\r\n\r\n[Event \"F\"]\n\n1. d4\n0-1\n\n",
       {{kGame, "\n1. e4 e5\n2. Nf3 1-0\n", "[Event \"E\"]"}, {kGame, "\n1. d4\n0-1\n", "[Event \"F\"]"}, {kEnd, "", ""}}},
      {"Words about\nthis file.\n\n[Event \"E\"]\n\n1. e4 *\nmore words\n[Event \"F\"]\n1. d4 *",
       {{kGame, "\n1. e4 *\n", "[Event \"E\"]"}, {kGame, "1. d4 *\n", "[Event \"F\"]"}, {kEnd, "", ""}}},
      // Blank lines, a "%" line and a comment holding a tag-like line stay inside the movetext.
      {"[Event \"E\"]\n\n1. e4 e5\n\n%escaped\n2. Nf3 {a\n[%clk 0:01]} Nc6\n\n3. Bb5 1/2-1/2\n[Event \"F\"]\n\n*\n",
       {{kGame, "\n1. e4 e5\n\n2. Nf3 {a\n[%clk 0:01]} Nc6\n\n3. Bb5 1/2-1/2\n", ""}, {kGame, "\n*\n", "[Event \"F\"]"}}},
      // A result inside a comment or a variation does not end the game; a game without one ends at
      // the next tag line or the file's end.
      {"[Event \"E\"]\n1. e4 {1-0} (1. d4 0-1) e5\n[Site \"S\"]\n1. d4", {{kGame, "1. e4 {1-0} (1. d4 0-1) e5\n", ""},
                                                                          {kGame, "1. d4\n", "[Site \"S\"]"}}},
      {"[Event \"E\"]\n\n" + forty + "*\n\n[Event \"F\"]\n\n1. d4 *\n\n",
       {{kTooLarge, "", ""}, {kGame, "\n1. d4 *\n", "[Event \"F\"]"}, {kEnd, "", ""}}, 200, 50},
      {"[Event \"E\"]\n\n1. e4 " + std::string(60, 'x') + "\n*\n\n[Event \"F\"]\n\n1. d4 *\n\n",
       {{kTooLarge, "", ""}, {kGame, "\n1. d4 *\n", "[Event \"F\"]"}}, 30000, 50},
  };
  for (const auto& c : cases) {
    gameSize = c.gameSize;
    lineSize = c.lineSize;
    open(c.content);
    for (std::size_t i = 0; i < c.reads.size(); ++i) {
      SCOPED_TRACE(c.content.substr(0, 30) + " read " + std::to_string(i + 1));
      const Read& read = c.reads[i];
      ASSERT_EQ(pgn.readNextGame(console), read.result);
      if (read.result == kGame) { EXPECT_EQ(pgn.gameBuffer(), read.buffer); }
      if (!read.firstTag.empty()) { EXPECT_EQ(pgn.header().lines[0], read.firstTag); }
      if (read.result != kEnd) { EXPECT_EQ(pgn.gameNumber(), i + 1); }
    }
    EXPECT_EQ(console.takeCaptured(), "");
  }
  EXPECT_TRUE(pgn.open("games") && pgn.name() == "games.pgn" && !pgn.open("missing") && !pgn.isOpen());
}

}  // namespace
}  // namespace kestrova::test
