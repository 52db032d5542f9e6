#include "engine/engine_commands.hpp"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "chess/fen.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

const std::string kFakeEngine = KESTROVA_FAKE_ENGINE;
const std::string kRed = "\x1b[0;91m";  // attribute 12

// Three games: 32 men all along; 32 men down to 30 after two captures; a set-up position with
// Black to move and 3 men.
const std::string kGames =
    "[Event \"T\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n"
    "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 1-0\n\n"
    "[Event \"T\"]\n[White \"B\"]\n[Black \"A\"]\n[Result \"0-1\"]\n\n"
    "1. e4 d5 2. exd5 Qxd5 3. Nc3 Qa5 0-1\n\n"
    "[Event \"T\"]\n[White \"C\"]\n[Black \"D\"]\n[Result \"1/2-1/2\"]\n[SetUp \"1\"]\n"
    "[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\n\n"
    "1... Kd7 2. e4 Ke6 1/2-1/2\n\n";

// The positions of the three games, worked out by hand.
const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -\n";
const char* const kSetUp = "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\n";
const char* const kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq ";
const char* const kAfterE4E5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq ";
const char* const kAfterE4D5 = "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq ";
const char* const kAfterKd7 = "8/3k4/8/8/8/8/4P3/4K3 w - ";
const char* const kFinal1 = "r1bqkbnr/1ppp1ppp/p1n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq ";
const char* const kFinal2 = "rnb1kbnr/ppp1pppp/8/q7/8/2N5/PPPP1PPP/R1BQKBNR w KQkq ";
const char* const kFinal3 = "8/8/4k3/8/4P3/8/8/4K3 w - ";

// An application with the games open and the fake engine running in the given mode.
std::unique_ptr<App> appWithEngine(const char* mode, const std::string& games = kGames, bool ansi = false) {
  auto app = std::make_unique<App>(Console::capturing(ansi), platform::Input(""));
  for (int i = 0; i < TagTable::kEntries; ++i) app->game.tags.setOutputEnabled(i, true);
  setPositionFromFen(app->chess, app->game, kStartPosition);
  std::FILE* file = std::fopen("games.pgn", "wb");
  std::fputs(games.c_str(), file);
  std::fclose(file);
  EXPECT_TRUE(app->pgn.open("games.pgn"));
  if (mode != nullptr) {
    setenv("KESTROVA_FAKE_ENGINE", mode, 1);
    app->engine.createEngineClient(kFakeEngine);
    EXPECT_TRUE(app->engine.startEngine(EngineClient::kNormal));
  }
  return app;
}

// The Annotator values of the games of a PGN text, in order.
std::vector<std::string> annotators(const std::string& pgn) {
  std::vector<std::string> values;
  const std::string prefix = "[Annotator \"";
  for (std::size_t at = pgn.find(prefix); at != std::string::npos; at = pgn.find(prefix, at + 1)) {
    const std::size_t start = at + prefix.size();
    values.push_back(pgn.substr(start, pgn.find('"', start) - start));
  }
  return values;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Vfilt, SortsTheGamesByTheValueWithBothBoundsInside) {
  struct Case {
    const char* options;
    std::vector<std::string> accepted;
    std::vector<std::string> rejected;
  };
  // The fake engine's value is the number of men: 32, 30 and 3 in the final positions.
  const Case cases[] = {
      {"-minval=30 -maxval=32",
       {"game 1, depth=1 val=32 filter=[30/32] status=accepted",
        "game 2, depth=1 val=30 filter=[30/32] status=accepted"},
       {"game 3, depth=1 val=3 filter=[30/32] status=rejected"}},
      {"-minval=31 -maxval=31 -ply=last",
       {},
       {"game 1, depth=1 val=32 filter=[31/31] status=rejected",
        "game 2, depth=1 val=30 filter=[31/31] status=rejected",
        "game 3, depth=1 val=3 filter=[31/31] status=rejected"}},
      {"",  // [-80/80]
       {"game 1, depth=1 val=32 filter=[-80/80] status=accepted",
        "game 2, depth=1 val=30 filter=[-80/80] status=accepted",
        "game 3, depth=1 val=3 filter=[-80/80] status=accepted"},
       {}},
      {"-ply=1 -minval=3 -maxval=+31 -out=kept.pgn",  // start positions: 32, 32 and 3 men
       {"game 3, depth=1 val=3 filter=[3/31] status=accepted"},
       {"game 1, depth=1 val=32 filter=[3/31] status=rejected",
        "game 2, depth=1 val=32 filter=[3/31] status=rejected"}},
      // A status that would not fit a tag value loses the window, never its end; 69 characters
      // (game 3) still fit.
      {"-minval=-2000000000 -maxval=2000000000",
       {"game 1, depth=1 val=32 status=accepted", "game 2, depth=1 val=30 status=accepted",
        "game 3, depth=1 val=3 filter=[-2000000000/2000000000] status=accepted"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    test::ScratchDir dir;
    auto app = appWithEngine("men");
    const std::string out = contains(c.options, "-out=") ? "kept.pgn" : "pgn-out.pgn";
    const std::string printed = test::run(*app, std::string("vfilt -time=60 ") + c.options);
    EXPECT_EQ(annotators(dir.read(out)), c.accepted);
    EXPECT_EQ(annotators(dir.read("vfilt.pgn")), c.rejected);
    EXPECT_TRUE(contains(printed, "\r- this pgn file has 3 games\n"));
    EXPECT_TRUE(contains(printed, "\n- 3 games have been verified\n"));
    EXPECT_TRUE(contains(printed, "> " + std::to_string(c.accepted.size()) + " accepted games saved in the '" +
                                      out + "' file\n> " + std::to_string(c.rejected.size()) +
                                      " rejected games saved in the 'vfilt.pgn' file\n"))
        << printed;
    EXPECT_TRUE(contains(printed, "- 3 of 3 games / " + std::to_string(c.rejected.size()) +
                                      " games rejected until now\n\n"));
    EXPECT_TRUE(contains(printed, "- depth, value and status have been written in all pgn 'ANNOTATOR' fields\n"));
  }
}

TEST(Vfilt, WritesTheGamesWholeWithTheirTagsAndSaysWhenAnnotatorIsOff) {
  test::ScratchDir dir;
  auto app = appWithEngine("men");
  test::run(*app, "vfilt -time=60 -minval=30 -maxval=32");
  EXPECT_EQ(dir.read("vfilt.pgn"),
            "[Event \"T\"]\n[White \"C\"]\n[Black \"D\"]\n[Result \"1/2-1/2\"]\n"
            "[Annotator \"game 3, depth=1 val=3 filter=[30/32] status=rejected\"]\n[SetUp \"1\"]\n"
            "[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\n\n1...Kd7 2.e4 Ke6 1/2-1/2\n\n");
  app->game.tags.setOutputEnabled(kTagAnnotator, false);
  const std::string printed = test::run(*app, "vfilt -time=40");
  EXPECT_FALSE(contains(printed, "have been written in all pgn 'ANNOTATOR' fields"));
  EXPECT_TRUE(contains(printed, "> the Annotator tag is not enabled for output in kestrova.ini"));
}

TEST(Vfilt, PlyChoosesThePositionBeforeThatHalfMove) {
  struct Case {
    const char* ply;
    std::vector<std::string> positions;
  };
  const Case cases[] = {
      {"1", {kStart, kStart, kSetUp}},
      {"2", {kAfterE4, kAfterE4, kSetUp}},  // the set-up game has no half-move 1
      {"3", {kAfterE4E5, kAfterE4D5, kAfterKd7}},
      {"last", {kFinal1, kFinal2, kFinal3}},
      {"7", {kFinal1, kFinal2, kFinal3}},  // one after the last half-move of every game
      {"100", {kFinal1, kFinal2, kFinal3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ply);
    test::ScratchDir dir;
    auto app = appWithEngine("men");
    const std::string printed = test::run(*app, std::string("vfilt -time=40 -ply=") + c.ply);
    std::size_t at = 0;
    for (const std::string& position : c.positions) {
      // Each position follows its diagram on a line of its own.
      at = printed.find("\n" + position, at);
      ASSERT_NE(at, std::string::npos) << position << "\n" << printed;
      ++at;
    }
  }
}

TEST(Vfilt, EachGameIsOnDiskBeforeTheNextIsAnalysedAndMateScoresAreNoValue) {
  // The engine counts the games written so far each time it is asked.
  test::ScratchDir dir;
  auto app = appWithEngine("files");
  test::run(*app, "vfilt -time=60 -minval=1");
  EXPECT_EQ(annotators(dir.read("pgn-out.pgn")),
            (std::vector<std::string>{"game 2, depth=1 val=1 filter=[1/80] status=accepted",
                                      "game 3, depth=1 val=2 filter=[1/80] status=accepted"}));
  EXPECT_EQ(annotators(dir.read("vfilt.pgn")),
            (std::vector<std::string>{"game 1, depth=1 val=0 filter=[1/80] status=rejected"}));
  // An engine with only mate scores gives the missing value.
  auto mate = appWithEngine("mate");
  test::run(*mate, "vfilt -time=60");
  EXPECT_EQ(annotators(dir.read("pgn-out.pgn")), std::vector<std::string>{});
  EXPECT_EQ(annotators(dir.read("vfilt.pgn")).at(0), "game 1, depth=3 val=12345 filter=[-80/80] status=rejected");
}

TEST(Vfilt, WithoutAnEngineVfiltWritesNothingAndAskngSaysWhy) {
  test::ScratchDir dir;
  dir.write("pgn-out.pgn", "kept\n");
  auto app = appWithEngine(nullptr, kGames, true);
  const std::string printed = test::run(*app, "vfilt -time=10");
  EXPECT_EQ(printed, "\n" + kRed + "> no chess engine running (see engineFile in kestrova.ini)\n\x1b[0m");
  EXPECT_EQ(dir.read("pgn-out.pgn"), "kept\n");
  EXPECT_FALSE(dir.exists("vfilt.pgn"));
  auto plain = appWithEngine(nullptr);
  EXPECT_EQ(test::run(*plain, "askng -scroll"),
            std::string(kStart) + "> no chess engine running (see engineFile in kestrova.ini)\n");
}

TEST(Vfilt, NeverWritesOverAFileItReadsOrMixesItsTwoFiles) {
  for (const char* options : {"-out=games.pgn", "-out=vfilt.pgn", "-out=./vfilt.pgn"}) {
    SCOPED_TRACE(options);
    test::ScratchDir dir;
    dir.write("vfilt.pgn", "old\n");
    auto app = appWithEngine("men");
    const std::string printed = test::run(*app, std::string("vfilt -time=10 ") + options);
    EXPECT_EQ(dir.read("games.pgn"), kGames);
    EXPECT_EQ(dir.read("vfilt.pgn"), "old\n");
    EXPECT_FALSE(contains(printed, "counting"));
  }
  // The open file may itself be an earlier vfilt.pgn.
  test::ScratchDir dir;
  auto app = appWithEngine("men");
  dir.write("vfilt.pgn", kGames);
  ASSERT_TRUE(app->pgn.open("vfilt.pgn"));
  const std::string printed = test::run(*app, "vfilt -time=10");
  EXPECT_TRUE(contains(printed, "\n> \"vfilt.pgn\" is read by this command: it can't be its output file\n"));
  EXPECT_EQ(dir.read("vfilt.pgn"), kGames);
  EXPECT_FALSE(dir.exists("pgn-out.pgn"));
}

TEST(Vfilt, AGameWhoseMovesCannotBeReplayedIsInNeitherFile) {
  const std::string games = kGames + "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 2. Ke3 Nc6 *\n\n";
  test::ScratchDir dir;
  auto app = appWithEngine("men", games);
  std::string printed = test::run(*app, "vfilt -time=40");
  EXPECT_TRUE(contains(printed, "> game 4 skipped: written to neither file\n"));
  EXPECT_TRUE(contains(printed, "\n- 3 games have been verified\n"));
  EXPECT_TRUE(contains(printed, "> 1 games could not be read and are in neither file\n"));
  EXPECT_EQ(annotators(dir.read("pgn-out.pgn")).size(), 3u);
  EXPECT_EQ(annotators(dir.read("vfilt.pgn")).size(), 0u);
  // Before the faulty half-move the game is judged as any other.
  printed = test::run(*app, "vfilt -time=40 -ply=3 -out=early.pgn");
  EXPECT_TRUE(contains(printed, "\n- 4 games have been verified\n"));
  EXPECT_EQ(annotators(dir.read("early.pgn")).size(), 4u);
}

TEST(Vfilt, StopsWhenTheEngineDies) {
  test::ScratchDir dir;
  auto app = appWithEngine("exits");
  const pid_t pid = app->engine.processId();
  const std::string printed = test::run(*app, "vfilt -time=1000");
  EXPECT_TRUE(contains(printed, "\n- engine not ready\n"));
  EXPECT_TRUE(contains(printed, "> the chess engine has stopped: game 1 and the following ones are not filtered\n"));
  EXPECT_TRUE(contains(printed, "\n- 0 games have been verified\n"));
  EXPECT_FALSE(contains(printed, "- 1 of 3 games"));
  EXPECT_EQ(dir.read("pgn-out.pgn"), "");
  EXPECT_EQ(dir.read("vfilt.pgn"), "");
  EXPECT_FALSE(app->engine.running());
  EXPECT_TRUE(kill(pid, 0) == -1 && errno == ESRCH);  // not even a zombie
}

TEST(FilterStatus, TheLongestTextStillFitsATagValue) {
  const std::string longest = filterStatus(4294967295u, 99, -2147483647 - 1, -2147483647 - 1, 2147483647, false);
  EXPECT_EQ(longest, "game 4294967295, depth=99 val=-2147483648 status=rejected");
  EXPECT_LE(longest.size(), TagTable::kValueLength);
  EXPECT_EQ(filterStatus(1234, 12, -35, -2000000, 2000000, true),
            "game 1234, depth=12 val=-35 filter=[-2000000/2000000] status=accepted");  // 69: whole
  EXPECT_EQ(filterStatus(12345, 12, -35, -2000000, 2000000, true), "game 12345, depth=12 val=-35 status=accepted");
}

TEST(Askng, ShowsThePositionAndTheEngineThinking) {
  test::ScratchDir dir;
  const std::string overwrite = "\r" + std::string(78, ' ') + "\r";
  auto app = appWithEngine("movetime");
  // The time is kept in 16 bits: 65586 is 50 ms, which the engine gives back as its value.
  EXPECT_EQ(test::run(*app, "askng -time=65586 -hash=16"),
            std::string(kStart) + overwrite + "d=1\tv=50\ta2a3\n");
  EXPECT_EQ(test::run(*app, "askng -scroll -time=40"), std::string(kStartPosition) + "\nd=1\tv=40\ta2a3\n");
}

}  // namespace
}  // namespace kestrova
