#include "shell/command_line.hpp"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

TEST(CommandLineSplit, SeparatesWordsAtBlanksAndDropsQuotes) {
  CommandLine line;
  line.split("select   White=\"Stock fish\"  -out=\"my games.pgn\" x");
  EXPECT_EQ(line.wordCount(), 4u);
  EXPECT_EQ(line.word(0), "select");
  EXPECT_EQ(line.word(1), "White=Stock fish");
  EXPECT_EQ(line.word(2), "-out=my games.pgn");
  EXPECT_EQ(line.word(3), "x");
  EXPECT_FALSE(line.hasWord(4));
}

TEST(CommandLineSplit, LeadingBlankGivesEmptyCommandWord) {
  CommandLine line;
  line.split("  open file.pgn");
  EXPECT_FALSE(line.hasWord(0));
  EXPECT_EQ(line.word(1), "open");
  EXPECT_EQ(line.word(2), "file.pgn");
}

TEST(CommandLineSplit, UnclosedQuoteTakesTheRestOfTheLine) {
  CommandLine line;
  line.split("open \"a b  c");
  EXPECT_EQ(line.word(1), "a b  c");
  EXPECT_EQ(line.wordCount(), 2u);
}

TEST(CommandLineSplit, EmptyLineGivesNoWordsAndClearsThePreviousOnes) {
  CommandLine line;
  line.split("a b c");
  line.split("");
  EXPECT_EQ(line.wordCount(), 0u);
  EXPECT_FALSE(line.hasWord(0));
  EXPECT_FALSE(line.hasWord(2));
}

TEST(CommandLineSplit, CutsOverlongWordsAndIgnoresWordsBeyondTheStore) {
  CommandLine line;
  std::string text = "w " + std::string(300, 'a');
  for (int i = 0; i < 600; ++i) text += " x" + std::to_string(i);
  line.split(text);
  EXPECT_EQ(line.word(1).size(), CommandLine::kMaxWordLength);
  EXPECT_EQ(line.wordCount(), CommandLine::kMaxWords);
  EXPECT_EQ(line.word(499), "x497");
}

TEST(CommandLineWords, MatchWordIgnoresCaseAndLowerCasesInPlace) {
  CommandLine line;
  line.split("OPEN Games.PGN");
  EXPECT_FALSE(line.matchWord(0, "verbose"));
  EXPECT_EQ(line.word(0), "open");  // lower-cased even without a match
  EXPECT_TRUE(line.matchWord(0, "open"));
  EXPECT_EQ(line.word(1), "Games.PGN");
  EXPECT_FALSE(line.matchWord(5, "x"));
}

TEST(CommandLineWords, FindOptionIsCaseSensitiveAndStopsAtTheFirstAbsentWord) {
  CommandLine line;
  line.split("cut 40 -OUT=a -out=b.pgn -rev");
  EXPECT_EQ(line.findOption("-out="), 3u);
  EXPECT_EQ(line.optionValue("-out="), "b.pgn");
  EXPECT_EQ(line.findOption("-rev"), 4u);
  EXPECT_EQ(line.findOption("-ply="), 0u);
  EXPECT_EQ(line.optionValue("-ply="), "");
  line.split("cut 40  ");
  EXPECT_EQ(line.findOption("40"), 1u);
}

TEST(CommandLineWords, HelpRequestAndNumbers) {
  CommandLine line;
  line.split("scan /HELP");
  EXPECT_TRUE(line.wantsHelp());
  line.split("scan /?");
  EXPECT_TRUE(line.wantsHelp());
  line.split("scan /h");
  EXPECT_FALSE(line.wantsHelp());
  line.split("play 12abc -3 x");
  EXPECT_EQ(line.number(1), 12);
  EXPECT_EQ(line.number(2), -3);
  EXPECT_EQ(line.number(3), 0);
  EXPECT_EQ(line.number(9), 0);
}

}  // namespace
}  // namespace kestrova
