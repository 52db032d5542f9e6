#include "pgn/pgn_file.hpp"

#include <gtest/gtest.h>

#include <sstream>

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

// What one readNextGame returns; nullptr: not checked.
struct Step {
  int result;
  const char* buffer;
  const char* messages;
  const char* firstTag = nullptr;
  int tagCount = -1;
};

struct ReadCase {
  const char* name;
  std::string content;
  std::vector<Step> steps;
  int gameSize = 30000, lineSize = 5000;
};

TEST_F(PgnReading, OddLayoutsReadAsOneGameEach) {
  const char* kE4 = "1. e4 * \n";
  const std::string kWarnEnd = "1: Warning ! malformed pgn's structure or unexpected end of file\n";
  const std::string kWarnBlank = "1: Warning ! no carrier return found at the end of the moves list!\n";
  const std::string kWarnBoth = kWarnBlank + kWarnEnd;
  std::string forty;
  for (int i = 1; i <= 40; ++i) forty += std::to_string(i) + ". e4 e5\n";
  const ReadCase cases[] = {
      {"CarriageReturns", "[Event \"E\"]\r\n\r\n1. e4 e5\r\n2. Nf3 1-0\r\n\r\n[Event \"F\"]\r\n\r\n1. d4\r\n0-1\r\n\r\n",
       {{PgnFile::kGame, "1. e4 e5 2. Nf3 1-0 \n", "", "[Event \"E\"]\n"}, {PgnFile::kGame, "1. d4 0-1 \n", ""}}},
      {"FreeTextBeforeTheFirstGame", "Some words about\nthis file.\n\n[Event \"E\"]\n\n1. e4 *\n\n",
       {{PgnFile::kGame, kE4, ""}}},
      {"ResultAloneMeansNoMoves", "[Event \"E\"]\n\n1-0\n\n[Event \"F\"]\n\n1. e4 *\n\n",
       {{PgnFile::kGame, "", "> 1: no move found in this game                 \n"}, {PgnFile::kGame, kE4, nullptr}}},
      {"SetUpMovetextStartsWithItsMoveNumber",
       "[Event \"E\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 23\"]\n\n23. Kb1 Kg1 *\n\n[Event \"F\"]\n\n 41... Kb2 *\n\n",
       {{PgnFile::kGame, "23. Kb1 Kg1 * \n", ""}, {PgnFile::kGame, " 41... Kb2 * \n", ""}}},
      {"TextThatIsNotMovetextSkipsTheGame", "[Event \"E\"]\n\nGame abandoned\n\n[Event \"F\"]\n\n1. e4 *\n\n",
       {{PgnFile::kSkip, nullptr, "1: moves list not loadable : ??? => \"Game abandoned\n\"\n"},
        {PgnFile::kGame, kE4, nullptr, "[Event \"F\"]\n"}}},
      {"LongLineBeforeTheMovetext", "[Event \"E\"]\n\n" + std::string(120, 'z') + "\n1. e4 e5\n2. d4 *\n\n",
       {{PgnFile::kGame, "1. e4 e5 2. d4 * \n", ""}}},
      {"MissingBlankLineKeepsTheNextFirstTag",
       "[Event \"E\"]\n\n1. e4 e5\n2. Nf3 1-0\n[Event \"F\"]\n[Site \"S\"]\n\n1. d4 d5\n0-1\n\n",
       {{PgnFile::kGame, "1. e4 e5 2. Nf3 1-0 \n", kWarnBlank.c_str()},
        {PgnFile::kGame, "1. d4 d5 0-1 \n", nullptr, "[Event \"F\"]\n"}}},
      {"MissingBlankLineAfterOneLineMovetextWarnsTwice", "[Event \"E\"]\n\n1. e4 1-0\n[White \"W\"]\n\n1. d4 *\n\n",
       {{PgnFile::kGame, nullptr, kWarnBoth.c_str()},
        {PgnFile::kGame, nullptr, nullptr, "[White \"W\"]\n"}}},
      {"LastGameWithoutTrailingBlankLine", "[Event \"E\"]\n\n1. e4 e5\n2. d4 *",
       {{PgnFile::kGame, "1. e4 e5 2. d4 * \n", ""}}},
      {"TagsAtTheEndOfTheFile", "[Event \"E\"]\n[Site \"S\"]\n",
       {{PgnFile::kGame, nullptr, kWarnEnd.c_str(), nullptr, 2}, {PgnFile::kEnd, nullptr, ""}}},
      {"MovetextLargerThanTheBufferIsRefused", "[Event \"E\"]\n\n" + forty + "*\n\n[Event \"F\"]\n\n1. d4 *\n\n",
       {{PgnFile::kTooLarge, nullptr,
         "> The game or line buffer is too small for this game. You must increase the game buffer size !\n"},
        {PgnFile::kGame, "1. d4 * \n", nullptr, "[Event \"F\"]\n"}},
       200, 50},
      {"LineLongerThanTheLineBuffer", "[Event \"E\"]\n\n1. e4 {" + std::string(60, 'c') + "} e5 *\n\n",
       {{PgnFile::kTooLarge, nullptr, nullptr}}, 200, 50},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    load(c.content, c.gameSize, c.lineSize);
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("read " + std::to_string(i + 1));
      const Step& step = c.steps[i];
      ASSERT_EQ(next(), step.result);
      if (step.buffer) { EXPECT_EQ(pgn.gameBuffer(), step.buffer); }
      if (step.messages) { EXPECT_EQ(messages(), step.messages); }
      if (step.firstTag) { EXPECT_EQ(header(0), step.firstTag); }
      if (step.tagCount >= 0) { EXPECT_EQ(pgn.header().count, step.tagCount); }
      if (step.result == PgnFile::kGame) { EXPECT_EQ(pgn.gameNumber(), i + 1); }
    }
  }
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
  std::istringstream written(dir.read("out.pgn"));
  std::string rebuilt, line;
  while (std::getline(written, line)) {
    if (written.peek() != EOF) {
      EXPECT_GE(line.size(), 91u) << line;
      EXPECT_LE(line.size(), 98u) << line;  // moves here are at most 8 characters
    }
    rebuilt += line + (written.peek() != EOF ? ' ' : '\n');
  }
  EXPECT_EQ(rebuilt, movetext);
}

}  // namespace
}  // namespace kestrova
