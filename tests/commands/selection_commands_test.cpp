// Selection criteria and the commands select, delete, instxt, reptxt, setcap, setcmt and tag.
#include <algorithm>

#include "commands/commands_support.hpp"
#include "commands/criteria.hpp"

namespace kestrova::test {
namespace {

using namespace criterion;

TEST(Criteria, TheOperatorIsTheFirstOfGreaterLessEqualAndTheValueATextADateOrANumber) {
  const struct {
    const char *word, *name, *value;
    int op;
  } words[] = {{"WhiteElo>2800", "WhiteElo", "2800", kGreater}, {"Round<5", "Round", "5", kLess},
               {"WhiteElo>=2800", "WhiteElo", "=2800", kGreater}, {"Event=a<b", "Event=a", "b", kLess},
               {"Event=x=y", "Event", "x=y", kEqual}, {"Site=", "Site", "", kEqual}, {"and", "", "", kNoOperator}};
  for (const auto& c : words) {
    const CriterionWord word = splitCriterionWord(c.word);
    EXPECT_EQ(std::tie(word.op, word.name, word.value), std::tie(c.op, c.name, c.value)) << c.word;
  }
  const std::pair<const char*, int> classes[] = {
      {"2800", kNumber}, {"", kNumber}, {"4.1", kNumber}, {"-5", kNumber}, {"?", kNumber}, {"1.2.3.4", kNumber},
      {"2010.01.01", kDate}, {"????.??.??", kDate}, {"2010/1/2", kDate}, {"-5.3", kDate}, {"2010.01.01\nx", kDate},
      {"1-0", kText}, {"1/2-1/2", kText}, {"=2800", kText}, {"2800 ", kText}};
  for (const auto& [text, expected] : classes) EXPECT_EQ(classifyValue(text), expected) << '"' << text << '"';
  const std::pair<const char*, std::uint64_t> dates[] = {
      {"2010.01.01", 20100101u}, {"????.??.??", 0u}, {"2010.??.??", 20100000u}, {"2010/1/2", 20100102u},
      {"-2010.01", 201001u}};  // a leading '-' opens an empty first field
  for (const auto& [text, value] : dates) EXPECT_EQ(parseDateValue(text), value) << text;
  const std::pair<const char*, std::uint32_t> numbers[] = {
      {"4.1", 4u}, {"", 0u}, {"-1", 4294967295u}, {"99999999999", 4294967295u}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(numberValue(text), value) << text;
}

const std::string kGames[] = {
    "[Event \"Blitz Cup\"]\n[Date \"2009.05.01\"]\n[Round \"4.1\"]\n[White \"Stockfish 5 64\"]\n[Black \"Komodo\"]\n"
    "[Result \"1-0\"]\n[WhiteElo \"2850\"]\n[BlackElo \"2700\"]\n\n1.e4 e5 2.Nf3 Nc6 1-0\n\n",
    "[Event \"Rapid\"]\n[Date \"2011.02.03\"]\n[Round \"5\"]\n[White \"HOUDINI-PRO,X64\"]\n[Black \"Stockfish\"]\n"
    "[Result \"0-1\"]\n[WhiteElo \"2790\"]\n[BlackElo \"2810\"]\n\n1.d4 d5 0-1\n\n",
    "[Event \"Top Chess Engine Competition\"]\n[Date \"????.??.??\"]\n[Round \"12\"]\n"
    "[White \"m\xc3\xbcller.engine;v2\"]\n[Black \"Rybka\"]\n[Result \"1/2-1/2\"]\n[WhiteElo \"2600\"]\n"
    "[BlackElo \"2650\"]\n\n1.c4 c5 1/2-1/2\n\n",
    "[Event \"BLITZ\"]\n[Date \"2012.07.07\"]\n[Round \"3\"]\n[White \"Deep Blue\"]\n[Black \"Kasparov\"]\n"
    "[Result \"0-1\"]\n[WhiteElo \"2801\"]\n[BlackElo \"2805\"]\n\n1.e4 c5 0-1\n\n"};

// The games of kGames with these numbers, or (`others`) all the other ones.
std::string games(std::initializer_list<int> numbers, bool others = false) {
  std::string text;
  for (int n = 1; n <= 4; ++n) {
    if ((std::find(numbers.begin(), numbers.end(), n) != numbers.end()) != others) text += kGames[n - 1];
  }
  return text;
}

class SelectionCommands : public CommandTest {
 protected:
  void SetUp() override {
    open(games({1, 2, 3, 4}), {kTagSite, kTagDate, kTagRound, kTagWhite, kTagBlack, kTagWhiteElo, kTagBlackElo});
  }
};

TEST_F(SelectionCommands, SelectWritesTheGamesTheCriteriaSelectAndDeleteAllTheOthers) {
  const struct {
    const char* criteria;
    std::initializer_list<int> selected;
    int badFormats = 0;  // criteria tried on a value of another class (text, date or number)
  } cases[] = {
      {"Event=blitz", {1, 4}}, {"Event<zzz", {}}, {"Round<5", {1, 4}}, {"Round=5", {2}}, {"WhiteElo>2800", {1, 4}},
      {"Date<2010.01.01", {1, 3}}, {"Date=2011/02/03", {2}}, {"Result=1-0", {1}}, {"WhiteElo>=2800", {}, 4},
      {"WhiteElo>2800 or BlackElo>2800", {1, 2, 4}}, {"date>2010.01.01 AND event=BLITZ", {4}},
      {"WhiteElo>2800 or Event=5", {1, 4}, 2}, {"WhiteElo>2800 and Event=5", {}, 2},
      {"Event=x and Round<5 or WhiteElo>2800", {1, 4}}};  // the last connective; the last criterion second
  for (const auto& c : cases) {
    const std::string criteria = c.criteria, printed = run("select " + criteria);
    EXPECT_TRUE(has(printed, "> 4 games read, 4 used, 0 left out\nsee pgn-out.pgn file\n")) << printed;
    EXPECT_EQ(count(printed, "> bad data format specified in selection's criteria\n"), c.badFormats) << criteria;
    EXPECT_EQ(output(), games(c.selected)) << criteria;
    EXPECT_TRUE(has(run("delete " + criteria + " -out=rest.pgn"), "see rest.pgn file\n"));
    EXPECT_EQ(output("rest.pgn"), games(c.selected, true)) << criteria;
  }
  app->pgn.saveBuffer() = "; pending text\n";
  run("delete Round<5");
  EXPECT_EQ(output(), games({2, 3}) + "; pending text\n") << "delete writes the pending text after the games";
  EXPECT_EQ(app->pgn.saveBuffer(), "");
  const std::string invalid = "> invalid selection criteria: one criterion, or two joined by \"and\" or \"or\"\n";
  const std::pair<const char*, std::string> refused[] = {
      {"select WhiteElo>1 BlackElo>2", invalid}, {"select WhiteElo>1 or", invalid}, {"delete and", invalid},
      {"select Foo>3", "> unknown tag\n"}, {"select Round<3 or Foo>3", "> unknown tag\n"}};
  for (const auto& [line, message] : refused) {
    EXPECT_EQ(run(line), "\n> processing...\n" + message) << line;
    EXPECT_EQ(output(), games({2, 3}) + "; pending text\n") << "a refused command leaves the earlier output";
  }
}

TEST_F(SelectionCommands, InstxtReptxtAndSetcapEditOneTagOfEveryGame) {
  // An insertion stays inside the value (not after its end) and within 30 characters (the third has 28).
  const std::string top = "Top Chess Engine Competition";
  const struct {
    const char* line;
    Texts events;
    int refused;
  } insertions[] = {{"instxt Event=XY -at=0", {"XYBlitz Cup", "XYRapid", "XY" + top, "XYBLITZ"}, 0},
                    {"instxt Event=XYZ -at=5", {"BlitzXYZ Cup", "Rapid", top, "BLITZ"}, 3},
                    {"instxt Event=XY", {"BXYlitz Cup", "RXYapid", "TXYop Chess Engine Competition", "BXYLITZ"}, 0},
                    {"instxt Event=XY -at=-1", {"Blitz Cup", "Rapid", top, "BLITZ"}, 4}};
  for (const auto& c : insertions) {
    EXPECT_EQ(count(run(c.line), "> string out of range\n"), c.refused) << c.line;
    EXPECT_EQ(tagValues(output(), "Event"), c.events) << c.line;
  }
  const std::string text = std::string(60, 'x') + "0123456789abcdef";  // 76 characters: kept whole
  run("reptxt Site=" + text);
  EXPECT_EQ(tagValues(output(), "Site"), Texts(4, text));
  // ASCII letters change case, UTF-8 bytes stay; a word starts the value or follows " ", "-", ",", "." or ";".
  const std::pair<const char*, Texts> cases[] = {
      {"setcap White=up -f", {"Stockfish 5 64", "HOUDINI-PRO,X64", "M\xc3\xbcller.Engine;V2", "Deep Blue"}},
      {"setcap -f White=down", {"stockfish 5 64", "hOUDINI-pRO,x64", "m\xc3\xbcller.engine;v2", "deep blue"}},
      {"setcap White=up", {"STOCKFISH 5 64", "HOUDINI-PRO,X64", "M\xc3\xbcLLER.ENGINE;V2", "DEEP BLUE"}},
      {"setcap White=down", {"stockfish 5 64", "houdini-pro,x64", "m\xc3\xbcller.engine;v2", "deep blue"}}};
  for (const auto& [line, whites] : cases) {
    run(line);
    EXPECT_EQ(tagValues(output(), "White"), whites) << line;
    EXPECT_EQ(tagValues(output(), "Black")[0], "Komodo") << line;
  }
  for (const char* line : {"instxt Foo=x", "reptxt Foo=x", "setcap Foo=up"}) {
    EXPECT_EQ(run(line + std::string(" -out=no.pgn")), "> unknown tag\n") << line;
  }
  EXPECT_FALSE(has(run("setcap White=sideways -out=no.pgn"), "see ") || dir.exists("no.pgn"));
}

TEST_F(SelectionCommands, SetcmtSetsTheCommentModeForEveryLaterOutput) {
  open("[Event \"E\"]\n\n1.e4 {+0.35/12 5s} e5 {book} 1-0\n\n");
  EXPECT_TRUE(has(run("setcmt full"), "\n> processing...\n> 1 games read, 1 used, 0 left out\n> process time : "));
  // Without a Result tag, the movetext's result ends the game written.
  EXPECT_EQ(output(), "[Event \"E\"]\n\n1.e4 {+0.35/12 5s} e5 {book} 1-0\n\n");
  run("setcmt none -out=none.pgn");
  run("select Event=e");
  EXPECT_EQ(output(), "[Event \"E\"]\n\n1.e4 e5 1-0\n\n");
}

TEST_F(SelectionCommands, TagListsTheNamesAfterEvent) {
  EXPECT_EQ(run("tag"), "\nSite\nDate\nRound\nWhite\nBlack\nResult\nECO\nOpening\nTime\nVariation\nTimeControl\n"
                        "Termination\nPlyCount\nWhiteType\nBlackType\nWhiteElo\nBlackElo\nEventDate\nEventType\n"
                        "Source\nSourceDate\nAnnotator\nWhiteTitle\nBlackTitle\nWhiteNA\nBlackNA\nEventSponsor\n"
                        "Section\nStage\nBoard\nSubVariation\nNIC\nUTCTime\nUTCDate\nSetUp\nFEN\nMode\n");
}

}  // namespace
}  // namespace kestrova::test
