#include "shell/help.hpp"

#include <gtest/gtest.h>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

constexpr const char* kHelpFile =
    "[ENG]\n"
    "givelo\n-LONG\ngivelo text\n-END\n"
    "elo\n-SHORT\nelo short\n-END\n-LONG\nelo long\n-END\n"
    "scan\n-LONG\nscan english\n-END\n"
    "[FRA]\n"
    "scan\n-LONG\nscan francais\n-END\n"
    "[RUS]\n"
    "scan\n-LONG\nscan russe\n-END\n"
    "fenstat\n-LONG\nlast entry\nwithout end\n";

class HelpEntry : public ::testing::Test {
 protected:
  void SetUp() override { dir.write("help.man", kHelpFile); }
  std::string show(const char* name, int language) {
    app->console.takeCaptured();
    showHelpEntry(*app, name, language, true);
    return app->console.takeCaptured();
  }
  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

TEST_F(HelpEntry, PrintsTheLongDescriptionOfTheLanguageSection) {
  EXPECT_EQ(show("scan", 0), "scan english\n");
  EXPECT_EQ(show("scan", 1), "scan francais\n");
  EXPECT_EQ(show("scan", 5), "scan russe\n");
}

TEST_F(HelpEntry, LanguagesOutsideTheSixReadTheFrenchSection) {
  EXPECT_EQ(show("scan", 9), "scan francais\n");
  EXPECT_EQ(show("scan", -1), "scan francais\n");
}

TEST_F(HelpEntry, NamesMatchOnlyAsWholeLines) {
  EXPECT_EQ(show("elo", 0), "elo long\n");
  EXPECT_EQ(show("givelo", 0), "givelo text\n");
}

TEST_F(HelpEntry, SearchGoesOnIntoLaterSections) {
  // fenstat stands only after [RUS]; from [ENG] the search runs forward into it.
  EXPECT_EQ(show("fenstat", 0), "last entry\nwithout end\n");
}

TEST_F(HelpEntry, ReportsWhatIsMissing) {
  EXPECT_EQ(show("scan", 2), "- command description not found in this language\n");
  EXPECT_EQ(show("nosuch", 0), "- command name not found in the help file\n");
  dir.write("help.man", "[ENG]\nscan\n-SHORT\nx\n-END\n");
  EXPECT_EQ(show("scan", 0), "- command description type not found in the help file\n");
  std::filesystem::remove(dir.path() / "help.man");
  EXPECT_EQ(showHelpEntry(*app, "scan", 0, true), 0);
  EXPECT_EQ(app->console.takeCaptured(), "- unable to open the help file");
}

// The shipped help file must answer for every command word in every language.
TEST(ShippedHelpFile, HasAnEntryForEveryCommandInEverySection) {
  test::ScratchDir dir;
  dir.write("help.man", test::sourceFile("data/help.man"));
  auto app = test::makeApp();
  const char* names[] = {"help", "recall", "verbose", "cmem", "open", "fepd", "ftrn", "cut", "dbl", "merge",
                         "delete", "select", "show", "instxt", "reptxt", "setcap", "setcmt", "debug", "play",
                         "scan", "syn", "givelo", "elo", "board", "epdsv", "lang", "newbk", "showbk", "tag",
                         "bdoor", "exit", "dcmbk", "anabk", "split", "openbk", "ddepd", "sub", "bin", "askng",
                         "vfilt", "fenstat"};
  for (int language = 0; language <= 5; ++language) {
    for (const char* name : names) {
      app->console.takeCaptured();
      showHelpEntry(*app, name, language, true);
      const std::string text = app->console.takeCaptured();
      EXPECT_GT(text.size(), 40u) << name << " in language " << language;
      EXPECT_EQ(text.find("- command"), std::string::npos) << name << " in language " << language << ": " << text;
      EXPECT_EQ(text.find("\n[ENG]"), std::string::npos) << name;
    }
  }
}

}  // namespace
}  // namespace kestrova
