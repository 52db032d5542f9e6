// The shell: start-up and the settings it reads, the shell's own commands, help and the history.
#include <gtest/gtest.h>

#include "chess/fen.hpp"
#include "shell/command_table.hpp"
#include "shell/help.hpp"
#include "shell/lifecycle.hpp"
#include "support/test_app.hpp"
#include "support/text.hpp"

namespace kestrova::test {
namespace {

TEST(Settings, OneLineSetsOneValue) {
  auto applied = [](const char* line) { Settings s; applySettingsLine(s, line); return s; };
  using Field = int (*)(const Settings&);
  const Field startElo = [](const Settings& s) { return s.rating.startElo; };
  const Field minNbGm = [](const Settings& s) { return s.rating.minNbGm; };
  const Field printCmt = [](const Settings& s) { return s.printCmt; };
  const Field saveBuffer = [](const Settings& s) { return s.saveBufferSize; };
  const Field lineBuffer = [](const Settings& s) { return s.lineBufferSize; };
  // A value that is no whole number in its key's range is named as written and the default kept.
  const struct { const char* line; Field field; int expected; const char* problem; } cases[] = {
      {"startElo= 2400", startElo, 2400, ""}, {"startElo=  2400 ", startElo, 2400, ""}, {"printCmt", printCmt, 1, ""},
      {"startElo=-5", startElo, 2275, "startElo=-5 in kestrova.ini: not a rating from 0 to 5000; 2275 is used"},
      {"minNbGm=abc", minNbGm, 20, "minNbGm=abc in"}, {"minNbGm=0", minNbGm, 20, "minNbGm=0 in"},
      {"startElo=99999999999999999999", startElo, 2275, "startElo=99999999999999999999 in"},
      {"gBufSz=30k", saveBuffer, 30000, "gBufSz=30k in kestrova.ini: not a number of bytes"},
      {"gBufSz=0", saveBuffer, 30000, "gBufSz=0 in"}, {"bkHashSz=48", [](const Settings& s) -> int { return s.bkHashSz; }, 64, "bkHashSz=48 in"},
      {"gBufSz=100000", saveBuffer, 100000, ""}, {"gBufSz=100000", lineBuffer, 25000, ""},
      {"gBufSz=400000", lineBuffer, 65535, ""},  // a quarter beyond 16 bits stops at the largest
  };
  for (const auto& c : cases) {
    Settings s;
    const std::string problem = applySettingsLine(s, c.line);
    EXPECT_EQ(c.field(s), c.expected) << c.line;
    EXPECT_TRUE(*c.problem == 0 ? problem.empty() : has(problem, c.problem)) << c.line << ": " << problem;
  }
  EXPECT_TRUE(applied("verbose").verbose && !applied("runElo=0").runElo && applied("bkHashSz=32").bkHashSz == 32);
  // The engine's command line and options run to a TAB or the line's end; a key inside a value does not apply.
  EXPECT_EQ(applied("engineFile=  /opt/my engine -q\t# x").engineFile, "/opt/my engine -q");
  Settings options;
  for (const char* line : {"engineOption=Threads=4", "engineOption= SyzygyPath=/t b ", "engineOption="}) {
    applySettingsLine(options, line);
  }
  EXPECT_EQ(options.engineOptions, (std::vector<std::string>{"Threads=4", "SyzygyPath=/t b"}));
  EXPECT_EQ(applied("engineFile=/opt/slang/engine").lang + applied("ValDrop: act=1, name=verbose drop,").verbose, 0);
}

TEST(StartUp, ReadsTheConfigurationForSettingsAndTagsAndSetsUpTheBoard) {
  ScratchDir dir;
  dir.write("kestrova.ini", "; comment\r\nstartElo=2500\r\n# startElo=2600\r\n  #minNbGm=9\r\n[OutputEnabledTags]\r\n[White\r\nElo\r\n[Plycount\r\n\r\n"
                            "[Black\r\nminNbGm=3");
  auto app = makeApp();
  startUp(*app);
  EXPECT_EQ(std::vector({app->settings.rating.startElo, app->settings.rating.minNbGm}), std::vector({2500, 3}));
  // The section's lines up to the empty one enable the first tag whose prefix holds them.
  for (int i = 0; i < TagTable::kEntries; ++i) {
    EXPECT_EQ(app->game.tags.outputEnabled(i), i == kTagWhite || i == kTagWhiteElo || i == kTagPlyCount) << i;
  }
  EXPECT_TRUE(app->chess.keyCheck && app->game.currentFen == kStartPosition);
  EXPECT_EQ(app->configFile, "kestrova.ini");
}

TEST(Settings, ConfigurationPlacesInOrderOfLookup) {
  using Places = std::vector<std::string>;
  const struct { const char* xdg; const char* home; const char* installed; Places places; } cases[] = {
      {"/x", "/h", "/p/share/kestrova/kestrova.ini",
       {"kestrova.ini", "/x/kestrova/kestrova.ini", "/p/share/kestrova/kestrova.ini"}},
      {nullptr, "/h", "", {"kestrova.ini", "/h/.config/kestrova/kestrova.ini"}},
      {"", "/h", "", {"kestrova.ini", "/h/.config/kestrova/kestrova.ini"}},      // empty: as if unset
      {"cfg", "/h", "", {"kestrova.ini", "/h/.config/kestrova/kestrova.ini"}},   // relative: ignored
      {nullptr, nullptr, "/i.ini", {"kestrova.ini", "/i.ini"}},
  };
  for (const auto& c : cases) EXPECT_EQ(configFilePlaces(c.xdg, c.home, c.installed), c.places) << c.places[1];
}

TEST(ShellCommands, BinVerboseLangHelpAndExit) {
  ScratchDir dir;
  dir.write("help.man", "[ENG]\nverbose\n-LONG\nverbose help\n-END\nhelp\n-LONG\noverview\n-END\n"
                        "[FRA]\nverbose\n-LONG\naide\n-END\n");
  auto app = makeApp("2\n\n  5 \n");
  std::string shown;
  for (auto line : {"bin 18446744073709551615", "bin /?", "VERBOSE ON", "verbose maybe"}) shown += run(*app, line);
  EXPECT_TRUE(app->settings.verbose);
  for (auto line : {"verbose off", "HELP /?", "lang", "lang", "lang", "verbose"}) shown += run(*app, line);
  const std::string menu = "\n0 => English\n1 => French\n2 => German\n3 => Spanish\n4 => Italian\n5 => Russian\n\n? : ";
  EXPECT_EQ(shown, std::string(64, '1') + "\n> verbose on\nverbose help\n\n> verbose off\noverview\n" + menu +
                       "- writing in German\n" + menu + "- error, French is default language now\n" + menu + "\naide\n")
      << "lang takes 0 to 4 only; end of input leaves the language alone";
  for (const char* word : {"exit", "bye", "SALUT"}) EXPECT_EQ(run(*app, word), "- A bientot ;o)...\n\n") << word;
}

TEST(Help, TheLongDescriptionInTheSectionOfTheLanguage) {
  ScratchDir dir;
  dir.write("help.man", "[ENG]\ngivelo\n-LONG\ngivelo text\n-END\nelo\n-SHORT\nelo short\n-END\n-LONG\nelo long\n-END\n"
                        "[FRA]\nscan\n-LONG\nscan\n-END\n[RUS]\nscan\n-LONG\nscan ru\n-END\nfen\n-LONG\nlast\n");
  auto app = makeApp();
  auto helpOf = [&](const std::string& name, int language) {
    app->console.takeCaptured();
    showHelpEntry(*app, name, language, true);
    return app->console.takeCaptured();
  };
  // Whole lines only; a language outside the six reads French; the search runs on into later sections.
  EXPECT_EQ(helpOf("elo", 0) + helpOf("givelo", 0) + helpOf("scan", 9) + helpOf("scan", 5) +
                helpOf("fen", 0) + helpOf("scan", 2) + helpOf("nosuch", 1),
            "elo long\ngivelo text\nscan\nscan ru\nlast\n- command description not found in this language\n"
            "- command name not found in the help file\n");
  dir.write("help.man", "[ENG]\nscan\n-SHORT\nx\n-END\n");
  EXPECT_EQ(helpOf("scan", 0), "- command description type not found in the help file\n");
  std::filesystem::remove(dir.path() / "help.man");
  EXPECT_EQ(helpOf("scan", 0), "- unable to open the help file\n");
  // The shipped file describes every command in every language.
  dir.write("help.man", sourceFile("data/help.man"));
  std::vector<std::string> names = {"recall"};  // recall is the shell's own
  for (const auto& entry : commandTable()) names.emplace_back(entry.word);
  for (int language = 0; language <= 5; ++language) {
    for (const std::string& name : names) {
      const std::string text = helpOf(name, language);
      EXPECT_TRUE(text.size() > 40 && !has(text, "- command") && !has(text, "\n[ENG]")) << name << " " << language;
    }
  }
}

TEST(CommandHistory, NineLinesMostRecentFirstEachOnceTheEmptyLineToo) {
  ScratchDir dir;
  dir.write("r", "scan\r\n\n");  // the file of an earlier run
  CommandHistory history;
  history.load();
  history.remember("");  // a known line, the empty one too, leaves the file alone
  EXPECT_TRUE(dir.read("r") == "scan\r\n\n" && history.entry(1) == "scan" && history.isUsed(2) && !history.isUsed(3));
  for (int i = 1; i <= 9; ++i) history.remember("c" + std::to_string(i));
  EXPECT_EQ(dir.read("r"), "c9\nc8\nc7\nc6\nc5\nc4\nc3\nc2\nc1\n");
}

// The history is replaced whole: a link named "r" is replaced, what it links to stays as it was, and
// a file "r" that is no history (a PGN file) is never written.
TEST(CommandHistory, NeverWritesThroughALinkOrOverAForeignFile) {
  ScratchDir dir;
  dir.write("kept", "scan\n");  // a history of another directory
  dir.write("games", "[Event \"E\"]\n\n1. e4 *\n");
  for (const bool symbolic : {true, false}) {
    std::filesystem::remove(dir.path() / "r");
    if (symbolic) std::filesystem::create_symlink(dir.path() / "kept", dir.path() / "r");
    else std::filesystem::create_hard_link(dir.path() / "kept", dir.path() / "r");
    CommandHistory history;
    history.load();
    EXPECT_TRUE(history.remember("dbl") && dir.read("r") == "dbl\nscan\n") << symbolic;
    EXPECT_EQ(dir.read("kept"), "scan\n") << symbolic;
  }
  std::filesystem::remove(dir.path() / "r");
  std::filesystem::create_symlink(dir.path() / "games", dir.path() / "r");
  CommandHistory history;
  history.load();
  history.remember("dbl");
  EXPECT_TRUE(history.isForeign() && dir.read("games") == "[Event \"E\"]\n\n1. e4 *\n");
}

}  // namespace
}  // namespace kestrova::test
