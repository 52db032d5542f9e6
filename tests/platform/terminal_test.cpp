#include "platform/console.hpp"

#include <gtest/gtest.h>

#include "platform/terminal.hpp"
#include "platform/string_manager.hpp"

namespace kestrova {
namespace {

const std::string kReset = "\x1b[0m";
const std::string kRed = "\x1b[0;91m";    // attribute 12
const std::string kWhite = "\x1b[0;97m";  // attribute 15
const std::string kGreen = "\x1b[0;92m";  // attribute 10

TEST(ConsoleColours, AttributesMapToAnsiSequences) {
  const std::pair<int, std::string> cases[] = {{7, kReset}, {12, kRed}, {15, kWhite}, {6, "\x1b[0;33m"},
                                               {14, "\x1b[0;93m"}, {144, "\x1b[0;30;104m"},  // black on bright blue
                                               {240, "\x1b[0;30;107m"}, {192, "\x1b[0;30;101m"}};
  for (const auto& [attribute, sequence] : cases) EXPECT_EQ(platform::ansiSequence(attribute), sequence) << attribute;
}

TEST(ConsoleWrite, PrintKeepsPercentOfArgumentsAndPlainCaptureHasNoEscapes) {
  Console console = Console::capturing();
  console.print(colour::kError, "%d: %s\n", 7, "50% draw");
  EXPECT_EQ(console.takeCaptured(), "7: 50% draw\n");
}

TEST(ConsoleWrite, ColourRunsAndTheNormalColourAtTheEnd) {
  Console console = Console::capturing(true);
  console.writeText("a", colour::kDefault);
  console.writeText("b", colour::kError);
  EXPECT_EQ(console.takeCaptured(), "a" + kRed + "b" + kReset);  // colour 0 is the normal colour
  const ColourRun atBothEnds[] = {{12, 0, 1}, {10, 4, 5}, {0, 0, 0}};
  console.writeText("abcdef", colour::kBright, atBothEnds);
  EXPECT_EQ(console.takeCaptured(), kRed + "ab" + kWhite + "cd" + kGreen + "ef" + kReset);
  const ColourRun inside[] = {{12, 2, 2}, {0, 0, 0}};
  console.writeText("abcd", colour::kNormal, inside);
  EXPECT_EQ(console.takeCaptured(), "ab" + kRed + "c" + kReset + "d");
}

TEST(StringManagerTables, PieceLettersAndSquareNames) {
  StringManager sm;
  const struct {
    int language, piece;
    char letter;
  } cases[] = {{kEnglish, 5, 'N'}, {kFrench, 1, 'R'}, {kFrench, 4, 'F'}, {kGerman, 5, 'S'}, {kGerman, 4, 'L'},
               {kSpanish, 4, 'A'}, {kItalian, 2, 'D'}, {kRussian, 2, 'Q'}, {17, 2, 'D'}};
  for (const auto& c : cases) EXPECT_EQ(sm.pieceLetter(c.language, c.piece), c.letter) << c.language << " " << c.piece;
  EXPECT_EQ(sm.pieceLetter(kEnglish, 3, false), 'r');
  EXPECT_STREQ(sm.squareName(0), "a8");
  EXPECT_STREQ(sm.squareName(63), "h1");
}

}  // namespace
}  // namespace kestrova
