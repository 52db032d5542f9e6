#include "shell/help.hpp"

#include <gtest/gtest.h>

#include "shell/command_table.hpp"
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

TEST_F(HelpEntry, FindsTheLongDescriptionOfTheLanguageSection) {
  const struct {
    const char* name;
    int language;
    const char* text;
  } cases[] = {
      {"scan", 0, "scan english\n"}, {"scan", 1, "scan francais\n"}, {"scan", 5, "scan russe\n"},
      {"scan", 9, "scan francais\n"}, {"scan", -1, "scan francais\n"},  // outside the six: French
      {"elo", 0, "elo long\n"}, {"givelo", 0, "givelo text\n"},          // whole lines only
      {"fenstat", 0, "last entry\nwithout end\n"},  // the search runs on into later sections
  };
  for (const auto& c : cases) EXPECT_EQ(show(c.name, c.language), c.text) << c.name << " " << c.language;
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

TEST(ShippedHelpFile, HasAnEntryForEveryCommandInEverySection) {
  test::ScratchDir dir;
  dir.write("help.man", test::sourceFile("data/help.man"));
  auto app = test::makeApp();
  std::vector<std::string> names = {"recall"};  // recall is handled by the shell itself
  for (const auto& entry : commandTable()) names.emplace_back(entry.word);
  for (int language = 0; language <= 5; ++language) {
    for (const std::string& name : names) {
      app->console.takeCaptured();
      showHelpEntry(*app, name.c_str(), language, true);
      const std::string text = app->console.takeCaptured();
      EXPECT_GT(text.size(), 40u) << name << " in language " << language;
      EXPECT_EQ(text.find("- command"), std::string::npos) << name << " in language " << language << ": " << text;
      EXPECT_EQ(text.find("\n[ENG]"), std::string::npos) << name;
    }
  }
}

}  // namespace
}  // namespace kestrova
