#include "pgn/replay.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "chess/fen.hpp"
#include "pgn/movetext.hpp"
#include "pgn/pgn_commands.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/output_file.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

const char* const kSamples[] = {"a_roundrobin.pgn", "b_gauntlet.pgn", "c_swiss.pgn", "d_match.pgn", "e_setup.pgn"};

struct PlyData {
  std::string san;
  int evaluation, depth, time;
  bool operator==(const PlyData&) const = default;
};

// Every game of the file (e_setup.pgn has games starting with Black to move), read, loaded and replayed.
std::vector<std::vector<PlyData>> replayAll(App& app, const std::string& file, int* games) {
  std::vector<std::vector<PlyData>> result;
  EXPECT_TRUE(app.pgn.open(file));
  *games = 0;
  while (app.pgn.readNextGame(app.console) != PgnFile::kEnd) {
    ++*games;
    EXPECT_EQ(startGame(app, true), 1);
    EXPECT_EQ(replayGame(app, 0), 1) << file << " game " << *games;
    std::vector<PlyData> plies;
    for (int n = app.game.firstPly(); n <= app.game.plyCount; ++n) {
      const PlyRecord& p = app.game.plies[n];
      plies.push_back({p.san, p.evaluation, p.depth, p.time});
    }
    result.push_back(plies);
  }
  return result;
}

TEST(SampleGames, ReadLoadAndReplayWithoutAWarningAndSurviveWritingBack) {
  test::ScratchDir dir;
  for (const char* sample : kSamples) {
    SCOPED_TRACE(sample);
    dir.write(sample, test::sourceFile(std::string("tests/data/samples/") + sample));
    auto app = test::makeApp();
    app->settings.printCmt = 2;
    int games = 0;
    const auto original = replayAll(*app, sample, &games);
    EXPECT_EQ(app->console.takeCaptured(), "");
    EXPECT_GE(games, 10);

    // Written back with every tag and the evaluation comments, the games read back the same.
    for (int i = 0; i < TagTable::kEntries; ++i) app->game.tags.setOutputEnabled(i, true);
    {
      platform::OutputFile out;
      ASSERT_TRUE(out.create("written.pgn"));
      app->pgn.rewind();
      while (app->pgn.readNextGame(app->console) != PgnFile::kEnd) {
        startGame(*app, true);
        ASSERT_EQ(replayGame(*app, 0), 1);
        writePgn(app->game, app->pgn, out, 2);
      }
    }
    int rereadGames = 0;
    const auto reread = replayAll(*app, "written.pgn", &rereadGames);
    EXPECT_EQ(app->console.takeCaptured(), "");
    EXPECT_EQ(rereadGames, games);
    EXPECT_EQ(reread, original);
  }
}

class CountingHooks : public ReplayHooks {
 public:
  void runMoveRules(App&, int ply) override { moves.push_back(ply); }
  void runGameEndRules(App&, int lastPly) override { ends.push_back(lastPly); }
  void matchEpdAfterPly(App&, int ply) override { epd.push_back(ply); }
  std::vector<int> moves, ends, epd;
};

class Replaying : public ::testing::Test {
 protected:
  void load(const std::string& movetext, const std::string& tags = "[Event \"E\"]\n") {
    dir.write("g.pgn", tags + "\n" + movetext + "\n\n");
    ASSERT_TRUE(app->pgn.open("g.pgn"));
    ASSERT_EQ(app->pgn.readNextGame(app->console), PgnFile::kGame);
    startGame(*app, true);
    app->console.takeCaptured();
  }
  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
};

TEST_F(Replaying, HooksFollowTheirFlagsAndEndRulesRunForAGameWithoutMoves) {
  load("1. e4 e5 2. Nf3 *");
  CountingHooks hooks;
  EXPECT_EQ(replayGame(*app, replay::kMoveRules | replay::kGameEndRules, &hooks), 1);
  EXPECT_EQ(hooks.moves, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(hooks.ends, (std::vector<int>{3}));
  EXPECT_TRUE(hooks.epd.empty());
  startGame(*app, true);
  CountingHooks epd;
  replayGame(*app, replay::kEpdSearch, &epd);
  EXPECT_EQ(epd.epd, (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(epd.moves.empty());
  load("1-0");
  CountingHooks none;
  EXPECT_EQ(replayGame(*app, replay::kMoveRules | replay::kGameEndRules, &none), 1);
  EXPECT_TRUE(none.moves.empty());
  EXPECT_EQ(none.ends, (std::vector<int>{0}));
}

TEST_F(Replaying, PositionTextsAndHalfMoveClock) {
  load("1. e4 Nf6 2. Nc3 Ng8 3. Nb1 *");
  replayGame(*app, 0);
  EXPECT_EQ(app->chess.previousFen, "rnbqkbnr/pppppppp/8/8/4P3/2N5/PPPP1PPP/R1BQKBNR w KQkq - 0 0;");
  EXPECT_EQ(app->chess.currentFen, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 0;");
  EXPECT_EQ(app->game.halfMoveClock, 4);  // four quiet moves after the pawn move
  EXPECT_EQ(app->game.previousHalfMoveClock, 3);
  EXPECT_EQ(app->game.maxHalfMoveClock, 4);
}

TEST_F(Replaying, UnreadableMoveEndsTheReplayWithItsMessage) {
  load("1. e4 e5 2. Ke3 *");
  EXPECT_EQ(replayGame(*app, 0), 0);
  EXPECT_EQ(app->console.takeCaptured(),
            "> can't read the string Ke3. Check this move or the previous ones. Game skipped\n");
}

TEST_F(Replaying, IllegalPositionWarnsTheSideThatDidNotLose) {
  // 3.Ke3 walks into the bishop's diagonal.
  for (const auto& [result, warned] : {std::pair{"1/2-1/2", true}, {"0-1", false}}) {
    load("1. e4 e5 2. Ke2 Bc5 3. Ke3 *", std::string("[White \"W\"]\n[Black \"B\"]\n[Result \"") + result + "\"]\n");
    EXPECT_EQ(replayGame(*app, 0), 0);
    const std::string out = app->console.takeCaptured();
    const std::string found = "1:>illegal position found after 3.Ke3 !" + std::string(18, ' ') + "[W-B, " + result + "]\n";
    EXPECT_NE(out.find(found), std::string::npos) << out;
    EXPECT_EQ(out.find(found + "    Warning !, W should have lost due to illegal move\n") != std::string::npos, warned)
        << out;
    EXPECT_EQ(out.find("Warning") != std::string::npos, warned) << out;
  }
}

TEST_F(Replaying, ReplayToStopsBeforeTheTargetOrAtTheEnd) {
  load("1. e4 e5 2. Nf3 *");
  EXPECT_EQ(replayTo(*app, 2), 2);
  EXPECT_EQ(app->chess.currentFen, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 0;");
  startGame(*app, true);
  EXPECT_EQ(replayTo(*app, 99), 4);
  startGame(*app, true);
  EXPECT_EQ(replayTo(*app, 1), 1);
  EXPECT_EQ(app->chess.board.mailbox[52], kPawn) << "e2 still holds its pawn";
}

TEST_F(Replaying, TakeBackUsesThePositionHistory) {
  setPositionFromFen(app->chess, app->game, kStartPosition);
  EXPECT_EQ(takeBack(*app), 0);
  EXPECT_EQ(app->console.takeCaptured(), "\n> start position\n");
  app->game.currentPly = 120;
  EXPECT_EQ(takeBack(*app), 0);
  EXPECT_EQ(app->console.takeCaptured(), "\n> too many moves. Can't take back\n");
}

}  // namespace
}  // namespace kestrova
