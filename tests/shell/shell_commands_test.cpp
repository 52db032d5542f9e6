#include "shell/shell_commands.hpp"

#include <gtest/gtest.h>

#include "shell/command_table.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

constexpr const char* kHelp =
    "[ENG]\nverbose\n-LONG\nverbose help\n-END\nhelp\n-LONG\noverview\n-END\n"
    "[FRA]\nverbose\n-LONG\naide verbose\n-END\n";

TEST(CommandTable, FortyWordsMatchedCaseSensitively) {
  ASSERT_EQ(commandTable().size(), 40u);
  EXPECT_TRUE(isCommandWord("scan"));
  for (const char* word : {"Scan", "bye", "recall"}) EXPECT_FALSE(isCommandWord(word)) << word;
  auto app = test::makeApp();
  app->commandLine.split("scna");
  EXPECT_EQ(dispatchCommand(*app), 0);
}

TEST(ShellCommands, BinPrintsSixtyFourDigits) {
  auto app = test::makeApp();
  EXPECT_EQ(test::run(*app, "bin 5"), std::string(61, '0') + "101");
  EXPECT_EQ(test::run(*app, "bin 18446744073709551615"), std::string(64, '1'));
  for (const char* line : {"bin", "bin /?", "bin x"}) EXPECT_EQ(test::run(*app, line), "") << line;
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
  EXPECT_EQ(test::run(*app, "HELP /?"), "overview\n") << "help shows the overview whatever follows";
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

}  // namespace
}  // namespace kestrova
