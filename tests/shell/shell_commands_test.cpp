#include "shell/shell_commands.hpp"

#include <gtest/gtest.h>

#include "shell/command_table.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

constexpr const char* kHelp =
    "[ENG]\nverbose\n-LONG\nverbose help\n-END\nhelp\n-LONG\noverview\n-END\n"
    "[FRA]\nverbose\n-LONG\naide verbose\n-END\n";

TEST(CommandTable, HoldsTheFortyWordsInOrder) {
  const auto table = commandTable();
  ASSERT_EQ(table.size(), 40u);
  EXPECT_EQ(table[0].word, "verbose");
  EXPECT_EQ(table[2].word, "open");
  EXPECT_EQ(table[28].word, "bdoor");
  EXPECT_EQ(table[29].word, "exit");
  EXPECT_EQ(table[39].word, "fenstat");
  EXPECT_TRUE(isCommandWord("scan"));
  EXPECT_FALSE(isCommandWord("Scan"));
  EXPECT_FALSE(isCommandWord("bye"));
  EXPECT_FALSE(isCommandWord("recall"));
}

TEST(ShellCommands, BinPrintsSixtyFourDigits) {
  auto app = test::makeApp();
  EXPECT_EQ(test::run(*app, "bin 5"), std::string(61, '0') + "101");
  EXPECT_EQ(test::run(*app, "bin 18446744073709551615"), std::string(64, '1'));
  EXPECT_EQ(test::run(*app, "bin"), "");
  EXPECT_EQ(test::run(*app, "bin /?"), "");
  EXPECT_EQ(test::run(*app, "bin x"), "");
}

TEST(ShellCommands, VerboseTakesOnOrOffInAnyCase) {
  test::ScratchDir dir;
  dir.write("help.man", kHelp);
  auto app = test::makeApp();
  EXPECT_EQ(test::run(*app, "VERBOSE ON"), "\n> verbose on\n");
  EXPECT_TRUE(app->settings.verbose);
  EXPECT_EQ(test::run(*app, "verbose maybe"), "verbose help\n");
  EXPECT_TRUE(app->settings.verbose);
  EXPECT_EQ(test::run(*app, "verbose off"), "\n> verbose off\n");
  EXPECT_FALSE(app->settings.verbose);
  EXPECT_EQ(test::run(*app, "verbose"), "verbose help\n");
}

TEST(ShellCommands, LangAcceptsZeroToFourAndFallsBackToFrench) {
  test::ScratchDir dir;
  dir.write("help.man", kHelp);
  auto app = test::makeApp("2\n\n  5 \n");
  const std::string menu = "\n0 => English\n1 => French\n2 => German\n3 => Spanish\n4 => Italian\n5 => Russian\n\n? : ";
  EXPECT_EQ(test::run(*app, "lang"), menu + "- writing in German\n");
  EXPECT_EQ(app->settings.lang, 2);
  EXPECT_EQ(test::run(*app, "lang"), menu + "- error, French is default language now\n");
  EXPECT_EQ(app->settings.lang, 1);
  EXPECT_EQ(test::run(*app, "verbose"), "aide verbose\n");
  // End of input leaves the language alone.
  EXPECT_EQ(test::run(*app, "lang"), menu + "\n");
  EXPECT_EQ(app->settings.lang, 1);
}

TEST(ShellCommands, HelpPrintsTheOverviewWhateverFollows) {
  test::ScratchDir dir;
  dir.write("help.man", kHelp);
  auto app = test::makeApp();
  EXPECT_EQ(test::run(*app, "help"), "overview\n");
  EXPECT_EQ(test::run(*app, "HELP /?"), "overview\n");
}

TEST(ShellCommands, ExitAndItsSynonymsEndAnInteractiveRunOnly) {
  for (const char* word : {"exit", "bye", "SALUT"}) {
    auto app = test::makeApp();
    EXPECT_EQ(test::run(*app, word), "- A bientot ;o)...\n\n");
    EXPECT_TRUE(app->finished);
  }
  auto app = test::makeApp();
  app->batchMode = true;
  EXPECT_EQ(test::run(*app, "exit"), "");
  EXPECT_FALSE(app->finished);
}

TEST(ShellCommands, UnknownWordIsNotTaken) {
  auto app = test::makeApp();
  app->commandLine.split("scna");
  EXPECT_EQ(dispatchCommand(*app), 0);
}

}  // namespace
}  // namespace kestrova
