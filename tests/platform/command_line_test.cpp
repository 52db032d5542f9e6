#include "platform/command_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

TEST(CommandLineSplit, SeparatesWordsAtBlanksAndDropsQuotes) {
  const struct {
    const char* text;
    std::vector<std::string> words;  // "" where no word stands
  } cases[] = {
      {"select   White=\"Stock fish\"  -out=\"my games.pgn\" x", {"select", "White=Stock fish", "-out=my games.pgn", "x"}},
      {"  open file.pgn", {"", "open", "file.pgn"}},  // a leading blank gives an empty command word
      {"open \"a b  c", {"open", "a b  c"}},          // an unclosed quote takes the rest of the line
      {"", {}},
  };
  CommandLine line;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    line.split("a b c d e");  // the previous words must go
    line.split(c.text);
    if (c.words.empty() || line.hasWord(0)) { EXPECT_EQ(line.wordCount(), c.words.size()); }
    for (std::size_t i = 0; i < c.words.size(); ++i) {
      EXPECT_EQ(line.hasWord(i), !c.words[i].empty());
      if (!c.words[i].empty()) { EXPECT_EQ(line.word(i), c.words[i]); }
    }
    EXPECT_FALSE(line.hasWord(c.words.size()));
  }
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
