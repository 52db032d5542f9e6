// anabk: the evaluation classes, the walk's rare runs and treated positions, the eval task with a
// scripted engine, the "-vfy" games, the escape key and the output files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "book/book_analysis.hpp"
#include "book/book_key_generation.hpp"
#include "book/evaluation_class.hpp"
#include "book_support.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "pgn/replay.hpp"
#include "platform/escape_key.hpp"
#include "support/engines.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int count(const std::string& text, const std::string& part) {
  int found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}


int square(const std::string& name) { return (8 - (name[1] - '0')) * 8 + (name[0] - 'a'); }

struct BookLine {
  const char* before;  // the moves leading to the position, blank-separated ("" for the start)
  const char* move;
  std::uint32_t n;
  std::uint8_t cmt;
};

// A hand-made book: each move of a position with its number of games and its class.
void buildBook(App& app, const std::vector<BookLine>& lines) {
  BookTable& book = app.book;
  generateBookTables(book);
  std::vector<BookEntry> entries;
  for (const BookLine& line : lines) {
    setPositionFromFen(app.chess, app.game, kStartPosition);
    std::istringstream moves(line.before);
    for (std::string move; moves >> move;)
      makeMoveFromSquares(app.chess, app.game, square(move.substr(0, 2)), square(move.substr(2, 2)), app.console);
    const BookKeys keys = book.computeBookKeys(app.chess.board, app.chess.board.side);
    const std::string move = line.move;
    BookEntry e = test::entry(keys.key, keys.lock, square(move.substr(0, 2)), square(move.substr(2, 2)), line.n);
    e.cmt = line.cmt;
    entries.push_back(e);
  }
  std::sort(entries.begin(), entries.end(), [](const BookEntry& a, const BookEntry& b) { return a.key < b.key; });
  test::adopt(book, entries);
  setPositionFromFen(app.chess, app.game, kStartPosition);
}

// Rare at a threshold of 5: 1.d4 (3), 1.e4 c5 (4) and everything below them, 1.e4 e5 2.Nf3 (2),
// 2.f4 (1). Below 1.d4 4 games are known against its 3: one transposition effect.
const std::vector<BookLine> kLines = {
    {"", "e2e4", 10, 0},
    {"", "d2d4", 3, 0},
    {"e2e4", "e7e5", 6, 0},
    {"e2e4", "c7c5", 4, 0},
    {"e2e4 e7e5", "g1f3", 2, 0},
    {"e2e4 e7e5", "f2f4", 1, 0},
    {"e2e4 e7e5 g1f3", "b8c6", 1, 0},
    {"e2e4 c7c5", "g1f3", 4, 0},
    {"e2e4 c7c5 g1f3", "d7d6", 2, 0},
    {"d2d4", "d7d5", 3, 0},
    {"d2d4", "g8f6", 1, 0},
};

// Placement and side of the positions, worked out by hand, with the fixed fields of the list.
const std::string kE4E5Nf3 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b - - 0 0\n";
const std::string kE4E5F4 = "rnbqkbnr/pppp1ppp/8/4p3/4PP2/8/PPPP2PP/RNBQKBNR b - - 0 0\n";
const std::string kE4C5 = "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w - - 0 0\n";
const std::string kD4 = "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b - - 0 0\n";
const std::string kE4E5Nf3Nc6 = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w - - 0 0\n";
const std::string kE4C5Nf3 = "rnbqkbnr/pp1ppppp/8/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R b - - 0 0\n";
const std::string kE4C5Nf3D6 = "rnbqkbnr/pp2pppp/3p4/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R w - - 0 0\n";
const std::string kD4D5 = "rnbqkbnr/ppp1pppp/8/3p4/3P4/8/PPP1PPPP/RNBQKBNR w - - 0 0\n";
const std::string kD4Nf6 = "rnbqkb1r/pppppppp/5n2/8/3P4/8/PPP1PPPP/RNBQKBNR w - - 0 0\n";

// Says "stop" at the given poll (1 is the poll that forgets earlier presses).
class ScriptedEscape final : public platform::EscapePoll {
 public:
  explicit ScriptedEscape(int stopAt = 0) : stopAt_(stopAt) {}
  void begin() override { ++begun; }
  void end() override { ++ended; }
  bool pressed() override { return ++polls == stopAt_; }
  int polls = 0;
  int begun = 0;
  int ended = 0;

 private:
  int stopAt_;
};

std::string analyse(App& app, const std::string& line, platform::EscapePoll& escape) {
  app.console.takeCaptured();
  app.commandLine.split(line);
  analyseBook(app, readBookAnalysisOptions(app.commandLine), escape);
  return app.console.takeCaptured();
}

std::string analyse(App& app, const std::string& line) {
  ScriptedEscape escape;
  return analyse(app, line, escape);
}

std::uint8_t cmtOf(App& app, const char* before, const char* move) {
  setPositionFromFen(app.chess, app.game, kStartPosition);
  std::istringstream moves(before);
  for (std::string m; moves >> m;)
    makeMoveFromSquares(app.chess, app.game, square(m.substr(0, 2)), square(m.substr(2, 2)), app.console);
  const BookKeys keys = app.book.computeBookKeys(app.chess.board, app.chess.board.side);
  const std::string mv = move;
  const std::size_t index = app.book.findBookEntry(keys.key, keys.lock, square(mv.substr(0, 2)), square(mv.substr(2, 2)));
  return index == 0 ? 255 : app.book.entries()[index].cmt;
}

std::unique_ptr<App> appWithEngine(const char* mode, const std::string& input, bool ansi = false) {
  auto app = std::make_unique<App>(Console::capturing(ansi), platform::Input(input));
  setenv("KESTROVA_FAKE_ENGINE", mode, 1);
  app->engine.createEngineClient(test::fakeEnginePath());
  EXPECT_TRUE(app->engine.startEngine(EngineClient::kNormal)) << test::fakeEnginePath();
  return app;
}

TEST(EvaluationClass, BandsOfTheMoversScore) {
  const std::vector<std::pair<int, int>> cases = {
      {INT_MIN, 1}, {-110, 1}, {-109, 2}, {-45, 2}, {-44, 3}, {-35, 3}, {-22, 3}, {-21, 4}, {0, 4},
      {21, 4},      {22, 5},   {44, 5},   {45, 6},  {109, 6}, {110, 7}, {12345, 7}};
  for (const auto& [score, cls] : cases) EXPECT_EQ(evaluationClass(score), cls) << score;
}

TEST(EvaluationClass, SymbolsFromWhitesSide) {
  const char* symbols[] = {"-+", "-/+", "-=", "=", "+=", "+/-", "+-"};
  for (int k = -3; k <= 3; ++k) EXPECT_EQ(classSymbol(k), symbols[k + 3]) << k;
  EXPECT_EQ(classSymbol(4), "");
  EXPECT_EQ(classSymbol(-4), "");
}

TEST(AnabkOptions, RankBecomesAWindowOfRareRuns) {
  struct Case {
    const char* line;
    int lo, hi;
  };
  const std::vector<Case> cases = {{"anabk -occ<5", 0, 1},          {"anabk -rnk=1", 0, 1},
                                   {"anabk -rnk=3", 2, 3},          {"anabk -rnk=0", 0, 0},
                                   {"anabk -rnk=end", 999, 1000},   {"anabk -rnk=all", 1, 1000},
                                   {"anabk -rnk=70000", 65534, 65535}};
  for (const Case& c : cases) {
    CommandLine line;
    line.split(c.line);
    const BookAnalysisOptions options = readBookAnalysisOptions(line);
    EXPECT_EQ(options.rareLo, c.lo) << c.line;
    EXPECT_EQ(options.rareHi, c.hi) << c.line;
  }
}

TEST(AnabkOptions, DefaultsAndLimits) {
  CommandLine line;
  line.split("anabk x");
  BookAnalysisOptions options = readBookAnalysisOptions(line);
  EXPECT_EQ(options.threshold, 1);
  EXPECT_FALSE(options.evalTask);
  EXPECT_EQ(options.ms, 1000);
  EXPECT_EQ(options.maxPly, 14);
  EXPECT_EQ(options.out, "tree.epd");
  EXPECT_FALSE(options.stop || options.showPv || options.ddup || options.vfy || options.dbg);
  line.split("anabk -occ<7 -tsk=eval -ms=250 -ply=300 -stop -showpv -out=mine.epd -ddup -vfy -dbg");
  options = readBookAnalysisOptions(line);
  EXPECT_EQ(options.threshold, 7);
  EXPECT_TRUE(options.evalTask);
  EXPECT_EQ(options.ms, 250);
  EXPECT_EQ(options.maxPly, 99);  // the game takes back no deeper
  EXPECT_EQ(options.out, "mine.epd");
  EXPECT_TRUE(options.stop && options.showPv && options.ddup && options.vfy && options.dbg);
  line.split("anabk -tsk=list");
  EXPECT_FALSE(readBookAnalysisOptions(line).evalTask);
}

TEST(Anabk, WithoutABookSaysSoAndWritesNothing) {
  test::ScratchDir dir;
  auto app = test::makeApp("y\n");
  const std::string out = analyse(*app, "anabk -occ<5");
  EXPECT_EQ(out, "\n> No book in memory. Please load a book before (use 'openbk' command)\n");
  EXPECT_FALSE(dir.exists("tree.epd"));
}

TEST(Anabk, TheDefaultThresholdTreatsNothing) {
  test::ScratchDir dir;
  auto app = test::makeApp("y\n");
  buildBook(*app, kLines);
  const std::string out = analyse(*app, "anabk -ply=14");
  EXPECT_TRUE(has(out, "- no 'anabk.epd' file found. The root position will be the normal starting position\n"));
  EXPECT_TRUE(has(out, "- do you want to start the process ? (y,n) : "));
  EXPECT_TRUE(has(out, "- scanning book from ply = 1 up to ply = 14 (half-moves)\n\n"));
  EXPECT_TRUE(has(out, "\n\n- 11 nodes scanned\n- 5 paths scanned (including transpositions)\n"
                       "- 1 transposition's effects have been encountered (increasing nb of games instead of "
                       "decreasing)\n"))
      << out;
  EXPECT_TRUE(has(out, "- please consult the 'tree.epd' file to see the resulting epd\n"));
  EXPECT_EQ(dir.read("tree.epd"), "");
  EXPECT_FALSE(has(out, "[E]"));
}

TEST(Anabk, TreeTaskListsThePositionsOfTheChosenRareRuns) {
  struct Case {
    const char* options;
    std::string tree;
    int nodes;
    int paths;
  };
  const std::vector<Case> cases = {
      {"-rnk=1", kE4E5Nf3 + kE4E5F4 + kE4C5 + kD4, 11, 5},
      {"-rnk=1 -stop", kE4E5Nf3 + kE4E5F4 + kE4C5 + kD4, 6, 4},
      {"-rnk=2", kE4E5Nf3Nc6 + kE4C5Nf3 + kD4D5 + kD4Nf6, 11, 5},
      {"-rnk=end", kE4E5Nf3Nc6 + kE4E5F4 + kE4C5Nf3D6 + kD4D5 + kD4Nf6, 11, 5},
      // A run of 1 only when the line leaves the book (2.f4), every longer run.
      {"-rnk=all", kE4E5Nf3Nc6 + kE4E5F4 + kE4C5Nf3 + kE4C5Nf3D6 + kD4D5 + kD4Nf6, 11, 5},
      {"-rnk=all -stop", kE4E5Nf3Nc6 + kE4E5F4 + kE4C5Nf3 + kD4D5 + kD4Nf6, 10, 5},
      // Three half-moves deep: 2.Nf3 and 2.f4 are reached, nothing below them.
      {"-rnk=1 -ply=3", kE4E5Nf3 + kE4E5F4 + kE4C5 + kD4, 9, 5},
      {"-rnk=1 -ply=2", kE4C5 + kD4, 6, 4},
  };
  for (const Case& c : cases) {
    test::ScratchDir dir;
    auto app = test::makeApp("y\n");
    buildBook(*app, kLines);
    const std::string out = analyse(*app, std::string("anabk -occ<5 ") + c.options);
    EXPECT_EQ(dir.read("tree.epd"), c.tree) << c.options;
    EXPECT_TRUE(has(out, "\n\n- " + std::to_string(c.nodes) + " nodes scanned\n- " + std::to_string(c.paths) +
                             " paths scanned (including transpositions)\n- 1 transposition's effects"))
        << c.options << "\n"
        << out;
  }
}

TEST(Anabk, EveryRootOfTheRootFileIsWalkedAndAnsweringNoSkipsOne) {
  test::ScratchDir dir;
  // 1.e4 c5 and 1.d4 as roots, and a blank line that is no root.
  dir.write("anabk.epd", "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq c6 0 2\r\n\r\n"
                         "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 1\n"
                         "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 1\n");
  auto app = test::makeApp("y\ny\nn\n");
  buildBook(*app, kLines);
  const std::string out = analyse(*app, "anabk -occ<5 -rnk=1");
  // Rare runs begin anew at each root: below 1.e4 c5 2.Nf3 is the first rare move, below 1.d4
  // its replies are.
  EXPECT_EQ(dir.read("tree.epd"), kE4C5Nf3 + kD4D5 + kD4Nf6);
  EXPECT_EQ(count(out, "- do you want to start the process ? (y,n) : "), 3);
  EXPECT_EQ(count(out, " nodes scanned\n"), 2);
  EXPECT_FALSE(has(out, "- no 'anabk.epd' file found"));
  // The root's book moves are shown as showbk shows them.
  EXPECT_TRUE(has(out, "\n1.g1f3\tn=4\t"));
}

TEST(Anabk, RefusesToOverwriteTheRootFile) {
  test::ScratchDir dir;
  dir.write("anabk.epd", std::string(kStartPosition) + "\n");
  auto app = test::makeApp("y\n");
  buildBook(*app, kLines);
  const std::string out = analyse(*app, "anabk -occ<5 -out=anabk.epd");
  EXPECT_TRUE(has(out, "is read by this command")) << out;
  EXPECT_EQ(dir.read("anabk.epd"), std::string(kStartPosition) + "\n");
}

TEST(Anabk, VerifyWritesLinesWhoseClassChangesByTwo) {
  test::ScratchDir dir;
  auto app = test::makeApp("y\n");
  // Classes from White's side: 1.e4 +=, 1...e5 =, 2.Nf3 +/- (two up from =), 2.f4 += (one up);
  // 1...c5 is +/- for Black: -/+ for White, three down from +=.
  std::vector<BookLine> lines = kLines;
  lines[0].cmt = 5;
  lines[2].cmt = 4;
  lines[3].cmt = 6;
  lines[4].cmt = 6;
  lines[5].cmt = 5;
  buildBook(*app, lines);
  analyse(*app, "anabk -occ<5 -vfy");
  const std::string head = "[Event \"Kestrova's book scanning\"]\n[White \"book's line\"]\n[Black \"\"]\n[Result \"*\"]\n";
  EXPECT_EQ(dir.read("evaluated.pgn"),
            head + "1.e2e4 e7e5 {=} 2.g1f3 {+/-} \n\n" + head + "1.e2e4 {+=} c7c5 {-/+} \n\n");
}

TEST(Anabk, EvalTaskStoresTheClassOfTheMoversScore) {
  test::ScratchDir dir;
  // The engine reports the thinking time as its score: +35 for the side to move.
  auto app = appWithEngine("movetime", "y\nn\n");
  buildBook(*app, kLines);
  const std::string out = analyse(*app, "anabk -occ<5 -rnk=1 -tsk=eval -ms=35 -dbg");
  EXPECT_TRUE(has(out, "- testing engine\n- engine ready\n- press 'ESC' to stop the analyze\n")) << out;
  EXPECT_EQ(count(out, "[E] "), 4);
  EXPECT_TRUE(has(out, "[b/1,+35] "));  // after 1.e4 e5 2.Nf3
  EXPECT_TRUE(has(out, "[w/1,+35] "));  // after 1.e4 c5
  // -35 for the side that played the move: class 3.
  EXPECT_EQ(cmtOf(*app, "e2e4 e7e5", "g1f3"), 3);
  EXPECT_EQ(cmtOf(*app, "e2e4 e7e5", "f2f4"), 3);
  EXPECT_EQ(cmtOf(*app, "e2e4", "c7c5"), 3);
  EXPECT_EQ(cmtOf(*app, "", "d2d4"), 3);
  EXPECT_EQ(cmtOf(*app, "", "e2e4"), 0);
  EXPECT_EQ(cmtOf(*app, "e2e4 e7e5 g1f3", "b8c6"), 0);
  EXPECT_TRUE(has(out, "- do you want to save the evaluations in the current book ? (y,n) : "));
  EXPECT_FALSE(has(out, "- saving the book"));
  EXPECT_FALSE(dir.exists("tree.epd"));
  const std::string head = "[Event \"Kestrova's lines debugging\"]\n[White \"book's line\"]\n[Black \"\"]\n[Result \"*\"]\n";
  const std::string debug = dir.read("anabk-debug.pgn");
  EXPECT_TRUE(has(debug, head + "1.e2e4 {gm=10} e7e5 {gm=6} 2.g1f3 {[b/1,+35]} \n\n")) << debug;
  EXPECT_TRUE(has(debug, head + "1.d2d4 {[b/1,+35]} \n\n")) << debug;
  EXPECT_EQ(count(debug, "[Event "), 4);
}

TEST(Anabk, EvalTaskWithVerifyComparesTheNewClasses) {
  test::ScratchDir dir;
  auto app = appWithEngine("movetime", "y\ny\n");
  buildBook(*app, kLines);
  app->book.fileName = "mine.obk";
  // -rnk=all evaluates 1.e4 c5 2.Nf3 and 2...d6 in a row: class 3 for each mover is -= then +=
  // for White.
  const std::string out = analyse(*app, "anabk -occ<5 -rnk=all -tsk=eval -ms=35 -vfy");
  const std::string verified = dir.read("evaluated.pgn");
  EXPECT_TRUE(has(verified, "1.e2e4 c7c5 2.g1f3 {-=} d7d6 {+=} \n\n")) << verified;
  EXPECT_EQ(count(verified, "[Event "), 1);
  EXPECT_TRUE(has(out, "- saving the book\n- operation complete\n")) << out;
  EXPECT_TRUE(dir.exists("mine.obk"));
}

TEST(Anabk, APositionTheEngineCouldNotEvaluateKeepsItsClass) {
  struct Case {
    const char* mode;
    const char* shown;
  };
  // No score at depth 4; an engine that dies in its first search (depth 0 from then on).
  for (const Case& c : {Case{"noscore", "[b/4,?0] "}, Case{"exits", "[b/0,?0] "}}) {
    test::ScratchDir dir;
    auto app = appWithEngine(c.mode, "y\nn\n", true);
    std::vector<BookLine> lines = kLines;
    lines[4].cmt = 6;  // 2.Nf3
    lines[1].cmt = 2;  // 1.d4
    buildBook(*app, lines);
    const std::string out = analyse(*app, "anabk -occ<5 -rnk=1 -tsk=eval -ms=50");
    EXPECT_TRUE(has(out, std::string("\x1b[0;91m") + c.shown)) << c.mode << "\n" << out;
    EXPECT_EQ(cmtOf(*app, "e2e4 e7e5", "g1f3"), 6) << c.mode;
    EXPECT_EQ(cmtOf(*app, "", "d2d4"), 2) << c.mode;
    EXPECT_EQ(cmtOf(*app, "e2e4", "c7c5"), 0) << c.mode;
  }
}

TEST(Anabk, EvalTaskWithoutAReadyEngineAbandonsTheRoot) {
  test::ScratchDir dir;
  auto app = test::makeApp("y\n");
  buildBook(*app, kLines);
  const std::string out = analyse(*app, "anabk -occ<5 -tsk=eval");
  EXPECT_TRUE(has(out, "- testing engine\n- engine not ready\n- please reload Kestrova with an engine correctly "
                       "mentionned in the kestrova.ini file\n"))
      << out;
  EXPECT_FALSE(has(out, "nodes scanned"));
}

TEST(Anabk, EscapeEndsTheWalkButTheCountersAndTheSaveQuestionFollow) {
  test::ScratchDir dir;
  auto app = appWithEngine("movetime", "y\nn\n");
  buildBook(*app, kLines);
  // Polls: 1 forgets earlier presses, 2 the root, 3 after 1.e4, 4 after 1.e4 e5.
  ScriptedEscape escape(4);
  const std::string out = analyse(*app, "anabk -occ<5 -rnk=1 -tsk=eval -ms=35", escape);
  EXPECT_EQ(escape.polls, 4);
  EXPECT_EQ(escape.begun, 1);
  EXPECT_EQ(escape.ended, 1);
  EXPECT_FALSE(has(out, "[E]"));
  EXPECT_TRUE(has(out, "\n\n- 2 nodes scanned\n- 0 paths scanned (including transpositions)\n")) << out;
  EXPECT_TRUE(has(out, "- do you want to save the evaluations in the current book ? (y,n) : "));
  // The board is back at the root.
  std::string fen;
  writePlacementFen(app->chess.board, app->chess.board.side, fen);
  EXPECT_EQ(fen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 0");
}

}  // namespace
}  // namespace kestrova
