#include "shell/console.hpp"

#include <gtest/gtest.h>

#include "platform/terminal.hpp"
#include "shell/string_manager.hpp"

namespace kestrova {
namespace {

const std::string kReset = "\x1b[0m";
const std::string kRed = "\x1b[0;91m";    // attribute 12
const std::string kWhite = "\x1b[0;97m";  // attribute 15
const std::string kGreen = "\x1b[0;92m";  // attribute 10

TEST(ConsoleColours, AttributesMapToAnsiSequences) {
  EXPECT_EQ(platform::ansiSequence(7), kReset);
  EXPECT_EQ(platform::ansiSequence(12), kRed);
  EXPECT_EQ(platform::ansiSequence(15), kWhite);
  EXPECT_EQ(platform::ansiSequence(6), "\x1b[0;33m");   // dark yellow
  EXPECT_EQ(platform::ansiSequence(14), "\x1b[0;93m");  // yellow
  EXPECT_EQ(platform::ansiSequence(144), "\x1b[0;30;104m");  // black on bright blue
  EXPECT_EQ(platform::ansiSequence(240), "\x1b[0;30;107m");
  EXPECT_EQ(platform::ansiSequence(192), "\x1b[0;30;101m");
}

TEST(ConsoleWrite, PlainCaptureHasNoEscapes) {
  Console console = Console::capturing();
  console.writeText("100% sure\n", colour::kError);
  EXPECT_EQ(console.takeCaptured(), "100% sure\n");
}

TEST(ConsoleWrite, ColourZeroIsTheNormalColourAndTheConsoleEndsThere) {
  Console console = Console::capturing(true);
  console.writeText("a", colour::kDefault);
  console.writeText("b", colour::kError);
  EXPECT_EQ(console.takeCaptured(), "a" + kRed + "b" + kReset);
}

TEST(ConsoleWrite, PrintFormatsOnceAndKeepsPercentOfArguments) {
  Console console = Console::capturing();
  console.print(colour::kNormal, "%d: %s\n", 7, "50% draw");
  EXPECT_EQ(console.takeCaptured(), "7: 50% draw\n");
}

TEST(ConsoleWrite, RunsAtBothEndsLeaveNoBaseStretch) {
  Console console = Console::capturing(true);
  const ColourRun runs[] = {{12, 0, 1}, {10, 4, 5}, {0, 0, 0}};
  console.writeText("abcdef", colour::kBright, runs);
  EXPECT_EQ(console.takeCaptured(), kRed + "ab" + kWhite + "cd" + kGreen + "ef" + kReset);
}

TEST(ConsoleWrite, RunsInsideTheTextKeepTheBaseColourAround) {
  Console console = Console::capturing(true);
  const ColourRun runs[] = {{12, 2, 2}, {0, 0, 0}};
  console.writeText("abcd", colour::kNormal, runs);
  EXPECT_EQ(console.takeCaptured(), "ab" + kRed + "c" + kReset + "d");
}

TEST(StringManagerTables, PieceLettersAndSquareNames) {
  StringManager sm;
  EXPECT_EQ(sm.pieceLetter(kEnglish, 5), 'N');
  EXPECT_EQ(sm.pieceLetter(kFrench, 1), 'R');
  EXPECT_EQ(sm.pieceLetter(kFrench, 4), 'F');
  EXPECT_EQ(sm.pieceLetter(kGerman, 5), 'S');
  EXPECT_EQ(sm.pieceLetter(kGerman, 4), 'L');
  EXPECT_EQ(sm.pieceLetter(kSpanish, 4), 'A');
  EXPECT_EQ(sm.pieceLetter(kItalian, 2), 'D');
  EXPECT_EQ(sm.pieceLetter(kEnglish, 3, false), 'r');
  EXPECT_EQ(sm.pieceLetter(kRussian, 2), 'Q');
  EXPECT_EQ(sm.pieceLetter(17, 2), 'D');
  EXPECT_STREQ(sm.squareName(0), "a8");
  EXPECT_STREQ(sm.squareName(7), "h8");
  EXPECT_STREQ(sm.squareName(56), "a1");
  EXPECT_STREQ(sm.squareName(63), "h1");
}

}  // namespace
}  // namespace kestrova
