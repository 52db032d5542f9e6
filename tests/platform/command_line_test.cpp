// The words of a command line and the operations handlers read them with.
#include "platform/command_line.hpp"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(CommandLine, SplitsAtBlanksKeepingQuotedOnesAndCutsWhatIsTooLong) {
  const std::pair<const char*, const char*> cases[] = {  // the words, each followed by "|"; "" where none stands
      {"select   White=\"Stock fish\"  -out=\"my games.pgn\" x", "select|White=Stock fish|-out=my games.pgn|x||"},
      {"  open file.pgn", "|open|file.pgn||"},  // a leading blank gives an empty command word
      {"open \"a b  c", "open|a b  c||"},        // an unclosed quote takes the rest of the line
      {"", "||"}};
  CommandLine line;
  for (const auto& [text, words] : cases) {
    line.split("a b c d e");  // the previous words must go
    line.split(text);
    std::string split;
    for (std::size_t i = 0; i < 5; ++i) split += (line.hasWord(i) ? line.word(i) : "") + "|";
    EXPECT_EQ(split.substr(0, std::string_view(words).size()), words) << text;
  }
  std::string text = "w " + std::string(300, 'a');
  for (int i = 0; i < 600; ++i) text += " x" + std::to_string(i);
  line.split(text);
  EXPECT_EQ(line.word(1), std::string(CommandLine::kMaxWordLength, 'a'));
  EXPECT_EQ(line.word(CommandLine::kMaxWords - 1), "x497") << "words beyond the 500th are dropped";
}

TEST(CommandLine, WordsOptionsHelpAndNumbers) {
  CommandLine line;
  line.split("OPEN Games.PGN -OUT=a -out=b.pgn -rev 12abc -3");
  EXPECT_FALSE(line.matchWord(0, "verbose"));
  EXPECT_EQ(line.word(0), "open") << "lower-cased in place even without a match";
  EXPECT_TRUE(line.matchWord(0, "open") && line.word(1) == "Games.PGN" && !line.matchWord(9, "x"));
  EXPECT_EQ(std::vector({line.findOption("-out="), line.findOption("-rev"), line.findOption("-ply=")}),
            std::vector<std::size_t>({3, 4, 0}));  // options are case-sensitive
  EXPECT_EQ(std::string(line.optionValue("-out=")) + "|" + std::string(line.optionValue("-ply=")), "b.pgn|");
  EXPECT_EQ(std::vector({line.number(5), line.number(6), line.number(1)}), std::vector<long>({12, -3, 0}));
  for (const auto& [text, help] : {std::pair{"scan /HELP", true}, {"scan /?", true}, {"scan --help", true},
                                   {"scan -h", true}, {"scan /h", false}, {"scan -H", false}, {"scan", false}}) {
    line.split(text);
    EXPECT_EQ(line.wantsHelp(), help) << text;
  }
}

}  // namespace
}  // namespace kestrova
