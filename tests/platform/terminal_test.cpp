// The terminal: the console's colours and formatting out, the escape key in.
#include <gtest/gtest.h>

#include "platform/console.hpp"
#include "platform/escape_key.hpp"
#include "platform/terminal.hpp"

namespace kestrova {
namespace {

TEST(Console, AttributesBecomeAnsiSequencesAndEveryTextEndsInTheNormalColour) {
  // Colour bits: 1 blue, 2 green, 4 red, 8 bright; the high nibble is the background.
  for (const auto& [attribute, sequence] : {std::pair{7, "\x1b[0m"}, {12, "\x1b[0;91m"}, {144, "\x1b[0;30;104m"}}) {
    EXPECT_EQ(platform::ansiSequence(attribute), sequence) << attribute;
  }
  Console console = Console::capturing(true);
  console.print(colour::kError, "%d: %s", 7, "50% draw");  // a % in an argument stays
  const ColourRun runs[] = {{12, 0, 1}, {10, 4, 5}, {0, 0, 0}};
  console.writeText("abcdef", colour::kDefault, runs);  // the text's own colour, 0 meaning 7, between the runs
  EXPECT_EQ(console.takeCaptured(), "\x1b[0;91m7: 50% draw\x1b[0m\x1b[0;91mab\x1b[0mcd\x1b[0;92mef\x1b[0m");
}

// While watching, Ctrl-C is a request to stop a long walk, never the end of the program.
TEST(EscapeKey, CtrlCWhileWatchingIsARequest) {
  platform::EscapeKey escape;
  EXPECT_FALSE(escape.pressed()) << "not watching yet";
  escape.begin();
  raise(SIGINT);  // held pending while watching
  EXPECT_TRUE(escape.pressed());
  EXPECT_FALSE(escape.pressed());
  raise(SIGINT);
  escape.end();  // a late Ctrl-C is taken, not delivered: the test goes on
}

}  // namespace
}  // namespace kestrova
