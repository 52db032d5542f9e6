// vfilt and askng with the scripted engine.
#include "engine/engine_commands.hpp"

#include <gtest/gtest.h>

#include <signal.h>

#include <cerrno>
#include <climits>
#include <regex>

#include "engine/info_parser.hpp"
#include "platform/interrupt.hpp"
#include "shell/command_loop.hpp"
#include "support/engines.hpp"
#include "support/test_app.hpp"
#include "support/text.hpp"

namespace kestrova {
namespace {

using test::has;

// Three games: 32 men all along; 32 men down to 30 after two captures; a set-up position with
// Black to move and 3 men.
const std::string kGames =
    "[Event \"T\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 1-0\n\n"
    "[Event \"T\"]\n[White \"B\"]\n[Black \"A\"]\n[Result \"0-1\"]\n\n1. e4 d5 2. exd5 Qxd5 3. Nc3 Qa5 0-1\n\n"
    "[Event \"T\"]\n[White \"C\"]\n[Black \"D\"]\n[Result \"1/2-1/2\"]\n[SetUp \"1\"]\n"
    "[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\n\n1... Kd7 2. e4 Ke6 1/2-1/2\n\n";

std::string setUp(const std::string& fen) {
  return "[Event \"T\"]\n[Result \"*\"]\n[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n\n*\n\n";
}

// The three games; 4: an illegal move; set-up positions with 5: no black king, 6: two white kings,
// 7: White to move with Black in check.
const std::string kMixed = kGames + "[Event \"T\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Ke3 1-0\n\n" +
                           setUp("8/8/8/8/8/8/4P3/4K3 w - - 0 1") + setUp("4k3/8/8/8/8/8/8/KK6 w - - 0 1") +
                           setUp("4k3/8/8/8/8/8/8/4R1K1 w - - 0 1");

// The games open and the scripted engine running in the mode.
std::unique_ptr<App> appWithEngine(const test::ScratchDir& dir, const char* mode, const std::string& pgn = kGames) {
  auto app = test::makeApp();
  for (int i = 0; i < TagTable::kEntries; ++i) app->game.tags.setOutputEnabled(i, true);
  dir.write("games.pgn", pgn);
  EXPECT_TRUE(app->pgn.open("games.pgn"));
  setenv("KESTROVA_FAKE_ENGINE", mode, 1);
  app->engine.createEngineClient(test::fakeEnginePath());
  EXPECT_TRUE(app->engine.startEngine(EngineClient::kNormal));
  return app;
}

// The games of a file by their Annotator tags, as "number value [window], ".
std::string games(const std::string& pgn) {
  static const std::regex annotator(
      "Annotator \"game ([0-9]+), depth=1 val=([0-9]+)( filter=(\\[[-0-9/]+\\]))? status=");
  std::string text;
  for (std::sregex_iterator it(pgn.begin(), pgn.end(), annotator), end; it != end; ++it)
    text += (*it)[1].str() + " " + (*it)[2].str() + ((*it)[4].matched ? " " + (*it)[4].str() : "") + ", ";
  return text;
}

TEST(Vfilt, SortsTheGamesByTheValueOfThePositionBeforeTheHalfMoveWithBothBoundsInside) {
  // The scripted engine's value is the number of men: 32, 30 and 3 at the end, 32, 32 and 3 at the start.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"-minval=30 -maxval=32", "1 32 [30/32], 2 30 [30/32], ", "3 3 [30/32], "},
      {"-ply=1 -minval=3 -maxval=+31 -out=kept.pgn", "3 3 [3/31], ", "1 32 [3/31], 2 32 [3/31], "},
      {"-ply=last", "1 32 [-80/80], 2 30 [-80/80], 3 3 [-80/80], ", ""},
      // A status that would not fit a tag value loses the window, never its end; 69 characters fit.
      {"-minval=-2000000000 -maxval=2000000000", "1 32, 2 30, 3 3 [-2000000000/2000000000], ", ""}};
  for (const auto& [options, accepted, rejected] : cases) {
    test::ScratchDir dir;
    const std::string out = has(options, "-out=") ? "kept.pgn" : "pgn-out.pgn";
    const std::string printed = test::run(*appWithEngine(dir, "men"), "vfilt -time=60 " + options);
    EXPECT_EQ(games(dir.read(out)) + "| " + games(dir.read("vfilt.pgn")), accepted + "| " + rejected) << options;
    const std::string counts = std::to_string(test::count(accepted, ",")) + " accepted games saved in the '" + out +
                               "' file\n> " + std::to_string(test::count(rejected, ",")) + " rejected games saved";
    EXPECT_TRUE(has(printed, "> counting games\n- this pgn file has 3 games\n") && has(printed, "not analysed)\n> " + counts)) << printed;
  }
  // The positions before half-move 3 (counted from the game's start: the set-up game, which begins
  // with Black, before 2...Ke6), each on a line of its own after its diagram, worked out by hand.
  test::ScratchDir dir;
  auto app = appWithEngine(dir, "men");
  std::size_t at = 0;
  const std::string printed = test::run(*app, "vfilt -time=40 -ply=3");
  for (const char* position : {"rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq ",
                               "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq ", "8/3k4/8/8/4P3/8/8/4K3 b - e3 "})
    EXPECT_NE(at = printed.find("\n" + std::string(position), at), std::string::npos) << position << printed;
  // The lowest centipawn value, 1000000 - 10000 - 1 below zero, and the deepest depth give the longest status.
  EXPECT_EQ(filterStatus(4294967295u, 2147483647, -989999, INT_MIN, INT_MAX, false),
            "game 4294967295, depth=2147483647 val=-989999 status=rejected") << "the longest status fits a tag value";
  EXPECT_EQ(filterStatus(7, 0, mateValue(0), -80, 80, false), "game 7, depth=0 val=-M0 filter=[-80/80] status=rejected");
}

TEST(Vfilt, AnEngineWithoutAScoreLeavesTheGameNotAnalysed) {
  test::ScratchDir dir;
  test::run(*appWithEngine(dir, "noscore"), "vfilt -time=60");
  EXPECT_TRUE(has(dir.read("vfilt.pgn"), "[Annotator \"game 1, status=not analysed: the engine gave no score\"]"));
}

TEST(Vfilt, NeverWritesOverAFileItReadsNorMixesItsTwoFiles) {
  for (const char* options : {"-out=games.pgn", "-out=vfilt.pgn", "-out=./vfilt.pgn", ""}) {
    test::ScratchDir dir;
    auto app = appWithEngine(dir, "men");
    dir.write("vfilt.pgn", kGames);
    ASSERT_TRUE(options[0] != '\0' || app->pgn.open("vfilt.pgn"));  // the open file is an earlier vfilt.pgn
    EXPECT_FALSE(has(test::run(*app, std::string("vfilt -time=10 ") + options), "counting")) << options;
    EXPECT_TRUE(dir.read("games.pgn") == kGames && dir.read("vfilt.pgn") == kGames && !dir.exists("pgn-out.pgn"));
  }
}

// The statuses of a file's games, "number status; " each.
std::string statuses(const std::string& pgn) {
  static const std::regex annotator("Annotator \"game ([0-9]+), (depth=[0-9]+ val=[0-9]+ (filter=\\S+ )?)?status=([^\"]+)");
  std::string text;
  for (std::sregex_iterator it(pgn.begin(), pgn.end(), annotator), end; it != end; ++it)
    text += (*it)[1].str() + " " + (*it)[4].str() + "; ";
  return text;
}

TEST(Vfilt, PutsEveryGameReadInOneFileWhetherOrNotTheEngineCouldJudgeIt) {
  const std::string unsent = "4 not analysed: unreadable or illegal; 5 not analysed: no king; "
                             "6 not analysed: more than one king of a side; 7 not analysed: side not to move in check; ";
  const std::string stopped = "1 not analysed: the engine has stopped; 2 not analysed: the engine has stopped; "
                              "3 not analysed: the engine has stopped; ";
  // Mode, games accepted, restarts, positions sent. An engine that dies or hangs is started again
  // once and given the game again; one that fails again is given up.
  const std::tuple<const char*, bool, int, int> cases[] = {
      {"men", true, 0, 3}, {"dies:1", true, 2, 5}, {"hangs:2", true, 1, 4}, {"dies:0", false, 1, 2}};
  setenv("KESTROVA_FAKE_ENGINE_LOG", "sent.txt", 1);
  for (const auto& [mode, accepted, restarts, sent] : cases) {
    test::ScratchDir dir;
    const std::string printed = test::run(*appWithEngine(dir, mode, kMixed), "vfilt -time=30");
    EXPECT_EQ(statuses(dir.read("pgn-out.pgn")), accepted ? "1 accepted; 2 accepted; 3 accepted; " : "") << mode;
    EXPECT_EQ(statuses(dir.read("vfilt.pgn")), (accepted ? "" : stopped) + unsent) << mode;
    EXPECT_TRUE(has(printed, accepted ? "- 7 games read: 3 accepted, 4 rejected (4 of them not analysed)\n"
                                      : "- 7 games read: 0 accepted, 7 rejected (7 of them not analysed)\n"))
        << printed;
    EXPECT_EQ(test::count(printed, ": starting it again\n"), restarts) << mode;
    // Only the positions of the first three games, each once per engine that was given it.
    EXPECT_EQ(test::count(dir.read("sent.txt"), "position fen "), sent) << mode;
    EXPECT_TRUE(has(dir.read("vfilt.pgn"), "\"]\n\n1. e4 e5 2. Ke3 1-0\n\n") && !has(dir.read("sent.txt"), " w - - 0 1")) << mode;
  }
  unsetenv("KESTROVA_FAKE_ENGINE_LOG");
}

TEST(EngineCommands, CtrlCStopsTheAnalysisAndTheCommandAndLeavesTheEngineUsable) {
  platform::catchInterrupts();
  test::ScratchDir dir;
  // The scripted engine sends Ctrl-C as it starts thinking; a full search would take a minute.
  auto app = appWithEngine(dir, "interrupt");
  const pid_t engine = app->engine.processId();
  const std::string printed = test::run(*app, "vfilt -time=60000");
  EXPECT_TRUE(has(printed, "> interrupted by Ctrl-C after 1 games\n\n- 1 games read: 0 accepted, 1 rejected")) << printed;
  EXPECT_EQ(statuses(dir.read("pgn-out.pgn")) + statuses(dir.read("vfilt.pgn")), "1 not analysed: interrupted by Ctrl-C; ");
  platform::clearInterrupt();
  EXPECT_TRUE(has(test::run(*app, "askng -time=60000"), "\n> analysis stopped by Ctrl-C\n"));
  platform::clearInterrupt();
  platform::Timers timers;
  EXPECT_TRUE(app->engine.processId() == engine && waitReady(app->engine, timers, 10000)) << "the same engine, ready";
}

TEST(EngineCommands, TheEngineEndsWithTheProgramAtTheEndOfInputOrOfABatchEvenOneStoppedByCtrlC) {
  platform::catchInterrupts();
  for (const auto& [mode, batch, status] : {std::tuple{"men", false, 0}, {"men", true, 0}, {"interrupt", true, 130}}) {
    test::ScratchDir dir;
    auto app = appWithEngine(dir, mode);
    const pid_t engine = app->engine.processId();
    const std::vector<std::string> words = {"vfilt", status == 0 ? "-time=20" : "-time=60000"};
    EXPECT_EQ(batch ? runBatch(*app, words) : runInteractive(*app), status) << mode;
    EXPECT_TRUE(kill(engine, 0) == -1 && errno == ESRCH) << mode;
  }
  platform::clearInterrupt();
}

}  // namespace
}  // namespace kestrova
