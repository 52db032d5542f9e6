#include "pgn/pgn_file.hpp"

#include <gtest/gtest.h>

#include "platform/output_file.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

class PgnReading : public ::testing::Test {
 protected:
  void load(const std::string& content, int gameSize = 30000, int lineSize = 5000) {
    dir.write("games.pgn", content);
    pgn.create(console, gameSize, lineSize, 30000);
    console.takeCaptured();
    ASSERT_TRUE(pgn.open("games.pgn"));
  }
  int next() { return pgn.readNextGame(console); }
  std::string messages() { return console.takeCaptured(); }
  std::string header(int i) const { return pgn.header().lines[i]; }

  test::ScratchDir dir;
  Console console = Console::capturing();
  PgnFile pgn;
};

TEST_F(PgnReading, ReadsTagsAndMovetextAsOneLine) {
  load("[Event \"E\"]\n[White \"A\"]\n\n1. e4 e5\n2. Nf3 1-0\n\n[Event \"F\"]\n\n1. d4 0-1\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameNumber(), 1u);
  EXPECT_EQ(pgn.header().count, 2);
  EXPECT_EQ(header(0), "[Event \"E\"]\n");
  EXPECT_EQ(header(1), "[White \"A\"]\n");
  EXPECT_EQ(header(2), "");
  EXPECT_EQ(pgn.gameBuffer(), "1. e4 e5 2. Nf3 1-0 \n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameNumber(), 2u);
  EXPECT_EQ(pgn.gameBuffer(), "1. d4 0-1 \n");
  EXPECT_EQ(messages(), "2: Warning ! malformed pgn's structure or unexpected end of file\n")
      << "a one-line movetext that ends the file has no second line";
  EXPECT_EQ(next(), PgnFile::kEnd);
  EXPECT_EQ(messages(), "");
  pgn.rewind();
  EXPECT_EQ(pgn.gameNumber(), 0u);
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(header(0), "[Event \"E\"]\n");
}

TEST_F(PgnReading, CarriageReturnLineEndsReadLikeLineFeeds) {
  load("[Event \"E\"]\r\n\r\n1. e4 e5\r\n2. Nf3 1-0\r\n\r\n[Event \"F\"]\r\n\r\n1. d4\r\n0-1\r\n\r\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(header(0), "[Event \"E\"]\n");
  EXPECT_EQ(pgn.gameBuffer(), "1. e4 e5 2. Nf3 1-0 \n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameBuffer(), "1. d4 0-1 \n");
  EXPECT_EQ(messages(), "");
}

TEST_F(PgnReading, SkipsFreeTextBeforeTheFirstGame) {
  load("Some words about\nthis file.\n\n[Event \"E\"]\n\n1. e4 *\n\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameNumber(), 1u);
  EXPECT_EQ(pgn.gameBuffer(), "1. e4 * \n");
  EXPECT_EQ(messages(), "");
}

TEST_F(PgnReading, ResultAloneMeansNoMoves) {
  load("[Event \"E\"]\n\n1-0\n\n[Event \"F\"]\n\n1. e4 *\n\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameBuffer(), "");
  EXPECT_EQ(messages(), "> 1: no move found in this game                 \n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameBuffer(), "1. e4 * \n");
}

TEST_F(PgnReading, MovetextOfASetUpPositionStartsWithItsMoveNumber) {
  load("[Event \"E\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 23\"]\n\n23. Kb1 Kg1 *\n\n[Event \"F\"]\n\n 41... Kb2 *\n\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameBuffer(), "23. Kb1 Kg1 * \n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameBuffer(), " 41... Kb2 * \n");
  EXPECT_EQ(messages(), "");
}

TEST_F(PgnReading, TextThatIsNotMovetextSkipsTheGame) {
  load("[Event \"E\"]\n\nGame abandoned\n\n[Event \"F\"]\n\n1. e4 *\n\n");
  EXPECT_EQ(next(), PgnFile::kSkip);
  EXPECT_EQ(messages(), "1: moves list not loadable : ??? => \"Game abandoned\n\"\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameNumber(), 2u);
}

TEST_F(PgnReading, LongLineBeforeTheMovetextIsPassedOver) {
  load("[Event \"E\"]\n\n" + std::string(120, 'z') + "\n1. e4 e5\n2. d4 *\n\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameBuffer(), "1. e4 e5 2. d4 * \n");
  EXPECT_EQ(messages(), "");
}

TEST_F(PgnReading, MissingBlankLineKeepsTheNextGamesFirstTag) {
  load("[Event \"E\"]\n\n1. e4 e5\n2. Nf3 1-0\n[Event \"F\"]\n[Site \"S\"]\n\n1. d4 d5\n0-1\n\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameBuffer(), "1. e4 e5 2. Nf3 1-0 \n");
  EXPECT_EQ(messages(), "1: Warning ! no carrier return found at the end of the moves list!\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameNumber(), 2u);
  EXPECT_EQ(header(0), "[Event \"F\"]\n");
  EXPECT_EQ(header(1), "[Site \"S\"]\n");
  EXPECT_EQ(pgn.gameBuffer(), "1. d4 d5 0-1 \n");
}

TEST_F(PgnReading, MissingBlankLineAfterOneLineMovetextWarnsTwice) {
  load("[Event \"E\"]\n\n1. e4 1-0\n[White \"W\"]\n\n1. d4 *\n\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(messages(),
            "1: Warning ! no carrier return found at the end of the moves list!\n"
            "1: Warning ! malformed pgn's structure or unexpected end of file\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(header(0), "[White \"W\"]\n");
}

TEST_F(PgnReading, LastGameWithoutTrailingBlankLineAndTagsAtEndOfFile) {
  load("[Event \"E\"]\n\n1. e4 e5\n2. d4 *");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.gameBuffer(), "1. e4 e5 2. d4 * \n");
  EXPECT_EQ(messages(), "");
  load("[Event \"E\"]\n[Site \"S\"]\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.header().count, 2);
  EXPECT_EQ(messages(), "1: Warning ! malformed pgn's structure or unexpected end of file\n");
  EXPECT_EQ(next(), PgnFile::kEnd);
}

TEST_F(PgnReading, OverlongTagLinesAndTooManyTagsAreCut) {
  std::string tags = "[Event \"" + std::string(150, 'x') + "\"]\n";
  for (int i = 0; i < 45; ++i) tags += "[Tag" + std::to_string(i) + " \"v\"]\n";
  load(tags + "\n1. e4 *\n\n");
  ASSERT_EQ(next(), PgnFile::kGame);
  EXPECT_EQ(pgn.header().count, 37);
  EXPECT_EQ(header(0).size(), 99u);
  EXPECT_EQ(header(0).back(), '\n');
  EXPECT_EQ(header(37), "");
  EXPECT_EQ(pgn.gameBuffer(), "1. e4 * \n");
}

TEST_F(PgnReading, MovetextLargerThanTheBufferIsRefused) {
  std::string moves;
  for (int i = 1; i <= 40; ++i) moves += std::to_string(i) + ". e4 e5\n";
  load("[Event \"E\"]\n\n" + moves + "*\n\n[Event \"F\"]\n\n1. d4 *\n\n", 200, 50);
  EXPECT_EQ(next(), PgnFile::kTooLarge);
  EXPECT_EQ(messages(),
            "> The game or line buffer is too small for this game. You must increase the game buffer size !\n");
  ASSERT_EQ(next(), PgnFile::kGame) << "reading goes on with the next game";
  EXPECT_EQ(header(0), "[Event \"F\"]\n");
  load("[Event \"E\"]\n\n1. e4 {" + std::string(60, 'c') + "} e5 *\n\n", 200, 50);
  EXPECT_EQ(next(), PgnFile::kTooLarge) << "a line longer than the line buffer";
}

TEST_F(PgnReading, NoFileOpen) {
  PgnFile empty;
  EXPECT_EQ(empty.readNextGame(console), PgnFile::kEnd);
  EXPECT_EQ(messages(), "- no PGN-file in memory. Please load a pgn file\n");
}

TEST_F(PgnReading, OpenAddsTheExtensionAndCountsGenerations) {
  load("[Event \"E\"]\n\n1. e4 *\n\n");
  const auto generation = pgn.generation();
  EXPECT_TRUE(pgn.open("games"));
  EXPECT_EQ(pgn.name(), "games.pgn");
  EXPECT_GT(pgn.generation(), generation);
  EXPECT_FALSE(pgn.open("missing"));
  EXPECT_FALSE(pgn.isOpen());
}

TEST(PgnWriting, LineBreaksAtTheFirstBlankAfterColumnNinety) {
  test::ScratchDir dir;
  std::string movetext;
  for (int i = 1; i <= 30; ++i) movetext += std::to_string(i) + ".e4 e5 ";
  movetext += "1-0\n";
  {
    platform::OutputFile out;
    ASSERT_TRUE(out.create("out.pgn"));
    writeWithLineBreaks(out, movetext);
  }
  const std::string written = dir.read("out.pgn");
  std::string rebuilt;
  std::size_t start = 0;
  for (std::size_t end = written.find('\n'); end != std::string::npos; end = written.find('\n', start)) {
    const std::string line = written.substr(start, end - start);
    if (end + 1 < written.size()) {
      EXPECT_GE(line.size(), 91u) << line;
      EXPECT_LE(line.size(), 98u) << line;  // moves here are at most 8 characters
      rebuilt += line + ' ';
    } else {
      rebuilt += line + '\n';
    }
    start = end + 1;
  }
  EXPECT_EQ(rebuilt, movetext);
}

}  // namespace
}  // namespace kestrova
